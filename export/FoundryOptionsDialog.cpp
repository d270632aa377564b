#include "export/FoundryOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qm {

TFoundryOptionsDialog::TFoundryOptionsDialog(QWidget* parent, const TFoundryOptions& start)
    : QDialog(parent), start_(start) {
    setObjectName(QStringLiteral("FoundryOptionsDialog"));
    setWindowTitle(QStringLiteral("Export Foundry Scene"));
    PixelsPerCellEdit = new QSpinBox(this);
    PixelsPerCellEdit->setObjectName(QStringLiteral("PixelsPerCellEdit"));
    PixelsPerCellEdit->setRange(MinVttPixelsPerCell, MaxVttPixelsPerCell);
    PixelsPerCellEdit->setValue(start.PixelsPerCell);
    PixelsPerCellEdit->setToolTip(QStringLiteral("%1 to %2 pixels; a whole map stays within 16384 pixels a side")
                                      .arg(MinVttPixelsPerCell)
                                      .arg(MaxVttPixelsPerCell));
    IncludeHiddenCheck = new QCheckBox(QStringLiteral("Game master's scene (hidden symbols, secret doors)"), this);
    IncludeHiddenCheck->setObjectName(QStringLiteral("IncludeHiddenCheck"));
    IncludeHiddenCheck->setChecked(start.IncludeHidden);
    PictureFolderEdit = new QLineEdit(QString::fromStdString(start.PictureFolder), this);
    PictureFolderEdit->setObjectName(QStringLiteral("PictureFolderEdit"));
    PictureFolderEdit->setPlaceholderText(QStringLiteral("worlds/my-world"));
    PictureFolderEdit->setToolTip(
        QStringLiteral("Where in Foundry's user data you will upload the picture; empty: the top of it"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Pixels per cell:"), PixelsPerCellEdit);
    form->addRow(QStringLiteral("Picture folder:"), PictureFolderEdit);
    form->addRow(IncludeHiddenCheck);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("FoundryButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

TFoundryOptions TFoundryOptionsDialog::Options() const {
    TFoundryOptions o = start_;
    o.PixelsPerCell = PixelsPerCellEdit->value();
    o.IncludeHidden = IncludeHiddenCheck->isChecked();
    o.PictureFolder = PictureFolderEdit->text().trimmed().toStdString();
    return o;
}

} // namespace qm
