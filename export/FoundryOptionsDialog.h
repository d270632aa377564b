#pragma once
// The small dialog before a Foundry VTT scene export: pixels per cell, whether it is the
// game master's scene (hidden symbols in the picture, secret doors as secret doors) and the
// folder of Foundry's user data the picture will be uploaded to.
#include <QDialog>

#include "export/FoundryScene.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace qm {

class TFoundryOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFoundryOptionsDialog(QWidget* parent, const TFoundryOptions& start);
    // The choices of the dialog; the other fields as `start` had them.
    TFoundryOptions Options() const;

    QSpinBox* PixelsPerCellEdit = nullptr;
    QCheckBox* IncludeHiddenCheck = nullptr;
    QLineEdit* PictureFolderEdit = nullptr;

private:
    TFoundryOptions start_;
};

} // namespace qm
