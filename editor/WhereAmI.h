#pragma once
// Finding one's way on the map: what the status bar's right-hand panel says about the
// cell or symbol under the pointer, and type-ahead over symbol names. Widget-free.
#include <QString>
#include <cstdint>
#include <vector>

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

// Whether `query` finds `name`: its first word starts a word of the name and each further
// word starts a later word ("plank" and "floor pl" find "Floor, planks"); letter case
// ignored; an empty query finds every name.
bool NameMatches(const QString& name, const QString& query);

// The symbols whose names `query` finds, in order; every symbol 0..255 for an empty query.
std::vector<int> MatchingSymbols(const SymbolTable& symbols, const QString& query);

// The symbol the eyedropper takes from map cell (col, row), 0-based: the upper one, else
// the lower one; -1 for an empty cell or one off the map.
int SymbolInCell(const TMapRecord& map, int col, int row);

// Letters typed within a second of each other make one query (NameMatches); the same
// letter again steps on to the next symbol it finds.
class TTypeAhead {
public:
    // The row the letters typed at `nowMs` lead to from row `current`; -1 none. `shown`
    // lists the column's symbols by row; empty means every symbol, row = symbol.
    int Type(const QString& text, qint64 nowMs, int current, const SymbolTable& symbols,
             const std::vector<int>& shown = {});

private:
    QString typed_;
    qint64 typedAt_ = -1;
};

} // namespace qm
