// File > Export Virtual Tabletop Map... through the real main window: its dialog, the
// file dialog, the question before replacing a file.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <cstring>

#include "export/FoundryOptionsDialog.h"
#include "export/VttOptionsDialog.h"
#include "tests/app/AppFixture.h"
#include "tiles/TilesetChooser.h"

namespace qmtest {

namespace {

// Answers the options dialog once it is up: pixels per cell, then OK or Cancel.
void AnswerOptions(int ppg, bool ok, bool* seenDefaults) {
    QTimer::singleShot(0, [=] {
        auto* dlg = qobject_cast<qm::TVttOptionsDialog*>(QApplication::activeModalWidget());
        if (!dlg) return;
        *seenDefaults = dlg->PixelsPerCellEdit->value() == 100 && !dlg->IncludeHiddenCheck->isChecked();
        dlg->PixelsPerCellEdit->setValue(ppg);
        auto* box = dlg->findChild<QDialogButtonBox*>("VttButtons");
        QTest::mouseClick(box->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel), Qt::LeftButton);
    });
}

} // namespace

TEST_F(AppTest, ExportVirtualTabletopMapFromTheFileMenu) {
    Start();
    Map().Cell(3, 3) = {13, 10, 0}; // a door
    Map().Cell(6, 6) = {46, 10, 0}; // a torch
    DrawGrid1()->SetSelection({1, 1, 7, 7});
    const QString path = WorkFile("keep.dd2vtt");

    bool defaults = false;
    dialogs.FileAnswers = {path};
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes}; // the selection, not the whole map
    AnswerOptions(40, true, &defaults);
    Trigger(Find<QAction>("ExportVirtualTabletopMap1"));
    EXPECT_TRUE(defaults);
    EXPECT_EQ(dialogs.LastSuffix, "dd2vtt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject j = QJsonDocument::fromJson(f.readAll()).object();
    f.close();
    EXPECT_EQ(j["resolution"].toObject()["pixels_per_grid"].toInt(), 40);
    // Points relative to the selection (which starts at column 2, row 2), origin 0.
    EXPECT_EQ(j["resolution"].toObject()["map_origin"].toObject()["x"].toInt(), 0);
    EXPECT_EQ(j["portals"].toArray()[0].toObject()["position"].toObject()["x"].toDouble(), 1.5);
    EXPECT_EQ(j["portals"].toArray()[0].toObject()["position"].toObject()["y"].toDouble(), 1.5);
    EXPECT_EQ(j["resolution"].toObject()["map_size"].toObject()["x"].toInt(), 7);
    EXPECT_EQ(j["portals"].toArray().size(), 1);
    EXPECT_EQ(j["lights"].toArray().size(), 1);
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString();

    // Replacing asks first; No leaves the file as it was. The dialog remembers 40.
    const qint64 size = QFileInfo(path).size();
    Map().Cell(6, 6) = {0, 10, 0};
    dialogs.FileAnswers = {path};
    dialogs.Confirms.clear();
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes, qm::TConfirm::No};
    AnswerOptions(40, true, &defaults);
    Trigger(Find<QAction>("ExportVirtualTabletopMap1"));
    EXPECT_FALSE(defaults);
    ASSERT_EQ(dialogs.Confirms.size(), 2);
    EXPECT_EQ(dialogs.Confirms[0], "Export the selection (7 x 7 cells) or the whole map?");
    EXPECT_EQ(dialogs.Confirms[1], "OK to overwrite " + path);
    EXPECT_EQ(QFileInfo(path).size(), size);

    // Cancel in the options dialog asks for no file at all.
    dialogs.FileAnswers = {WorkFile("other.dd2vtt")};
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
    AnswerOptions(40, false, &defaults);
    Trigger(Find<QAction>("ExportVirtualTabletopMap1"));
    EXPECT_EQ(dialogs.FileAnswers.size(), 1u);
    EXPECT_FALSE(QFile::exists(WorkFile("other.dd2vtt")));
}

// File > Export Foundry Scene...: the scene and its picture side by side, the game master's
// secret door as a secret door; replacing either file asks once, naming both.
TEST_F(AppTest, ExportFoundrySceneFromTheFileMenu) {
    Start();
    const uint8_t thin[3][3] = {{6, 35, 7}, {5, 0, 12}, {9, 4, 8}}; // a secret door in the north wall
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) Map().Cell(3 + c, 3 + r) = {thin[r][c], 10, 0};
    auto answer = [&](bool master) {
        QTimer::singleShot(0, [=] {
            auto* dlg = qobject_cast<qm::TFoundryOptionsDialog*>(QApplication::activeModalWidget());
            if (!dlg) return;
            dlg->PixelsPerCellEdit->setValue(40);
            dlg->IncludeHiddenCheck->setChecked(master);
            dlg->PictureFolderEdit->setText("worlds/keep");
            QTest::mouseClick(dlg->findChild<QDialogButtonBox*>("FoundryButtons")->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
    };
    const QString path = WorkFile("keep.json");
    dialogs.FileAnswers = {path};
    answer(true);
    Trigger(Find<QAction>("ExportFoundryScene1"));
    EXPECT_EQ(dialogs.LastSuffix, "json");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject j = QJsonDocument::fromJson(f.readAll()).object();
    f.close();
    EXPECT_EQ(j["name"].toString(), "Untitled");
    EXPECT_EQ(j["grid"].toObject()["size"].toInt(), 40);
    EXPECT_EQ(j["background"].toObject()["src"].toString(), "worlds/keep/keep.png");
    int secret = 0;
    for (const auto& w : j["walls"].toArray()) secret += w.toObject()["door"].toInt() == 2;
    EXPECT_EQ(secret, 1);
    EXPECT_EQ(QImage(WorkFile("keep.png")).width(), 72 * 40);
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString();

    dialogs.FileAnswers = {path};
    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    answer(false);
    Trigger(Find<QAction>("ExportFoundryScene1"));
    ASSERT_EQ(dialogs.Confirms.size(), 1);
    EXPECT_EQ(dialogs.Confirms[0], "OK to overwrite " + path + ", " + WorkFile("keep.png"));
}

// The tabletop picks its cell size; a file over its limit is refused with an offer of the
// largest cell size that fits.
TEST_F(AppTest, TabletopTargetOffersTheLargestSizeThatFits) {
    Start();
    auto answer = [&](int target, int ppg, int* shownPpg) {
        QTimer::singleShot(0, [=] {
            auto* dlg = qobject_cast<qm::TVttOptionsDialog*>(QApplication::activeModalWidget());
            if (!dlg) return;
            dlg->TargetCombo->setCurrentIndex(target);
            *shownPpg = dlg->PixelsPerCellEdit->value();
            dlg->PixelsPerCellEdit->setValue(ppg);
            QTest::mouseClick(dlg->findChild<QDialogButtonBox*>("VttButtons")->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
    };
    int shown = 0;
    const QString path = WorkFile("big.dd2vtt");
    dialogs.FileAnswers = {path};
    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    answer(int(qm::TVttTarget::Owlbear), 167, &shown);
    Trigger(Find<QAction>("ExportVirtualTabletopMap1"));
    EXPECT_EQ(shown, 100);
    ASSERT_EQ(dialogs.Confirms.size(), 1);
    EXPECT_NE(dialogs.Confirms[0].indexOf("takes at most 144 million pixels"), -1) << dialogs.Confirms[0].toStdString();
    EXPECT_TRUE(dialogs.Confirms[0].endsWith("Export at 166 pixels per cell, the largest size that fits?"));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(dialogs.Errors.isEmpty());

    // Roll20's own cell size; the dialog's choice is left as generic for the tests after.
    answer(int(qm::TVttTarget::Roll20), 100, &shown);
    Trigger(Find<QAction>("ExportVirtualTabletopMap1"));
    EXPECT_EQ(shown, 70);
    answer(int(qm::TVttTarget::Generic), 100, &shown);
    Trigger(Find<QAction>("ExportVirtualTabletopMap1"));
}

// The symbol table follows the tileset: a side file's mistake is shown with its line and
// leaves only the terrain roles; the default tileset brings the built-in table back.
TEST_F(AppTest, SymbolTableFollowsTheTileset) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(QM_PROGRAM_DIR "/parchment.bmp"), ProgramDir() + "cave.bmp"));
    auto roles = [&](const char* text) {
        WriteAll(program.File("cave.roles"), std::vector<unsigned char>(text, text + std::strlen(text)));
    };
    auto choose = [&] {
        QTimer::singleShot(0, [&] {
            qm::TPaletteForm* form = windows.Palette.get();
            form->FileListBox->findItems("cave.bmp", Qt::MatchExactly).first()->setSelected(true);
            QTest::mouseClick(form->OkButton, Qt::LeftButton);
        });
        Trigger(Find<QAction>("Custom1"));
    };
    Start();
    EXPECT_EQ(win->State().Symbols[46].name, "Torch");

    roles("46 lamp range=3 Glow worms\n");
    choose();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors[0],
              "cave.roles, line 1: unknown role \"lamp\" (use none, wall, door, window, obstacle or light).");
    EXPECT_EQ(win->State().Tileset.CurrentTilesetName, "cave.bmp");
    EXPECT_EQ(win->State().Symbols[46].role, qm::SymbolRole::None);
    EXPECT_EQ(win->State().Symbols[140].role, qm::SymbolRole::Wall);

    roles("46 light range=3 Glow worms\n");
    choose();
    EXPECT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(win->State().Symbols[46].name, "Glow worms");

    Trigger(Find<QAction>("Default1"));
    EXPECT_EQ(win->State().Symbols[46].name, "Torch");
}

} // namespace qmtest
