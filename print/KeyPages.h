#pragma once
// The map key on paper: the room numbers over the map pages, and the key pages after
// them (number, title and text of every entry, starting on a sheet of their own).
#include <QPicture>
#include <QString>
#include <vector>

#include "model/MapKey.h"
#include "preview/PrintSurface.h"
#include "print/PageLayout.h"

namespace qm {

struct TSheetFrame;

// Whether the map pages carry the room numbers: asked for, or (as Show Hidden) when the
// printed map shows its hidden symbols.
bool PrintsRoomNumbers(const TPrintSettings& s, const TMapRecord* printedMap, const TMapKey* key);

// A label as a picture one cell large, so every printer and the preview draw it the same.
QPicture KeyLabelPicture(int number);

// The labels of the sheet's cells (its own and the overlap strips').
void DrawSheetLabels(TSpecialCanvas& s, const TMapKey& key, const TPageLayout& lay, const TSheetFrame& f, int pr,
                     int pc);

// One line of a key page: where it starts and how it is set.
struct TKeyLine {
    int X = 0, Y = 0;
    QString Text;
    int Points = 10;
    bool Bold = false;
};

// The key pages laid out for this canvas's paper and resolution, between the margins.
struct TKeyPages {
    std::vector<std::vector<TKeyLine>> Pages;
    int Count() const { return int(Pages.size()); }
};
TKeyPages LayOutKeyPages(TSpecialCanvas& s, const TMapKey& key, const TPrintSettings& set, const QString& mapFileName);

// The last layout and what it was made for, so that every page of a print lays out once.
class TKeyPagesCache {
public:
    const TKeyPages& Get(TSpecialCanvas& s, const TMapKey& key, const TPrintSettings& set, const QString& mapFileName);

private:
    TKeyPages pages_;
    QString made_; // what the layout was made for; empty: none
};

// Draws key page `index` (0-based).
void PrintKeyPage(TSpecialCanvas& s, const TKeyPages& pages, int index);

} // namespace qm
