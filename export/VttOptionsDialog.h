#pragma once
// The small dialog before a virtual-tabletop export: the tabletop the file is for, pixels
// per cell (the target's default when the target is picked) and whether hidden symbols
// go into the picture.
#include <QDialog>

#include "export/VttExport.h"

class QComboBox;
class QSpinBox;
class QCheckBox;

namespace qm {

class TVttOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TVttOptionsDialog(QWidget* parent, const TVttOptions& start);
    TVttOptions Options() const;

    QComboBox* TargetCombo = nullptr;
    QSpinBox* PixelsPerCellEdit = nullptr;
    QCheckBox* IncludeHiddenCheck = nullptr;
    QComboBox* RockCombo = nullptr;        // solid rock in the picture: as drawn, hatched edge, white
    QCheckBox* RoomNumbersCheck = nullptr; // the key's numbers; offered on a map with a key
};

} // namespace qm
