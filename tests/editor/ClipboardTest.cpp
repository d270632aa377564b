#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "editor/Clipboard.h"
#include "editor/MapDocument.h"
#include "editor/MapEdit.h"
#include "tests/TestSupport.h"
#include "tests/editor/EditorTestSupport.h"

using namespace qm;

namespace {

// Cell (x, y) holds Upper 100 + x, Lower 50 + y, Spare x ^ y, so every cell differs.
std::unique_ptr<TMapRecord> PatternMap() {
    auto m = qmtest::NewMap();
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) m->Cell(x, y) = TMapCell{uint8_t(100 + x), uint8_t(50 + y), uint8_t(x ^ y)};
    return m;
}

// The commands run as edits of a map document, which takes the undo snapshot.
struct Fixture {
    std::unique_ptr<TMapDocument> doc = std::make_unique<TMapDocument>();
    TMapRecord* map = &doc->CurrentMap;
    TMapRecord* undo = &doc->UndoMap;
    std::unique_ptr<TMapClipboard> clip = std::make_unique<TMapClipboard>();
    Fixture() { *map = *PatternMap(); }
    void Edit(const std::function<void(TMapRecord&)>& change, TSnapshot snapshot = TSnapshot::Take) {
        doc->Edit(QStringLiteral("Test"), change, snapshot);
    }
};

} // namespace

TEST(Clipboard, PasteLayerTable) {
    // Source cell (3, 3): Upper 103, Lower 53. Target (20, 20): Upper 120, Lower 70.
    const struct {
        TLayerMode source, current;
        uint8_t upper, lower;
    } cases[] = {
        {lmAuto, lmAuto, 103, 53},  {lmUpper, lmAuto, 103, 53},   {lmLower, lmAuto, 103, 53},
        {lmAuto, lmUpper, 103, 70}, {lmUpper, lmUpper, 103, 70},  {lmLower, lmUpper, 53, 70},
        {lmAuto, lmLower, 120, 53}, {lmUpper, lmLower, 120, 103}, {lmLower, lmLower, 120, 53},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::to_string(k.source) + " -> " + std::to_string(k.current));
        Fixture f;
        CopySelection(*f.map, *f.clip, TGridRect{2, 2, 2, 2}, k.source);
        EXPECT_EQ(f.clip->SourceLayerMode, k.source);
        PasteClipboard(*f.map, *f.clip, TGridRect{19, 19, 19, 19}, k.current);
        EXPECT_EQ(f.map->Cell(20, 20).Upper, k.upper);
        EXPECT_EQ(f.map->Cell(20, 20).Lower, k.lower);
        EXPECT_EQ(f.map->Cell(20, 20).Spare, 20 ^ 20);
    }
}

TEST(Clipboard, CopyTakesAllThreeBytesAndClearsTheRestOfTheRoom) {
    Fixture f;
    f.clip->Cells[60][60] = TMapCell{1, 1, 1};                      // left over from an earlier copy
    CopySelection(*f.map, *f.clip, TGridRect{6, 1, 2, 4}, lmUpper); // corners in any order
    EXPECT_EQ(f.clip->Width, 5);
    EXPECT_EQ(f.clip->Height, 4);
    EXPECT_EQ(f.clip->Cell(1, 1).Upper, 103);
    EXPECT_EQ(f.clip->Cell(1, 1).Lower, 52);
    EXPECT_EQ(f.clip->Cell(5, 4).Spare, 7 ^ 5);
    EXPECT_EQ(f.clip->Cells[60][60].Upper, 0);
}

TEST(Clipboard, PasteIsClippedAtTheMapEdge) {
    Fixture f;
    CopySelection(*f.map, *f.clip, TGridRect{0, 0, 4, 3}, lmAuto); // 5 x 4
    auto before = *f.map;
    PasteClipboard(*f.map, *f.clip, TGridRect{69, 70, 69, 70}, lmAuto); // column 70, row 71
    int changed = 0;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const bool target = x >= 70 && y >= 71;
            const TMapCell& c = f.map->Cell(x, y);
            if (target) {
                EXPECT_EQ(c.Upper, 100 + (x - 69));
                EXPECT_EQ(c.Lower, 50 + (y - 70));
                EXPECT_EQ(c.Spare, x ^ y);
            }
            changed += std::memcmp(&c, &before.Cell(x, y), 3) != 0;
        }
    EXPECT_EQ(changed, 6);
}

TEST(Clipboard, OneCellOntoALargerSelectionChangesOnlyItsTopLeft) {
    Fixture f;
    CopySelection(*f.map, *f.clip, TGridRect{0, 0, 0, 0}, lmAuto);
    auto before = *f.map;
    PasteClipboard(*f.map, *f.clip, TGridRect{10, 10, 12, 12}, lmAuto);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const bool topLeft = x == 11 && y == 11;
            EXPECT_EQ(std::memcmp(&f.map->Cell(x, y), &before.Cell(x, y), 3) != 0, topLeft) << x << "," << y;
        }
    EXPECT_EQ(f.map->Cell(11, 11).Upper, 101);
}

TEST(Clipboard, CutInUpperThenPasteInAutoMovesBothLayers) {
    Fixture f;
    CutSelection(*f.map, *f.clip, TGridRect{0, 0, 1, 1}, lmUpper);
    for (int x = 1; x <= 2; ++x)
        for (int y = 1; y <= 2; ++y) {
            EXPECT_EQ(f.map->Cell(x, y).Upper, 0);
            EXPECT_EQ(f.map->Cell(x, y).Lower, 50 + y); // the other layer stays
            EXPECT_EQ(f.map->Cell(x, y).Spare, x ^ y);  // and so does Spare
        }
    EXPECT_EQ(f.map->Cell(3, 1).Upper, 103);
    // Paste the cut-out region (its lower layer included) onto a spot with empty uppers.
    f.map->Cell(31, 31).Upper = 0;
    f.map->Cell(31, 31).Lower = 0;
    PasteClipboard(*f.map, *f.clip, TGridRect{30, 30, 30, 30}, lmAuto);
    EXPECT_EQ(f.map->Cell(31, 31).Upper, 101);
    EXPECT_EQ(f.map->Cell(31, 31).Lower, 51);
    EXPECT_EQ(f.map->Cell(32, 32).Upper, 102);
    EXPECT_EQ(f.map->Cell(32, 32).Spare, 32 ^ 32);
}

TEST(Clipboard, CutByModeEmptiesThatLayer) {
    const struct {
        TLayerMode mode;
        bool upperGone, lowerGone;
    } cases[] = {{lmAuto, true, true}, {lmUpper, true, false}, {lmLower, false, true}};
    for (const auto& k : cases) {
        Fixture f;
        CutSelection(*f.map, *f.clip, TGridRect{4, 4, 4, 4}, k.mode);
        const TMapCell& c = f.map->Cell(5, 5);
        EXPECT_EQ(c.Upper, k.upperGone ? 0 : 105);
        EXPECT_EQ(c.Lower, k.lowerGone ? 0 : 55);
        EXPECT_EQ(c.Spare, 0);                    // 5 ^ 5, untouched
        EXPECT_EQ(f.clip->Cell(1, 1).Upper, 105); // the clipboard has both layers
        EXPECT_EQ(f.clip->Cell(1, 1).Lower, 55);
    }
}

TEST(Clipboard, PasteBeforeAnyCopyChangesNothingButSnapshots) {
    Fixture f;
    f.map->Background = 9;
    const auto before = *f.map;
    f.Edit([&](TMapRecord& m) { PasteClipboard(m, *f.clip, TGridRect{5, 5, 8, 8}, lmAuto); });
    EXPECT_TRUE(qmtest::SameRecord(*f.map, before));
    EXPECT_TRUE(qmtest::SameRecord(*f.undo, before));
}

TEST(Undo, SequencesOfCommands) {
    TLayerFlags flags{};
    // Undo twice: as before the first.
    {
        Fixture f;
        TLayerFlags fl{};
        f.map->CurrentSymbol = 7;
        f.Edit([&](TMapRecord& m) { DrawCommand(m, TGridRect{0, 0, 0, 0}, lmLower, fl); });
        const auto drawn = *f.map;
        f.doc->Undo();
        EXPECT_EQ(f.map->Cell(1, 1).Lower, 51);
        f.doc->Undo();
        EXPECT_TRUE(qmtest::SameRecord(*f.map, drawn));
    }
    // Draw, Copy, Undo: the drawing stays.
    {
        Fixture f;
        f.map->CurrentSymbol = 7;
        f.Edit([&](TMapRecord& m) { DrawCommand(m, TGridRect{0, 0, 0, 0}, lmLower, flags); });
        f.Edit([&](TMapRecord& m) { CopySelection(m, *f.clip, TGridRect{3, 3, 4, 4}, lmAuto); });
        f.doc->Undo();
        EXPECT_EQ(f.map->Cell(1, 1).Lower, 7);
    }
    // Draw, Set Background, Undo: both taken back.
    {
        Fixture f;
        f.map->CurrentSymbol = 7;
        f.Edit([&](TMapRecord& m) { DrawCommand(m, TGridRect{0, 0, 0, 0}, lmLower, flags); });
        f.Edit([](TMapRecord& m) { SetBackground(m); }, TSnapshot::Keep);
        f.Edit([](TMapRecord& m) { SetShowHidden(m, false); }, TSnapshot::Keep);
        EXPECT_EQ(f.map->Background, 7);
        f.doc->Undo();
        EXPECT_EQ(f.map->Cell(1, 1).Lower, 51);
        EXPECT_EQ(f.map->Background, 0);
        EXPECT_EQ(f.map->ShowHidden, 1);
    }
    // Undo before any snapshot brings the cleared start-up record.
    {
        Fixture f;
        auto startup = std::make_unique<TMapRecord>();
        ClearMapRecord(*startup);
        *f.undo = *startup;
        f.doc->Undo();
        EXPECT_TRUE(qmtest::SameRecord(*f.map, *startup));
        EXPECT_EQ(f.undo->Cell(72, 72).Upper, 172);
    }
}

TEST(Undo, SnapshotIsTakenByExactlyTheCommandsThatTakeIt) {
    TLayerFlags flags{};
    using Cmd = std::function<void(Fixture&)>;
    const TGridRect sel{2, 2, 3, 3};
    const struct {
        const char* name;
        bool snapshots;
        Cmd run;
    } cases[] = {
        {"Copy", true, [&](Fixture& f) { f.Edit([&](TMapRecord& m) { CopySelection(m, *f.clip, sel, lmAuto); }); }},
        {"Cut", true, [&](Fixture& f) { f.Edit([&](TMapRecord& m) { CutSelection(m, *f.clip, sel, lmAuto); }); }},
        {"Paste", true, [&](Fixture& f) { f.Edit([&](TMapRecord& m) { PasteClipboard(m, *f.clip, sel, lmAuto); }); }},
        {"Draw", true, [&](Fixture& f) { f.Edit([&](TMapRecord& m) { DrawCommand(m, sel, lmAuto, flags); }); }},
        {"Eraser", true, [&](Fixture& f) { f.Edit([&](TMapRecord& m) { EraserCommand(m, sel, lmAuto); }); }},
        {"Smart tool", true,
         [&](Fixture& f) { f.Edit([&](TMapRecord& m) { SmartTerrainCommand(m, sel, 160, lmAuto); }); }},
        {"Undo", false, [&](Fixture& f) { f.doc->Undo(); }},
        {"Set Background", false,
         [&](Fixture& f) { f.Edit([](TMapRecord& m) { SetBackground(m); }, TSnapshot::Keep); }},
        {"Show Hidden", false,
         [&](Fixture& f) { f.Edit([](TMapRecord& m) { SetShowHidden(m, false); }, TSnapshot::Keep); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        Fixture f;
        f.map->CurrentSymbol = 3;
        f.undo->Background = 99; // marks the old snapshot
        const auto before = *f.map;
        k.run(f);
        if (k.snapshots) EXPECT_TRUE(qmtest::SameRecord(*f.undo, before));
        else EXPECT_EQ(f.undo->Background, k.name == std::string("Undo") ? before.Background : 99);
    }
}
