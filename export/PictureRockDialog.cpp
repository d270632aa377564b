#include "export/PictureRockDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "compose/PaperRock.h"

namespace qm {

TPictureRockDialog::TPictureRockDialog(QWidget* parent, const QString& title, int rock) : QDialog(parent) {
    setObjectName(QStringLiteral("PictureRockDialog"));
    setWindowTitle(title);
    RockCombo = new QComboBox(this);
    RockCombo->setObjectName(QStringLiteral("RockCombo"));
    for (const TRockChoice& c : RockChoices) RockCombo->addItem(QString::fromLatin1(c.Text));
    RockCombo->setCurrentIndex(std::clamp(rock, 0, RockCombo->count() - 1));
    RockCombo->setToolTip(
        QStringLiteral("Solid rock of walls and mountains as drawn, as white paper with a hatched band along the "
                       "walls, or all white"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Rock:"), RockCombo);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("PictureRockButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

int TPictureRockDialog::Rock() const { return std::max(0, RockCombo->currentIndex()); }

bool AskPictureRock(QWidget* parent, const QString& title, const TMapRecord& map, const TRenderedTileset& ts,
                    int& rock) {
    static int last = rpDrawn; // the choice lasts for the run
    rock = rpDrawn;
    if (!HasRock(map, ts)) return true;
    TPictureRockDialog dlg(parent, title, last);
    if (dlg.exec() != QDialog::Accepted) return false;
    rock = last = dlg.Rock();
    return true;
}

} // namespace qm
