#pragma once
// The map key's edits, each one named step of the map document: the Label tool's click
// (pin the next free number, or pick the label there) and drag (move a label), deleting
// a label, editing an entry's title or text, and Renumber. Widget-free.
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "compose/GridRect.h"
#include "editor/MapDocument.h"
#include "tiles/SymbolTable.h"

namespace qm {

struct TLabelOutcome {
    bool Changed = false;
    int Picked = 0; // the label picked after the use; 0 none
    QString Status; // for the status bar; "" = nothing to say
};

// A press at 0-based (pressCol, pressRow) released at (col, row). On a label: a click
// picks it, a drag moves it (not onto another label). On a free cell a click pins the
// next free number there ("Label 3").
TLabelOutcome UseLabelTool(TMapDocument& doc, int pressCol, int pressRow, int col, int row);
// "Delete label 3".
bool DeleteLabel(TMapDocument& doc, int number);
// "Key text 3": the title is cleaned to one line of at most 80 characters.
bool SetKeyEntryTitle(TMapDocument& doc, int number, const std::string& title);
bool SetKeyEntryText(TMapDocument& doc, int number, const std::string& text);

// The labels in the order a walk from the lowest-numbered one meets them, through doors
// but never through walls; labels the walk does not reach follow in their old order.
std::vector<int> WalkOrder(const TMapRecord& map, const TMapKey& key, const SymbolTable& symbols);
// "to 4" in a text names entry 4: the number is replaced by its new one.
std::string RenumberReferences(const std::string& text, const std::map<int, int>& renumbered);
// "Renumber": 1, 2, 3 ... in walk order from the entrance (the lowest number), the
// references in the texts following.
bool RenumberKey(TMapDocument& doc, const SymbolTable& symbols);

// A generated map's key comes with it: over the whole map it is the key; into an area
// (0-based) its entries replace the labels inside it and take the numbers still free,
// their texts' references following.
void AdoptGeneratedKey(TMapKey& key, const TMapKey& generated, const TGridRect& area);

// The status bar's word on the label at the cell, "" when there is none.
QString LabelHint(const TMapKey& key, int col, int row);

} // namespace qm
