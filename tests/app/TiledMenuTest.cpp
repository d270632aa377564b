// File > Export Tiled Map... and Import Tiled Map... in the real main window.
#include <QMenu>
#include <cstring>

#include "model/RecordFile.h"
#include "tests/app/AppFixture.h"

using namespace qm;
using namespace qmtest;

namespace {

class TiledMenuTest : public AppTest {};

TEST_F(TiledMenuTest, ExportAsksOnceForTheFilesItWouldReplace) {
    Start();
    ASSERT_TRUE(Find<QMenu>("File1")->actions().contains(Find<QAction>("ExportTiledMap1")));
    ASSERT_TRUE(Find<QMenu>("File1")->actions().contains(Find<QAction>("ImportTiledMap1")));
    Map().Cell(4, 5).Upper = 77;
    dialogs.FileAnswers = {WorkFile("out")};
    Find<QAction>("ExportTiledMap1")->trigger();
    EXPECT_EQ(dialogs.LastFilter, "Tiled Map Files (*.tmx)");
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString();
    EXPECT_TRUE(dialogs.Confirms.isEmpty());
    EXPECT_EQ(work.List(), (std::vector<std::string>{"out-tileset.png", "out-tileset.tsx", "out.tmx"}));

    const auto before = ReadAll(work.File("out.tmx"));
    Map().Cell(4, 5).Upper = 78;
    dialogs.FileAnswers = {WorkFile("out.tmx")};
    dialogs.ConfirmAnswers = {TConfirm::No};
    Find<QAction>("ExportTiledMap1")->trigger();
    ASSERT_EQ(dialogs.Confirms.size(), 1);
    EXPECT_EQ(dialogs.Confirms[0], "OK to overwrite " + WorkFile("out.tmx") + ", " + WorkFile("out-tileset.tsx") +
                                       ", " + WorkFile("out-tileset.png"));
    EXPECT_EQ(ReadAll(work.File("out.tmx")), before);
}

TEST_F(TiledMenuTest, ImportReplacesTheMapAndUndoTakesItBack) {
    Start();
    TMapRecord other;
    ClearMapRecord(other);
    other.Cell(10, 20) = {130, 17, 0};
    other.Background = 10;
    other.Zoom = 32;
    TRenderedTileset& ts = win->State().Tileset;
    Map().Cell(1, 1).Upper = 5;
    const TMapRecord mine = Map();
    {
        // Export `other` through the window too, then bring back what was drawn.
        Map() = other;
        dialogs.FileAnswers = {WorkFile("other.tmx")};
        Find<QAction>("ExportTiledMap1")->trigger();
        Map() = mine;
    }
    ASSERT_TRUE(ts.IsRendered());

    dialogs.FileAnswers = {WorkFile("other.tmx")};
    Find<QAction>("ImportTiledMap1")->trigger();
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString();
    EXPECT_EQ(std::memcmp(&Map(), &other, MapRecordSize), 0);
    EXPECT_EQ(DrawGrid1()->DefaultColWidth(), 32);
    EXPECT_EQ(std::memcmp(&Undo(), &mine, MapRecordSize), 0);
    Find<QAction>("Undo")->trigger();
    EXPECT_EQ(std::memcmp(&Map(), &mine, MapRecordSize), 0);
}

TEST_F(TiledMenuTest, RefusedImportLeavesMapAndUndoAlone) {
    Start();
    Map().Cell(2, 2).Lower = 9;
    const TMapRecord mine = Map(), undo = Undo();
    WriteAll(work.File("iso.tmx"), {});
    const std::string text = "<map orientation=\"isometric\" width=\"2\" height=\"2\"/>";
    WriteAll(work.File("iso.tmx"), std::vector<unsigned char>(text.begin(), text.end()));
    dialogs.FileAnswers = {WorkFile("iso.tmx")};
    Find<QAction>("ImportTiledMap1")->trigger();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors[0],
              WorkFile("iso.tmx") + ": Only orthogonal maps can be imported; this map's orientation is \"isometric\".");
    EXPECT_EQ(std::memcmp(&Map(), &mine, MapRecordSize), 0);
    EXPECT_EQ(std::memcmp(&Undo(), &undo, MapRecordSize), 0);
}

} // namespace
