#pragma once
// The small dialog before a virtual-tabletop export: pixels per cell and whether hidden
// symbols go into the picture.
#include <QDialog>

#include "export/VttExport.h"

class QSpinBox;
class QCheckBox;

namespace qm {

class TVttOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TVttOptionsDialog(QWidget* parent, const TVttOptions& start);
    TVttOptions Options() const;

    QSpinBox* PixelsPerCellEdit = nullptr;
    QCheckBox* IncludeHiddenCheck = nullptr;
};

} // namespace qm
