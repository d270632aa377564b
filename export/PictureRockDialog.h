#pragma once
// The small dialog a picture export asks before the file, on a map with solid rock: how
// the rock is drawn (as drawn, as paper with a hatched edge, or white).
#include <QDialog>

#include "model/MapRecord.h"
#include "tiles/Tileset.h"

class QComboBox;

namespace qm {

class TPictureRockDialog : public QDialog {
    Q_OBJECT
public:
    TPictureRockDialog(QWidget* parent, const QString& title, int rock);
    int Rock() const;

    QComboBox* RockCombo = nullptr;
};

// Asks for the rock choice under `title` when the map holds solid rock, starting from the
// last choice of the run; elsewhere it is As Drawn and nothing is asked. False: cancelled.
bool AskPictureRock(QWidget* parent, const QString& title, const TMapRecord& map, const TRenderedTileset& ts,
                    int& rock);

} // namespace qm
