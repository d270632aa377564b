// One release of the map grid: which tool decides, the step it records, and what a use
// that changes nothing leaves (no step, a word in the status bar where there is one).
#include <gtest/gtest.h>

#include <cstring>

#include "editor/ToolUse.h"
#include "tiles/BuiltInSymbols.h"

using namespace qm;

TEST(ToolUse, ReleaseRecordsOneNamedStep) {
    const SymbolTable table = BuiltInSymbolTable();
    const TLayerFlags flags{};
    const TToolContext context{lmAuto, flags, table};
    const TGridRect room{4, 4, 13, 11};
    struct Case {
        const char* name;
        TToolGesture gesture;
        bool used, changed;
        const char* step;   // the history's last step name when changed
        const char* status; // "" = nothing said
    };
    const auto at = [](TTool tool, TDrawingTool drawing, TGridRect sel, int c, int r, bool shift = false,
                       bool alt = false) { return TToolGesture{tool, drawing, sel, c, r, shift, alt, false}; };
    const Case cases[] = {
        {"selection tool", at(TTool::Selection, TDrawingTool::None, {1, 1, 3, 3}, 1, 1), false, false, "", ""},
        {"draw", at(TTool::Draw, TDrawingTool::None, {1, 1, 3, 3}, 1, 1), true, true, "Draw", ""},
        {"wall stamp", at(TTool::Wall, TDrawingTool::None, {30, 30, 30, 30}, 30, 30), true, true, "Wall terrain", ""},
        {"shift-drag stamp", at(TTool::Wall, TDrawingTool::None, {30, 30, 33, 30}, 30, 30, true), true, true,
         "Stamp area", ""},
        {"door in the room's north wall", at(TTool::Selection, TDrawingTool::Door, {8, 4, 8, 4}, 8, 4), true, true,
         "Door", "Door: done; Undo takes it back."},
        {"door where no wall is", at(TTool::Selection, TDrawingTool::Door, {40, 40, 40, 40}, 40, 40), true, false, "",
         "No wall here for a door."},
        {"fill inside the room", at(TTool::Selection, TDrawingTool::Fill, {8, 8, 8, 8}, 8, 8), true, true, "Fill",
         "Fill: done; Undo takes it back."},
        {"smart erase of the wall", at(TTool::Wall, TDrawingTool::None, room, 4, 4, false, true), true, true,
         "Smart erase", "Smart erase: done; Undo takes it back."},
        {"smart erase where no water is", at(TTool::Water, TDrawingTool::None, room, 4, 4, false, true), true, false,
         "", ""},
        {"walls-only room over its own walls", at(TTool::Selection, TDrawingTool::Room, room, 4, 4, true), true, false,
         "", ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TMapDocument doc;
        doc.New("", 16);
        doc.CurrentMap.CurrentSymbol = sym::FloorA;
        ASSERT_TRUE(UseTool(doc, at(TTool::Selection, TDrawingTool::Room, room, 4, 4), context).Changed);
        doc.CurrentMap.CurrentSymbol = sym::FloorB;
        const int steps = doc.History().Count();
        const TMapRecord undoBefore = doc.UndoMap, mapBefore = doc.CurrentMap;
        const TToolOutcome out = UseTool(doc, k.gesture, context);
        EXPECT_EQ(out.Used, k.used);
        EXPECT_EQ(out.Changed, k.changed);
        EXPECT_EQ(out.Status, QString::fromUtf8(k.status));
        EXPECT_EQ(doc.History().Count(), steps + (k.changed ? 1 : 0));
        // Undo takes back exactly this use; a use that changed nothing keeps the last Undo.
        const TMapRecord& undoNow = k.changed ? mapBefore : undoBefore;
        EXPECT_EQ(std::memcmp(&doc.UndoMap, &undoNow, sizeof undoNow), 0);
        if (k.changed) {
            EXPECT_EQ(doc.History().Name(doc.History().Current()), QString::fromUtf8(k.step));
        }
    }
}
