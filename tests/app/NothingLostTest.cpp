// Unsaved changes: the question before New, Open and closing, undo kept within one
// document, files that are not maps, and export over existing pictures.
#include <QFile>

#include "geoset/MapletEditor.h"
#include "model/RecordFile.h"
#include "tests/app/AppFixture.h"

using namespace qmtest;

namespace {

std::vector<unsigned char> Bytes(const qm::TMapRecord& m) {
    auto p = reinterpret_cast<const unsigned char*>(&m);
    return {p, p + sizeof m};
}

qm::TMapRecord MarkedMap(uint8_t mark) {
    qm::TMapRecord m;
    qm::ResetMap(m, "", 16);
    m.Cell(2, 2).Upper = mark;
    return m;
}

class NothingLostTest : public AppTest {
protected:
    // Opens a.map and draws one cell through the real grid: the map is modified.
    void OpenAndDraw() {
        qm::WriteMapFile(work.File("a.map"), MarkedMap(5));
        win->OpenMapFile(WorkFile("a.map"));
        win->SymbolGridSelectCell(0, 17);
        QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(3, 4));
        ASSERT_EQ(Map().Cell(4, 5).Lower, 17);
    }
};

enum class TPromptTrigger { New, Open, Exit, CloseBox };

struct PromptCase {
    TPromptTrigger trigger;
    qm::TConfirm answer;
    bool goesOn; // the command runs after the answer
};

const PromptCase PromptCases[] = {
    {TPromptTrigger::New, qm::TConfirm::Yes, true},      {TPromptTrigger::New, qm::TConfirm::No, true},
    {TPromptTrigger::New, qm::TConfirm::Cancel, false},  {TPromptTrigger::Open, qm::TConfirm::Yes, true},
    {TPromptTrigger::Open, qm::TConfirm::No, true},      {TPromptTrigger::Open, qm::TConfirm::Cancel, false},
    {TPromptTrigger::Exit, qm::TConfirm::Yes, true},     {TPromptTrigger::Exit, qm::TConfirm::No, true},
    {TPromptTrigger::Exit, qm::TConfirm::Cancel, false}, {TPromptTrigger::CloseBox, qm::TConfirm::Yes, true},
    {TPromptTrigger::CloseBox, qm::TConfirm::No, true},  {TPromptTrigger::CloseBox, qm::TConfirm::Cancel, false},
};

TEST_F(NothingLostTest, ModifiedMapAsksSaveDiscardOrCancelOnEveryTrigger) {
    qm::WriteMapFile(work.File("b.map"), MarkedMap(9));
    for (const PromptCase& c : PromptCases) {
        SCOPED_TRACE(testing::Message() << int(c.trigger) << " answer " << int(c.answer));
        windows = {};
        Start();
        OpenAndDraw();
        const auto drawn = Bytes(Map());
        const auto onDisk = ReadAll(work.File("a.map"));
        EXPECT_EQ(Caption(), "QuillMarch - a.map*");
        dialogs.Confirms.clear();
        dialogs.ConfirmAnswers = {c.answer};
        dialogs.FileAnswers = {WorkFile("b.map")};
        switch (c.trigger) {
        case TPromptTrigger::New: Find<QAction>("New")->trigger(); break;
        case TPromptTrigger::Open: Find<QAction>("Open")->trigger(); break;
        case TPromptTrigger::Exit: Find<QAction>("FileExitItem")->trigger(); break;
        case TPromptTrigger::CloseBox: win->close(); break;
        }
        EXPECT_EQ(dialogs.Confirms, QStringList{"Save changes to a.map?"});
        EXPECT_EQ(ReadAll(work.File("a.map")), c.answer == qm::TConfirm::Yes ? drawn : onDisk);
        if (!c.goesOn) {
            EXPECT_EQ(Bytes(Map()), drawn);
            EXPECT_TRUE(win->isVisible());
            EXPECT_EQ(Caption(), "QuillMarch - a.map*");
            continue;
        }
        switch (c.trigger) {
        case TPromptTrigger::New: EXPECT_EQ(Caption(), "QuillMarch"); break;
        case TPromptTrigger::Open: EXPECT_EQ(Caption(), "QuillMarch - b.map"); break;
        default: EXPECT_FALSE(win->isVisible());
        }
    }
}

TEST_F(NothingLostTest, SaveOfAnUntitledMapThatIsCancelledStopsTheCommand) {
    Start();
    win->SymbolGridSelectCell(0, 17);
    QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(1, 1));
    EXPECT_EQ(Caption(), "QuillMarch*");
    const auto drawn = Bytes(Map());
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
    dialogs.FileAnswers = {""}; // Save As cancelled
    Find<QAction>("New")->trigger();
    EXPECT_EQ(dialogs.Confirms, QStringList{"Save changes to Untitled?"});
    EXPECT_EQ(Bytes(Map()), drawn);
    // Save As that succeeds: New goes on with a clean map.
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
    dialogs.FileAnswers = {WorkFile("named.map")};
    Find<QAction>("New")->trigger();
    EXPECT_EQ(ReadAll(work.File("named.map")), drawn);
    EXPECT_EQ(Caption(), "QuillMarch");
}

TEST_F(NothingLostTest, ViewSettingsAndCopyDoNotMarkTheMapModified) {
    Start();
    Find<QAction>("ZoomIn")->trigger();
    win->SymbolGridSelectCell(0, 30);
    Find<QAction>("Copy")->trigger();
    EXPECT_FALSE(win->isWindowModified());
    Find<QAction>("SetBackground1")->trigger();
    EXPECT_TRUE(win->isWindowModified());
}

TEST_F(NothingLostTest, UndoRightAfterOpenOrNewNeverBringsAnotherDocument) {
    Start();
    OpenAndDraw();
    qm::WriteMapFile(work.File("b.map"), MarkedMap(9));
    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    dialogs.FileAnswers = {WorkFile("b.map")};
    Find<QAction>("Open")->trigger();
    Find<QAction>("Undo")->trigger();
    EXPECT_EQ(Bytes(Map()), ReadAll(work.File("b.map")));
    EXPECT_FALSE(win->isWindowModified());
    Find<QAction>("Save")->trigger();
    EXPECT_EQ(Bytes(Map()), ReadAll(work.File("b.map")));

    Find<QAction>("New")->trigger();
    Find<QAction>("Undo")->trigger();
    EXPECT_EQ(Map().Cell(2, 2).Upper, 0);
}

TEST_F(NothingLostTest, AFileThatIsNotAMapIsOnlyReplacedAfterSaveAsConfirms) {
    Start();
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    png.resize(401, 0x5a);
    WriteAll(work.File("photo.png"), png);
    win->OpenMapFile(WorkFile("photo.png"));
    EXPECT_EQ(Caption(), "QuillMarch - photo.png");
    EXPECT_EQ(dialogs.Errors,
              QStringList{"photo.png is not a Quillmarch map (401 bytes); it was read as one. Save will "
                          "ask for a new name."});

    // Save asks for a name; the picture's own name is refused at the overwrite question.
    dialogs.FileAnswers = {WorkFile("photo.png")};
    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    Find<QAction>("Save")->trigger();
    EXPECT_EQ(dialogs.Confirms, QStringList{"OK to overwrite " + WorkFile("photo.png")});
    EXPECT_EQ(ReadAll(work.File("photo.png")), png);

    dialogs.FileAnswers = {WorkFile("photo.png")};
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
    Find<QAction>("Save")->trigger();
    EXPECT_EQ(ReadAll(work.File("photo.png")), Bytes(Map()));
    // Now it is a map: the next Save writes without asking.
    Find<QAction>("Save")->trigger();
    EXPECT_TRUE(dialogs.FileAnswers.empty());
    EXPECT_EQ(dialogs.Confirms.size(), 2);
}

TEST_F(NothingLostTest, ExportOverExistingFilesAsksOnceAndNoWritesNothing) {
    Start();
    const std::vector<unsigned char> old = {1, 2, 3};
    WriteAll(work.File("pic.png"), old);
    WriteAll(work.File("t-top-right.png"), old);
    WriteAll(work.File("t-bottom-left.png"), old);

    dialogs.FileAnswers = {WorkFile("pic.png")};
    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    Find<QAction>("ExportDisk")->trigger();
    dialogs.FileAnswers = {WorkFile("t.png")};
    dialogs.ConfirmAnswers = {qm::TConfirm::Cancel};
    Find<QAction>("ExportDiskTiled")->trigger();
    EXPECT_EQ(dialogs.Confirms, QStringList({"OK to overwrite " + WorkFile("pic.png") + "?",
                                             "OK to overwrite " + WorkFile("t-top-right.png") + ", " +
                                                 WorkFile("t-bottom-left.png") + "?"}));
    EXPECT_EQ(work.List(), (std::vector<std::string>{"pic.png", "t-bottom-left.png", "t-top-right.png"}));
    EXPECT_EQ(ReadAll(work.File("pic.png")), old);

    dialogs.FileAnswers = {WorkFile("t.png")};
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
    Find<QAction>("ExportDiskTiled")->trigger();
    EXPECT_EQ(QImage(WorkFile("t-top-right.png")).width(), 36 * 16);
    EXPECT_EQ(work.List().size(), 5u);
}

TEST_F(NothingLostTest, MapletEditorAsksAboutItsGeoSet) {
    Start();
    qm::TGeoEditForm* form = windows.GeoEdit.get();
    form->show();
    auto paint = [&] {
        form->GeoSymbolGridSelectCell(0, 40);
        QTest::mouseClick(form->GeoGrid->viewport(), Qt::LeftButton, {}, form->GeoGrid->CellRect(2, 2).center());
    };
    paint();
    EXPECT_TRUE(form->isWindowModified());
    const qm::TGeoSetRecord painted = win->State().GeoSetDocument.GeoSet;

    dialogs.ConfirmAnswers = {qm::TConfirm::Cancel};
    Find<QAction>("GeoNew")->trigger();
    EXPECT_EQ(std::memcmp(&win->State().GeoSetDocument.GeoSet, &painted, sizeof painted), 0);
    dialogs.ConfirmAnswers = {qm::TConfirm::Cancel};
    Find<QAction>("GeoOpen")->trigger();
    EXPECT_EQ(dialogs.FileDirs.size(), 0); // no file dialog after Cancel

    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    Find<QAction>("GeoNew")->trigger();
    EXPECT_EQ(win->State().GeoSetDocument.GeoSet.Maplet(1, 1).Cell(3, 3).Upper, 0);
    EXPECT_FALSE(form->isWindowModified());

    // Closing the program: the GeoSet is saved under the name the user gives.
    paint();
    form->hide();
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
    dialogs.FileAnswers = {WorkFile("mine.geo")};
    EXPECT_TRUE(win->close());
    EXPECT_EQ(dialogs.Confirms, QStringList({"Save changes to Untitled GeoSet?", "Save changes to Untitled GeoSet?",
                                             "Save changes to Untitled GeoSet?", "Save changes to Untitled GeoSet?"}));
    EXPECT_EQ(ReadAll(work.File("mine.geo")).size(), sizeof(qm::TGeoSetRecord));
}

} // namespace
