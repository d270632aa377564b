#pragma once
// Finding one's way on the map: what the status bar's right-hand panel says about the
// cell or symbol under the pointer, and type-ahead over symbol names. Widget-free.
#include <QString>
#include <cstdint>

#include "compose/GridRect.h"
#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"

namespace qm {

// Where the pointer is over the two grids, 0-based; -1 = not there.
struct TPointer {
    int Col = -1, Row = -1; // map grid cell
    int Symbol = -1;        // symbol column row
    bool Dragging = false;  // a selection drag on the map grid is under way
};

// The table's name of a symbol; "" outside 0..255 or for a symbol the table does not name.
QString SymbolName(const SymbolTable& symbols, int symbol);

// "Col C, Row R" (1-based), the selection's size while dragging, and the name of what the
// cell shows on top; over the symbol column the symbol's name; "" when over neither.
QString CellPanelText(const TPointer& pointer, const TGridRect& selection, const TMapRecord& map,
                      const SymbolTable& symbols);

// Letters typed within a second of each other make one prefix; the same letter again
// steps on to the next symbol that starts with it.
class TTypeAhead {
public:
    // The symbol row the letters typed at `nowMs` lead to from row `current`; -1 none.
    int Type(const QString& text, qint64 nowMs, int current, const SymbolTable& symbols);

private:
    QString typed_;
    qint64 typedAt_ = -1;
};

} // namespace qm
