#pragma once
// "Print Properties": scale, margins, print area, title and grid style. Created once;
// its controls hold the print settings for the whole run.
#include <QDialog>

#include "print/MapPage.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qm {

class TPrintPreview;

class TPrintOptions : public QDialog {
    Q_OBJECT
public:
    explicit TPrintOptions(QWidget* parent = nullptr);

    QLabel* ScaleLabel;
    QComboBox* ScaleCombo;
    QCheckBox* TitleCB;
    QGroupBox* RadioGroup1;
    QRadioButton* MapRB;
    QRadioButton* SelectedRB;
    QRadioButton* DrawnRB; // the drawn part of the map
    QLabel* LeftMarginLabel;
    QComboBox* LeftMarginCombo;
    QLabel* TopMarginLabel;
    QComboBox* TopMarginCombo;
    QLabel* RightMarginLabel;
    QComboBox* RightMarginCombo;
    QLabel* BottomMarginLabel;
    QComboBox* BottomMarginCombo;
    QLabel* GridStyleLabel;
    QComboBox* GridStyleCombo; // editable: typed text that names no item means no grid
    QPushButton* Button1;      // "Ok"
    QPushButton* Button2;      // "Cancel"

    // The battle-mat group, shown beside the dialog by "Battle Mat >>".
    QPushButton* BattleMatBut;
    QGroupBox* BattleMatGroup;
    QLabel* OverlapLabel;
    QComboBox* OverlapCombo;
    QCheckBox* MarksCB;
    QCheckBox* OverviewCB;
    QCheckBox* SkipEmptyCB;
    QCheckBox* FitSheetsCB;
    QCheckBox* PlayerCopyCB;
    QCheckBox* InkSaverCB;
    QLabel* CorrectionLabel;
    QDoubleSpinBox* CorrectionEdit;
    // The map key's group, shown with the battle mat's.
    QGroupBox* MapKeyGroup;
    QCheckBox* RoomNumbersCB; // until touched it follows Player Copy
    QCheckBox* KeyPagesCB;
    void ShowBattleMat(bool shown);

    // Rock as paper, at the foot of the battle-mat group.
    QLabel* RockLabel;
    QComboBox* RockCombo;

    // The item index of the grid style, or -1 when the text names no item.
    int GridStyleIndex() const;
    // The settings as the controls hold them now.
    TPrintSettings Settings() const;

private:
    void BuildMarginControls();
    void FitGridStyleCombo();
    void BuildButtons();
    void BuildBattleMatGroup();
    void BuildMapKeyGroup();
    void BuildRockControls();
    void FormCreate();
    bool roomNumbersTouched_ = false;
};

// The Print command: the dialog, and on Ok the preview (which prints when asked).
void PrintExecute(TPrintOptions& dialog, TPrintPreview& preview);
// The Print Setup command: the printer set-up dialog; its result is not looked at.
void PrintSetupExecute(QWidget* parent);

} // namespace qm
