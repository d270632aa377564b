#include "export/VttOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qm {

TVttOptionsDialog::TVttOptionsDialog(QWidget* parent, const TVttOptions& start) : QDialog(parent) {
    setObjectName(QStringLiteral("VttOptionsDialog"));
    setWindowTitle(QStringLiteral("Export Virtual Tabletop Map"));
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

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Pixels per cell:"), PixelsPerCellEdit);
    form->addRow(IncludeHiddenCheck);
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
    o.PixelsPerCell = PixelsPerCellEdit->value();
    o.IncludeHidden = IncludeHiddenCheck->isChecked();
    return o;
}

} // namespace qm
