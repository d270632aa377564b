#include "export/VttOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "compose/PaperRock.h"

namespace qm {

TVttOptionsDialog::TVttOptionsDialog(QWidget* parent, const TVttOptions& start) : QDialog(parent) {
    setObjectName(QStringLiteral("VttOptionsDialog"));
    setWindowTitle(QStringLiteral("Export Virtual Tabletop Map"));
    TargetCombo = new QComboBox(this);
    TargetCombo->setObjectName(QStringLiteral("TargetCombo"));
    for (const TVttTargetInfo& t : VttTargets()) TargetCombo->addItem(QString::fromUtf8(t.Name));
    TargetCombo->setCurrentIndex(int(start.Target));
    PixelsPerCellEdit = new QSpinBox(this);
    PixelsPerCellEdit->setObjectName(QStringLiteral("PixelsPerCellEdit"));
    PixelsPerCellEdit->setRange(MinVttPixelsPerCell, MaxVttPixelsPerCell);
    PixelsPerCellEdit->setValue(start.PixelsPerCell);
    PixelsPerCellEdit->setToolTip(QStringLiteral("%1 to %2 pixels; a whole map stays within 16384 pixels a side")
                                      .arg(MinVttPixelsPerCell)
                                      .arg(MaxVttPixelsPerCell));
    IncludeHiddenCheck = new QCheckBox(QStringLiteral("Include hidden symbols"), this);
    IncludeHiddenCheck->setObjectName(QStringLiteral("IncludeHiddenCheck"));
    IncludeHiddenCheck->setChecked(start.IncludeHidden);

    // Picking a tabletop picks its usual cell size; the size can still be changed after.
    connect(TargetCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i < int(VttTargets().size()))
            PixelsPerCellEdit->setValue(VttTargets()[size_t(i)].DefaultPixelsPerCell);
    });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tabletop:"), TargetCombo);
    form->addRow(QStringLiteral("Pixels per cell:"), PixelsPerCellEdit);
    form->addRow(IncludeHiddenCheck);
    RockCombo = new QComboBox(this);
    RockCombo->setObjectName(QStringLiteral("RockCombo"));
    for (const TRockChoice& c : RockChoices) RockCombo->addItem(QString::fromLatin1(c.Text));
    RockCombo->setCurrentIndex(std::clamp(start.Rock, 0, RockCombo->count() - 1));
    RockCombo->setToolTip(
        QStringLiteral("Solid rock of walls and mountains in the picture: as drawn, as white paper "
                       "with a hatched band along the walls, or all white"));
    form->addRow(QStringLiteral("Rock:"), RockCombo);
    RoomNumbersCheck = new QCheckBox(QStringLiteral("Room numbers"), this);
    RoomNumbersCheck->setObjectName(QStringLiteral("RoomNumbersCheck"));
    RoomNumbersCheck->setToolTip(
        QStringLiteral("Draw the map key's numbers over their rooms (the game master's copy)"));
    RoomNumbersCheck->setChecked(start.RoomNumbers && start.Key);
    RoomNumbersCheck->setEnabled(start.Key != nullptr);
    form->addRow(RoomNumbersCheck);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("VttButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

TVttOptions TVttOptionsDialog::Options() const {
    TVttOptions o;
    o.Target = VttTargets()[size_t(std::max(TargetCombo->currentIndex(), 0))].Target;
    o.PixelsPerCell = PixelsPerCellEdit->value();
    o.IncludeHidden = IncludeHiddenCheck->isChecked();
    o.Rock = std::max(0, RockCombo->currentIndex());
    o.RoomNumbers = RoomNumbersCheck->isChecked();
    return o;
}

} // namespace qm
