// The commands that hand the map to other windows, driven through the real main window.
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <cstring>

#include "export/ExportPicture.h"
#include "geoset/MapletEditor.h"
#include "model/RecordFile.h"
#include "preview/PreviewWindow.h"
#include "preview/PrintPreview.h"
#include "preview/Printer.h"
#include "print/PrintOptionsDialog.h"
#include "tests/app/AppFixture.h"
#include "tests/support/RecordingPrinter.h"

namespace qmtest {

namespace {
class DocumentTest : public AppTest {
protected:
    bool MapIsEmpty() {
        for (int x = 1; x <= 72; ++x)
            for (int y = 1; y <= 72; ++y)
                if (Map().Cell(x, y).Upper || Map().Cell(x, y).Lower) return false;
        return true;
    }
};
} // namespace

// File > Print: the dialog's choices, the preview, its Print button and the print run
// all meet: the whole map at one inch a cell is 121 pages on a letter sheet at 600 dpi.
TEST_F(DocumentTest, PrintRunsFromTheDialogThroughThePreviewToThePrinter) {
    qm::TRecordingPrinter printer;
    printer.SetGeometry(600, 600, QSize(5100, 6600));
    qm::SetPrinter(&printer);
    Start();
    Map().Cell(3, 3).Lower = 1;
    qm::TPrintOptions* dialog = windows.PrintOptions.get();
    bool previewShown = false;
    QTimer::singleShot(0, [&] {
        dialog->ScaleCombo->setCurrentIndex(4); // 1.00"
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        QTimer::singleShot(0, [&] {
            qm::TPreviewForm* form = win->findChild<qm::TPreviewForm*>();
            ASSERT_NE(form, nullptr);
            previewShown = form->isVisible();
            QTest::mouseClick(form->PrintBut, Qt::LeftButton);
        });
    });
    Trigger(Find<QAction>("Print"));
    EXPECT_TRUE(previewShown);
    EXPECT_EQ(dialogs.PrintDialogsShown, 1);
    EXPECT_EQ(printer.PagesPrinted(), 121);
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString();

    // Cancel keeps the choice for the next Print but opens nothing.
    QTimer::singleShot(0, [&] { QTest::mouseClick(dialog->Button2, Qt::LeftButton); });
    Trigger(Find<QAction>("Print"));
    EXPECT_EQ(dialogs.PrintDialogsShown, 1);
    EXPECT_EQ(dialog->ScaleCombo->currentIndex(), 4);
    qm::SetPrinter(nullptr);
}

TEST_F(DocumentTest, RandomMapAndRandomMapletFromTheShippedGeoSet) {
    StartWithDefaultGeoSet();
    ASSERT_TRUE(Find<QAction>("GenerateRandomMap1")->isEnabled());
    ASSERT_TRUE(MapIsEmpty());
    Map().Cell(3, 3) = {40, 17, 9}; // something of the user's that must come back
    const qm::TMapRecord before = Map();

    QTest::keyClick(win, Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(MapIsEmpty());
    const qm::TMapRecord generated = Map();
    EXPECT_TRUE(win->isWindowModified());
    Trigger(Find<QAction>("Undo")); // the whole previous map, byte for byte
    EXPECT_EQ(std::memcmp(&Map(), &before, sizeof before), 0);
    Trigger(Find<QAction>("Undo"));
    EXPECT_EQ(std::memcmp(&Map(), &generated, sizeof generated), 0);

    // Insert Random Maplet at the top-right: clipped to columns 66..72, and undoable.
    const qm::TMapRecord beforeInsert = Map();
    DrawGrid1()->SetSelection({65, 0, 65, 0});
    QTest::keyClick(win, Qt::Key_M, Qt::ControlModifier);
    for (int x = 1; x <= 65; ++x)
        for (int y = 1; y <= 72; ++y)
            ASSERT_EQ(std::memcmp(&Map().Cell(x, y), &beforeInsert.Cell(x, y), 3), 0) << x << "," << y;
    Trigger(Find<QAction>("Undo"));
    EXPECT_EQ(std::memcmp(&Map(), &beforeInsert, sizeof beforeInsert), 0);
}

TEST_F(DocumentTest, GeoSetMenuShowsTheMapletEditorOnTheRecord) {
    StartWithDefaultGeoSet();
    win->State().GeoSetDocument.GeoSet.Position = 5;
    win->State().GeoSetDocument.GeoSet.Section = 3;
    qm::TGeoEditForm* form = windows.GeoEdit.get();
    bool shown = false;
    int position = -1, section = -1;
    QTimer::singleShot(0, [&] {
        shown = form->isVisible() && form->isModal();
        position = form->PositionBox->currentIndex();
        section = form->SectionBox->currentIndex();
        form->close();
    });
    Trigger(Find<QAction>("Geoset1"));
    EXPECT_TRUE(shown);
    EXPECT_EQ(position, 4);
    EXPECT_EQ(section, 2);
}

TEST_F(DocumentTest, PictureExportsFromTheMenus) {
    Start();
    Map().Cell(1, 1).Lower = 1;
    Map().Cell(72, 72).Lower = 16;
    const int zoom = DrawGrid1()->DefaultColWidth();

    dialogs.FileAnswers = {WorkFile("whole.png")};
    Trigger(Find<QAction>("ExportImage1"));
    QImage whole(WorkFile("whole.png"));
    EXPECT_EQ(whole.size(), QSize(72 * zoom, 72 * zoom));

    // A selection of more than one cell is asked about: the region, the whole map, or nothing.
    DrawGrid1()->SetSelection({2, 3, 5, 4});
    const struct {
        qm::TConfirm answer;
        const char* file;
        QSize size; // 0 x 0: nothing written
    } cases[] = {{qm::TConfirm::Yes, "part.bmp", QSize(4 * zoom, 2 * zoom)},
                 {qm::TConfirm::No, "all.bmp", QSize(72 * zoom, 72 * zoom)},
                 {qm::TConfirm::Cancel, "none.bmp", QSize(0, 0)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        dialogs.Confirms.clear();
        dialogs.ConfirmAnswers = {c.answer};
        dialogs.FileAnswers = {WorkFile(c.file)};
        Trigger(Find<QAction>("ExportImage1"));
        EXPECT_EQ(dialogs.Confirms, QStringList{"Export the selection (4 x 2 cells) or the whole map?"});
        EXPECT_EQ(QImage(WorkFile(c.file)).size(), c.size);
    }

    dialogs.FileAnswers = {WorkFile("tiles.jpg")};
    Trigger(Find<QAction>("ExportTiledMapImages1"));
    for (const char* name :
         {"tiles-top-left.jpg", "tiles-top-right.jpg", "tiles-bottom-left.jpg", "tiles-bottom-right.jpg"})
        EXPECT_EQ(QImage(WorkFile(name)).size(), QSize(36 * zoom, 36 * zoom)) << name;

    dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
    Trigger(Find<QAction>("CopyImage1"));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(4 * zoom, 2 * zoom));
    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    Trigger(Find<QAction>("CopyImage1"));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(72 * zoom, 72 * zoom));
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString();
}

} // namespace qmtest

namespace qmtest {

// Export Image and Copy Image ask which copy: the offer follows Show Hidden until the user
// changes it, then stays for the run; the players' copy leaves hidden symbols out.
TEST_F(DocumentTest, PictureExportsWriteThePlayerCopyWhenAsked) {
    Start();
    Map().Cell(3, 3).Upper = 35; // hidden
    Map().Cell(5, 4).Lower = 17;
    Map().Zoom = 8;
    qm::TMapRecord players = Map(), master = Map();
    players.ShowHidden = 0;
    master.ShowHidden = 1;
    const QImage playersPicture = qm::ComposeMapPicture(players, win->State().Tileset, qm::WholeMapArea, 16);
    ASSERT_NE(playersPicture, qm::ComposeMapPicture(master, win->State().Tileset, qm::WholeMapArea, 16));
    ASSERT_TRUE(Find<QAction>("ShowHidden")->isChecked());
    struct Step {
        const char* action;
        std::deque<bool> answer;
        bool offered, players;
    } steps[] = {
        {"ExportDisk", {}, false, false},    // follows Show Hidden: the game master's copy
        {"ExportDisk", {true}, false, true}, // ticked
        {"ExportClipboard", {}, true, true}, // remembered, whatever Show Hidden says
        {"ExportClipboard", {false}, true, false}, {"ExportDisk", {}, false, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.action) + " " + std::to_string(&s - steps));
        dialogs.PlayerCopyOffered.clear();
        dialogs.PlayerCopyAnswers = s.answer;
        dialogs.FileAnswers = {WorkFile("p.png")};
        dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
        QGuiApplication::clipboard()->clear();
        Trigger(Find<QAction>(s.action));
        EXPECT_EQ(dialogs.PlayerCopyOffered, QList<bool>{s.offered});
        const QImage got = std::string(s.action) == "ExportDisk" ? QImage(WorkFile("p.png"))
                                                                 : QGuiApplication::clipboard()->image();
        EXPECT_EQ(got.convertToFormat(QImage::Format_RGB32) == playersPicture.convertToFormat(QImage::Format_RGB32),
                  s.players);
    }
    EXPECT_TRUE(Map().ShowHidden); // the map's own setting is not touched
    // Cancelled: nothing is asked or written after it.
    dialogs.PictureCopyAccept = false;
    dialogs.FileDirs.clear();
    Trigger(Find<QAction>("ExportDisk"));
    EXPECT_TRUE(dialogs.FileDirs.isEmpty());
}

// Save As and the exports propose the map's name with their extension: in the map's folder,
// an export in this run's last export folder; an untitled map never in the program folder.
TEST_F(DocumentTest, SaveAndExportDialogsProposeTheMapsName) {
    Start();
    const struct {
        const char* action;
        const char* suffix;
    } dialogsAsked[] = {
        {"SaveAs", "map"}, {"ExportDisk", "png"}, {"ExportDiskTiled", "png"}, {"ExportTiledMap1", "tmx"}};
    auto offered = [&](const char* action) {
        dialogs.FileDirs.clear();
        Trigger(Find<QAction>(action));
        return dialogs.FileDirs.value(0);
    };
    for (const auto& d : dialogsAsked) {
        const QString dir = offered(d.action);
        EXPECT_TRUE(dir.endsWith(QStringLiteral("/Untitled.") + d.suffix)) << dir.toStdString();
        EXPECT_FALSE(dir.startsWith(ProgramDir())) << dir.toStdString();
    }
    TempDir maps, pictures;
    qm::WriteMapFile(maps.File("crypt.map"), Map());
    win->OpenMapFile(QString::fromStdString(maps.File("crypt.map")));
    for (const auto& d : dialogsAsked)
        EXPECT_EQ(offered(d.action), QString::fromStdString(maps.File("crypt.")) + d.suffix) << d.action;
    dialogs.FileAnswers = {QString::fromStdString(pictures.File("view.png"))};
    Trigger(Find<QAction>("ExportDisk"));
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pictures.File("view.png"))));
    EXPECT_EQ(offered("ExportDisk"), QString::fromStdString(pictures.File("crypt.png")));
    EXPECT_EQ(offered("SaveAs"), QString::fromStdString(maps.File("crypt.map")));
}

} // namespace qmtest
