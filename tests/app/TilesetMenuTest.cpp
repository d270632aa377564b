// The Tileset submenu: Default, and Custom... through the real "Select Tileset" window.
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <memory>

#include "model/GeoSetRecord.h"
#include "model/RecordFile.h"
#include "tests/app/AppFixture.h"
#include "tiles/TilesetChooser.h"
#include "tiles/TilesetLookup.h"

using namespace qmtest;

namespace {

enum class Answer { PickAndOk, OkWithoutPick, Cancel };

struct ChooserCase {
    const char* pick; // file to select, or "" for none
    Answer answer;
    int tileSize;     // afterwards
    const char* name; // CurrentTilesetName afterwards
    bool renders;
    bool error;
    bool customIcons; // the tool bar shows the custom picture's icon strip
};

void SaveBmp(const std::string& path, int w, int h, QRgb fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    ASSERT_TRUE(img.save(QString::fromStdString(path), "BMP"));
}

TEST_F(AppTest, CustomTilesetChooser) {
    SaveBmp(program.File("small.bmp"), 512, 528, qRgb(200, 30, 30)); // with a marker strip
    WriteAll(program.File("broken.bmp"), std::vector<unsigned char>(64, 7));
    Start();
    const ChooserCase cases[] = {
        {"small.bmp", Answer::PickAndOk, 32, "small.bmp", true, false, true},
        {"small.bmp", Answer::Cancel, 32, "small.bmp", false, false, true},
        {"", Answer::OkWithoutPick, 48, "", true, false, false},
        {"small.bmp", Answer::PickAndOk, 32, "small.bmp", true, false, true},
        {"small.bmp", Answer::PickAndOk, 32, "small.bmp", true, false, true}, // the same file renders again
        {"broken.bmp", Answer::PickAndOk, 32, "broken.bmp", false, true, true},
    };
    for (const ChooserCase& c : cases) {
        SCOPED_TRACE(std::string(c.pick) + " " + std::to_string(int(c.answer)));
        dialogs.Errors.clear();
        const uint64_t generation = win->State().Tileset.Generation;
        QStringList listed;
        QTimer::singleShot(0, [&] {
            qm::TPaletteForm* form = windows.Palette.get();
            for (int i = 0; i < form->FileListBox->count(); ++i) listed << form->FileListBox->item(i)->text();
            if (c.answer == Answer::PickAndOk) {
                const auto items = form->FileListBox->findItems(c.pick, Qt::MatchExactly);
                if (!items.isEmpty()) items.first()->setSelected(true);
            }
            QTest::mouseClick(c.answer == Answer::Cancel ? form->CancelButton : form->OkButton, Qt::LeftButton);
        });
        Trigger(Find<QAction>("Custom1"));
        EXPECT_EQ(listed, QStringList({"broken.bmp", "small.bmp"}));
        EXPECT_EQ(win->State().Tileset.Generation != generation, c.renders);
        EXPECT_EQ(win->State().Tileset.TileSize, c.tileSize);
        EXPECT_EQ(win->State().Tileset.CurrentTilesetName, c.name);
        EXPECT_EQ(qm::MapTilesetName(Map()), c.name);
        EXPECT_EQ(dialogs.Errors.size(), c.error ? 1 : 0);
        const QImage icon = Find<QToolButton>("ToolButton24")->icon().pixmap(16, 16).toImage();
        EXPECT_EQ(QColor(icon.pixel(8, 8)) == QColor(200, 30, 30), c.customIcons);
    }
    // The chooser made the program folder the place where bare names are found.
    EXPECT_EQ(QDir::currentPath() + "/", ProgramDir());
}

TEST_F(AppTest, MapTilesetIsFoundBesideTheMapInTheProgramOrUserFolderElseSaid) {
    Start(); // the working folder is `work`, which holds no tileset
    TempDir maps;
    const QString user = qm::UserTilesetFolder();
    ASSERT_TRUE(QDir().mkpath(user));
    SaveBmp(maps.File("beside.bmp"), 512, 512, qRgb(1, 2, 3));
    SaveBmp(program.File("inprogram.bmp"), 512, 512, qRgb(1, 2, 3));
    SaveBmp((user + "mine.bmp").toStdString(), 512, 512, qRgb(1, 2, 3));
    const QString mapsDir = QString::fromStdString(maps.Path()) + "/";
    const struct {
        const char* tileset;
        QString source; // "" = the built-in art
    } cases[] = {{"beside.bmp", mapsDir + "beside.bmp"},
                 {"inprogram.bmp", ProgramDir() + "inprogram.bmp"},
                 {"mine.bmp", user + "mine.bmp"},
                 {"gone.bmp", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tileset);
        qm::TMapRecord m;
        qm::ResetMap(m, c.tileset, 16);
        qm::WriteMapFile(maps.File("m.map"), m);
        win->OpenMapFile(mapsDir + "m.map");
        EXPECT_EQ(win->State().Tileset.SourcePath, c.source);
        const QString said = Find<QStatusBar>("StatusBar1")->currentMessage();
        if (c.source.isEmpty()) EXPECT_EQ(said, "Tileset gone.bmp not found; showing the built-in tileset");
        else EXPECT_FALSE(said.contains("not found"));
        Find<QStatusBar>("StatusBar1")->clearMessage();
    }
    // The name stays in the map, so Save keeps it.
    Trigger(Find<QAction>("Save"));
    qm::TMapRecord saved;
    qm::ReadMapFile(maps.File("m.map"), saved);
    EXPECT_EQ(qm::MapTilesetName(saved), "gone.bmp");
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(AppTest, GeoSetTilesetIsFoundBesideTheGeoSet) {
    Start(); // the working folder holds no tileset
    TempDir geos;
    SaveBmp(geos.File("beside.bmp"), 512, 512, qRgb(1, 2, 3));
    auto geo = std::make_unique<qm::TGeoSetRecord>();
    qm::ClearGeoSetRecord(*geo, "beside.bmp");
    qm::WriteGeoSetFile(geos.File("g.geo"), *geo);
    win->State().GeoSetDocument.Open(QString::fromStdString(geos.File("g.geo")));
    EXPECT_EQ(win->State().Tileset.SourcePath, QString::fromStdString(geos.File("beside.bmp")));
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(AppTest, DefaultTilesetKeepsTheCells) {
    SaveBmp(program.File("small.bmp"), 512, 512, qRgb(10, 200, 10));
    Start();
    QDir::setCurrent(ProgramDir());
    qm::TMapRecord m;
    qm::ResetMap(m, "small.bmp", 16);
    m.Cell(7, 7).Upper = 99;
    qm::WriteMapFile(work.File("s.map"), m);
    dialogs.FileAnswers = {WorkFile("s.map")};
    Trigger(Find<QAction>("Open"));
    ASSERT_EQ(win->State().Tileset.TileSize, 32);
    // The map grid now draws the custom picture's solid green.
    DrawGrid1()->viewport()->update();
    const QImage before = DrawGrid1()->viewport()->grab().toImage();
    EXPECT_EQ(QColor(before.pixel(DrawGrid1()->CellRect(6, 6).center())), QColor(10, 200, 10));

    Trigger(Find<QAction>("Default1"));
    EXPECT_EQ(win->State().Tileset.TileSize, 48);
    EXPECT_EQ(qm::MapTilesetName(Map()), "");
    EXPECT_EQ(Map().Cell(7, 7).Upper, 99);
    const QImage after = DrawGrid1()->viewport()->grab().toImage();
    EXPECT_NE(QColor(after.pixel(DrawGrid1()->CellRect(6, 6).center())), QColor(10, 200, 10));
}

TEST_F(AppTest, ExitClosesTheMainWindow) {
    Start();
    Trigger(Find<QAction>("FileExitItem"));
    EXPECT_FALSE(win->isVisible());
}

} // namespace
