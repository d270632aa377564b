// New, Open, Save, Save As through the real actions, dialogs answered by the test.
#include <QFile>
#include <sys/stat.h>

#include "model/RecordFile.h"
#include "model/ShortString.h"
#include "tests/app/AppFixture.h"

using namespace qmtest;

namespace {

// A map record with a few recognisable bytes.
qm::TMapRecord SampleMap(uint8_t mark, const std::string& tileset = "", uint8_t zoom = 32) {
    qm::TMapRecord m;
    qm::ClearMapRecord(m);
    m.Cell(5, 7) = {mark, uint8_t(mark + 1), 3};
    m.Zoom = zoom;
    m.ShowHidden = 0;
    m.CurrentSymbol = 42;
    qm::SetMapTilesetName(m, tileset);
    return m;
}

std::vector<unsigned char> Bytes(const qm::TMapRecord& m) {
    auto p = reinterpret_cast<const unsigned char*>(&m);
    return {p, p + sizeof m};
}

TEST_F(AppTest, CaptionsAfterNewOpenAndSaveAs) {
    Start();
    EXPECT_EQ(Caption(), "QuillMarch");

    TempDir other;
    qm::WriteMapFile(other.File("dungeon.map"), SampleMap(20));
    dialogs.FileAnswers = {QString::fromStdString(other.File("dungeon.map"))};
    Trigger(Find<QAction>("Open1"));
    EXPECT_EQ(Caption(), "QuillMarch - dungeon.map");
    EXPECT_EQ(dialogs.LastFilter, "Quillmarch Map Files (*.map)");
    EXPECT_EQ(dialogs.FileDirs.value(0), ProgramDir()); // the program folder the first time

    dialogs.FileAnswers = {WorkFile("copy.map")};
    Trigger(Find<QAction>("SaveAs1"));
    EXPECT_EQ(Caption(), "QuillMarch - copy.map");
    EXPECT_EQ(dialogs.LastSuffix, "map");
    EXPECT_EQ(win->State().Document.FileName(), WorkFile("copy.map"));
    EXPECT_EQ(ReadAll(work.File("copy.map")), ReadAll(other.File("dungeon.map")));

    Trigger(Find<QAction>("New1"));
    EXPECT_EQ(Caption(), "QuillMarch");
    EXPECT_TRUE(win->State().Document.FileName().isEmpty());
}

TEST_F(AppTest, OpenAppliesTheRecordsViewSettings) {
    Start();
    qm::WriteMapFile(work.File("a.map"), SampleMap(20, "", 48));
    dialogs.FileAnswers = {WorkFile("a.map")};
    Trigger(Find<QAction>("Open"));
    EXPECT_EQ(Map().Cell(5, 7).Upper, 20);
    EXPECT_FALSE(Find<QAction>("ShowHidden")->isChecked());
    EXPECT_EQ(DrawGrid1()->DefaultColWidth(), 48);
    EXPECT_EQ(DrawGrid1()->DefaultRowHeight(), 48);
    EXPECT_EQ(win->State().Document.FileName(), WorkFile("a.map"));
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(AppTest, CancelledDialogsChangeNothing) {
    Start();
    Map().Cell(1, 1).Upper = 7;
    const auto before = Bytes(Map());
    for (QAction* a : {Find<QAction>("Open1"), Find<QAction>("SaveAs1"), Find<QAction>("Save1")}) {
        SCOPED_TRACE(a->objectName().toStdString());
        dialogs.FileAnswers = {""};
        Trigger(a);
        EXPECT_EQ(Bytes(Map()), before);
        EXPECT_EQ(Caption(), "QuillMarch");
        EXPECT_TRUE(win->State().Document.FileName().isEmpty());
    }
    EXPECT_TRUE(work.List().empty());
}

TEST_F(AppTest, SaveAsOverAnExistingFileOnlyOnYes) {
    Start();
    const std::vector<unsigned char> old = {1, 2, 3, 4};
    struct Case {
        qm::TConfirm answer;
        bool written;
    } cases[] = {{qm::TConfirm::No, false}, {qm::TConfirm::Cancel, false}, {qm::TConfirm::Yes, true}};
    for (const Case& c : cases) {
        WriteAll(work.File("old.map"), old);
        dialogs.Confirms.clear();
        dialogs.FileAnswers = {WorkFile("old.map")};
        dialogs.ConfirmAnswers = {c.answer};
        Trigger(Find<QAction>("SaveAs"));
        ASSERT_EQ(dialogs.Confirms.size(), 1);
        EXPECT_EQ(dialogs.Confirms[0], "OK to overwrite " + WorkFile("old.map"));
        if (c.written) {
            EXPECT_EQ(ReadAll(work.File("old.map")), Bytes(Map()));
            EXPECT_EQ(win->State().Document.FileName(), WorkFile("old.map"));
        } else {
            EXPECT_EQ(ReadAll(work.File("old.map")), old);
            EXPECT_TRUE(win->State().Document.FileName().isEmpty());
            EXPECT_EQ(Caption(), "QuillMarch");
        }
    }
}

TEST_F(AppTest, SaveWithoutAFileNameAsksForOne) {
    Start();
    dialogs.FileAnswers = {WorkFile("first.map")};
    Trigger(Find<QAction>("Save1"));
    EXPECT_EQ(win->State().Document.FileName(), WorkFile("first.map"));
    EXPECT_EQ(Caption(), "QuillMarch - first.map");
    // Now it has a name: Save writes there without asking.
    Map().Cell(2, 2).Upper = 99;
    Trigger(Find<QAction>("Save"));
    EXPECT_TRUE(dialogs.FileAnswers.empty());
    EXPECT_EQ(ReadAll(work.File("first.map")), Bytes(Map()));
}

TEST_F(AppTest, FailedSaveKeepsTheOldFileAndSaysWhy) {
    Start();
    dialogs.FileAnswers = {WorkFile("keep.map")};
    Trigger(Find<QAction>("SaveAs"));
    const auto saved = ReadAll(work.File("keep.map"));
    Map().Cell(9, 9).Lower = 12;
    qm::SetWriteFailureAfterForTesting(100);
    Trigger(Find<QAction>("Save"));
    qm::SetWriteFailureAfterForTesting(-1);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].startsWith("Cannot create file")) << dialogs.Errors[0].toStdString();
    EXPECT_TRUE(dialogs.Errors[0].contains("keep.map"));
    EXPECT_EQ(ReadAll(work.File("keep.map")), saved);
    EXPECT_EQ(work.List(), std::vector<std::string>{"keep.map"}); // no temporary left behind

    // Save As to a folder that does not exist: error, name and caption unchanged.
    dialogs.FileAnswers = {WorkFile("missing/x.map")};
    Trigger(Find<QAction>("SaveAs"));
    EXPECT_EQ(dialogs.Errors.size(), 2);
    EXPECT_EQ(win->State().Document.FileName(), WorkFile("keep.map"));
    EXPECT_EQ(Caption(), "QuillMarch - keep.map");
}

// File names go to the disk in the local 8-bit encoding and come back in messages as UTF-8;
// a name outside ASCII, in a folder outside ASCII, survives Save As, Open and an error.
TEST_F(AppTest, NonAsciiNamesRoundTripThroughSaveAndOpen) {
    const struct {
        const char* folder;
        const char* file;
    } cases[] = {{"K\u00e4rten", "H\u00f6hle \u00df.map"}, {"\u5730\u56f3", "\u6d1e\u7a9f.map"}};
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(::mkdir(work.File(c.folder).c_str(), 0700), 0);
        const std::string bytes = work.File(std::string(c.folder) + "/" + c.file); // UTF-8, the test's locale
        const QString path = QString::fromUtf8(bytes);
        Map().Cell(3, 3).Upper = 40;
        dialogs.FileAnswers = {path};
        Trigger(Find<QAction>("SaveAs"));
        ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.value(0).toStdString();
        EXPECT_EQ(ReadAll(bytes), Bytes(Map()));
        EXPECT_EQ(Caption(), "QuillMarch - " + QString::fromUtf8(c.file));

        Trigger(Find<QAction>("New1"));
        dialogs.FileAnswers = {path};
        Trigger(Find<QAction>("Open"));
        EXPECT_EQ(Map().Cell(3, 3).Upper, 40);
        EXPECT_EQ(win->State().Document.FileName(), path);

        dialogs.FileAnswers = {path + "x"};
        Trigger(Find<QAction>("Open"));
        ASSERT_EQ(dialogs.Errors.size(), 1);
        EXPECT_TRUE(dialogs.Errors[0].contains(path + "x")) << dialogs.Errors[0].toStdString();
        dialogs.Errors.clear();
    }
}

TEST_F(AppTest, FailedOpenChangesNothing) {
    Start();
    Map().Cell(4, 4).Upper = 66;
    const auto before = Bytes(Map());
    dialogs.FileAnswers = {WorkFile("nothere.map")};
    Trigger(Find<QAction>("Open"));
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].startsWith("Cannot open file")) << dialogs.Errors[0].toStdString();
    EXPECT_TRUE(dialogs.Errors[0].contains("nothere.map"));
    EXPECT_EQ(Bytes(Map()), before);
    EXPECT_TRUE(win->State().Document.FileName().isEmpty());
    EXPECT_EQ(Caption(), "QuillMarch");
}

TEST_F(AppTest, ReadOnlyMapOpens) {
    Start();
    qm::WriteMapFile(work.File("locked.map"), SampleMap(31));
    ASSERT_EQ(::chmod(work.File("locked.map").c_str(), 0444), 0);
    dialogs.FileAnswers = {WorkFile("locked.map")};
    Trigger(Find<QAction>("Open"));
    EXPECT_TRUE(dialogs.Errors.isEmpty());
    EXPECT_EQ(Map().Cell(5, 7).Upper, 31);
    EXPECT_EQ(Caption(), "QuillMarch - locked.map");
}

TEST_F(AppTest, ReadOnlyMapIsNotReplacedBySave) {
    Start();
    qm::WriteMapFile(work.File("locked.map"), SampleMap(31));
    ASSERT_EQ(::chmod(work.File("locked.map").c_str(), 0444), 0);
    const auto before = ReadAll(work.File("locked.map"));
    dialogs.FileAnswers = {WorkFile("locked.map")};
    Trigger(Find<QAction>("Open"));
    Map().Cell(1, 1).Upper = 1;
    Trigger(Find<QAction>("Save"));
    dialogs.FileAnswers = {WorkFile("locked.map")};
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
    Trigger(Find<QAction>("SaveAs"));
    ASSERT_EQ(dialogs.Errors.size(), 2);
    for (const QString& e : dialogs.Errors) EXPECT_TRUE(e.startsWith("Cannot create file")) << e.toStdString();
    EXPECT_EQ(ReadAll(work.File("locked.map")), before);
}

TEST_F(AppTest, OpenRendersTheTilesetOnlyWhenTheNameDiffers) {
    Start();
    struct Case {
        const char* name;
        bool renders;
        const char* current; // CurrentTilesetName afterwards
    } cases[] = {
        {"Caves.bmp", true, "Caves.bmp"},
        {"CAVES.BMP", false, "Caves.bmp"},
        {"caves.bmp", false, "Caves.bmp"},
        {"Other.bmp", true, "Other.bmp"},
        {"", true, ""},
        {"sub/dir/Deep.bmp", true, "Deep.bmp"}, // folder parts never reach the renderer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qm::WriteMapFile(work.File("t.map"), SampleMap(5, c.name));
        const uint64_t generation = win->State().Tileset.Generation;
        dialogs.FileAnswers = {WorkFile("t.map")};
        Trigger(Find<QAction>("Open"));
        EXPECT_EQ(win->State().Tileset.Generation != generation, c.renders);
        EXPECT_EQ(win->State().Tileset.CurrentTilesetName, c.current);
        EXPECT_TRUE(dialogs.Errors.isEmpty());
    }
}

TEST_F(AppTest, UnusableTilesetIsReportedAndTheMapStillOpens) {
    Start();
    WriteAll(work.File("broken.bmp"), std::vector<unsigned char>(200, 0x42));
    qm::WriteMapFile(work.File("b.map"), SampleMap(8, "broken.bmp"));
    const QImage before = win->State().Tileset.DesktopPalette[1];
    dialogs.FileAnswers = {WorkFile("b.map")};
    Trigger(Find<QAction>("Open"));
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(win->State().Tileset.TileSize, 48);
    EXPECT_EQ(win->State().Tileset.DesktopPalette[1], before);
    EXPECT_EQ(Map().Cell(5, 7).Upper, 8);
    EXPECT_EQ(Caption(), "QuillMarch - b.map");
}

TEST_F(AppTest, NewKeepsZoomAndTilesetAndUndoStaysInTheNewMap) {
    Start();
    Trigger(Find<QAction>("ZoomIn"));
    Map().Cell(10, 10).Upper = 50;
    Find<QAction>("ShowHidden")->trigger(); // unchecked
    ASSERT_EQ(Map().ShowHidden, 0);
    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    Trigger(Find<QAction>("New"));
    EXPECT_EQ(Map().Cell(10, 10).Upper, 0);
    EXPECT_EQ(Map().Zoom, 32);
    EXPECT_EQ(Map().ShowHidden, 1);
    EXPECT_TRUE(Find<QAction>("ShowHidden")->isChecked());
    Trigger(Find<QAction>("Undo"));
    EXPECT_EQ(Map().Cell(10, 10).Upper, 0); // the discarded map does not come back
}

TEST_F(AppTest, ZeroOrOddZoomFromAFileIsHarmless) {
    Start();
    for (uint8_t zoom : {uint8_t(0), uint8_t(1), uint8_t(50), uint8_t(255)}) {
        SCOPED_TRACE(int(zoom));
        qm::WriteMapFile(work.File("z.map"), SampleMap(3, "", zoom));
        dialogs.FileAnswers = {WorkFile("z.map")};
        Trigger(Find<QAction>("Open"));
        EXPECT_EQ(DrawGrid1()->DefaultColWidth(), zoom);
        DrawGrid1()->grab(); // paints every visible cell
        QTest::mouseClick(GridPort(), Qt::LeftButton, {}, QPoint(5, 5));
        Trigger(Find<QAction>("ZoomIn"));
        EXPECT_EQ(Map().Zoom, 96);
    }
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

} // namespace

TEST_F(AppTest, SaveDialogsStartInTheDocumentsFolderWhenTheProgramFolderIsReadOnly) {
    ASSERT_EQ(chmod(program.Path().c_str(), 0555), 0);
    Start();
    const struct {
        const char* action;
        bool inProgramFolder;
    } cases[] = {
        {"Open", true}, {"SaveAs", false}, {"ExportDisk", false}, {"ExportTiledMap1", false}, {"GeoSave", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        dialogs.FileDirs.clear();
        Trigger(Find<QAction>(c.action));
        ASSERT_EQ(dialogs.FileDirs.size(), 1);
        if (c.inProgramFolder) {
            EXPECT_EQ(dialogs.FileDirs[0], ProgramDir());
        } else {
            EXPECT_NE(dialogs.FileDirs[0], ProgramDir());
            EXPECT_TRUE(dialogs.FileDirs[0].startsWith(QDir::homePath())) << dialogs.FileDirs[0].toStdString();
        }
    }
    chmod(program.Path().c_str(), 0755);
}
