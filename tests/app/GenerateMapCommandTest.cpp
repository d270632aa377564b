// File > Generate Map...: the dialog from its shortcut, its preview, and the map it makes
// as one undoable change.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTimer>
#include <cstring>

#include "generate/GenerateMapDialog.h"
#include "model/MapKey.h"
#include "tests/app/AppFixture.h"

namespace qmtest {

namespace {

class GenerateCommandTest : public AppTest {
protected:
    // Opens the dialog (the first time with Ctrl+Shift+R), lets `drive` work it, and returns
    // what it offered.
    qm::TGenerateOptions Drive(const std::function<void(qm::TGenerateMapDialog&)>& drive) {
        qm::TGenerateOptions seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = win->findChild<qm::TGenerateMapDialog*>();
            ASSERT_NE(dialog, nullptr);
            drive(*dialog);
            seen = dialog->Options();
        });
        if (first_) QTest::keyClick(win, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        else Trigger(Find<QAction>("GenerateMap1"));
        first_ = false;
        EXPECT_NE(seen.Seed, 0u) << "the dialog did not open";
        return seen;
    }
    bool first_ = true;
};

TEST_F(GenerateCommandTest, PreviewFollowsTheControlsAndOkMakesOneUndoableChange) {
    Start();
    Map().Cell(3, 3) = {40, 17, 9};
    const qm::TMapRecord before = Map();
    qm::TMapRecord previewed{};
    qm::TMapKey previewedKey;
    const qm::TGenerateOptions o = Drive([&](qm::TGenerateMapDialog& d) {
        // The picture is drawn off the window's thread: each change shows when it is ready.
        const auto shown = [&](const std::function<void()>& change) {
            QSignalSpy spy(&d, &qm::TGenerateMapDialog::PreviewShown);
            change();
            EXPECT_TRUE(spy.wait(10000)) << "no preview";
            return d.Preview->pixmap().toImage();
        };
        const QImage first = shown([&] { d.SeedEdit->setText(QStringLiteral("4711")); });
        const QImage caves = shown([&] { d.StyleCombo->setCurrentIndex(int(qm::TGenStyle::Caves)); });
        EXPECT_NE(caves, first) << "the preview follows the style";
        EXPECT_EQ(caves, qm::MapPreviewPicture(d.PreviewMap(), win->State().Tileset, 6).convertToFormat(caves.format()))
            << "the cached cells draw what the cells themselves draw";
        EXPECT_NE(shown([&] { d.DensityCombo->setCurrentIndex(int(qm::TGenDensity::Many)); }), caves)
            << "the preview follows the density";
        // Typed fast, the pictures of the seeds passed over are dropped for the last one.
        const QImage last = shown([&] {
            for (const char* seed : {"1", "12", "123", "1234"}) d.SeedEdit->setText(QString::fromLatin1(seed));
        });
        QCoreApplication::processEvents();
        EXPECT_EQ(d.Preview->pixmap().toImage(), last);
        EXPECT_EQ(last, qm::MapPreviewPicture(d.PreviewMap(), win->State().Tileset, 6).convertToFormat(last.format()));
        const QString seed = d.SeedEdit->text();
        QTest::mouseClick(d.NewSeedButton, Qt::LeftButton);
        EXPECT_NE(d.SeedEdit->text(), seed);
        d.SeedEdit->setText(QStringLiteral("4711"));
        d.SeedEdit->setText(QStringLiteral("99999999999"));
        EXPECT_FALSE(d.OkButton->isEnabled()) << "a seed beyond 32 bits";
        d.SeedEdit->setText(QStringLiteral("4711"));
        EXPECT_FALSE(d.SelectionRadio->isEnabled()) << "no selection to draw into";
        previewed = d.PreviewMap();
        previewedKey = d.GeneratedKey();
        QTest::mouseClick(d.OkButton, Qt::LeftButton);
    });
    EXPECT_EQ(o.Style, qm::TGenStyle::Caves);
    const qm::TMapKey& key = win->State().Document.CurrentKey;
    EXPECT_FALSE(key.Entries.empty()) << "the caverns are numbered";
    EXPECT_EQ(key, previewedKey) << "the key comes with the map, in the same step";
    EXPECT_EQ(o.Seed, 4711u);
    EXPECT_EQ(std::memcmp(&Map(), &previewed, sizeof previewed), 0) << "OK gives what the preview showed";
    EXPECT_NE(std::memcmp(&Map(), &before, sizeof before), 0);
    EXPECT_TRUE(win->isWindowModified());
    Trigger(Find<QAction>("Undo"));
    EXPECT_EQ(std::memcmp(&Map(), &before, sizeof before), 0);
    EXPECT_TRUE(key.Entries.empty());
}

TEST_F(GenerateCommandTest, SelectionIsTheAreaAndCancelChangesNothing) {
    Start();
    for (int x = 1; x <= 72; ++x)
        for (int y = 1; y <= 72; ++y) Map().Cell(x, y).Lower = 16;
    const qm::TMapRecord before = Map();
    DrawGrid1()->SetSelection({10, 20, 40, 50});
    Drive([&](qm::TGenerateMapDialog& d) {
        ASSERT_TRUE(d.SelectionRadio->isEnabled());
        d.SelectionRadio->setChecked(true);
        d.reject();
    });
    EXPECT_EQ(std::memcmp(&Map(), &before, sizeof before), 0);
    const qm::TGenerateOptions o = Drive([&](qm::TGenerateMapDialog& d) {
        d.SelectionRadio->setChecked(true);
        QTest::mouseClick(d.OkButton, Qt::LeftButton);
    });
    EXPECT_EQ(o.Area, (qm::TGridRect{10, 20, 40, 50}));
    int changed = 0;
    for (int x = 1; x <= 72; ++x)
        for (int y = 1; y <= 72; ++y) {
            const bool inside = x >= 11 && x <= 41 && y >= 21 && y <= 51;
            const bool same = std::memcmp(&Map().Cell(x, y), &before.Cell(x, y), 3) == 0;
            if (!inside) {
                ASSERT_TRUE(same) << x << "," << y;
            }
            changed += !same;
        }
    EXPECT_GT(changed, 100);
}

// Three levels: the preview shows the one picked under it; OK asks once for a name, asks
// before overwriting naming the files there, writes every level and key, and opens level 1.
TEST_F(GenerateCommandTest, LevelsAreSavedTogetherAndTheFirstOpens) {
    Start();
    const std::string stack = work.File("deep.map");
    qm::WriteFileAtomic(work.File("deep-2.key.md"), "old", 3);
    dialogs.FileAnswers = {QString::fromStdString(stack), QString::fromStdString(stack)};
    dialogs.ConfirmAnswers = {qm::TConfirm::Cancel, qm::TConfirm::Yes};
    qm::TMapRecord shown2{};
    for (int run = 0; run < 2; ++run)
        Drive([&](qm::TGenerateMapDialog& d) {
            d.SeedEdit->setText(QStringLiteral("77"));
            d.StyleCombo->setCurrentIndex(int(qm::TGenStyle::Keep));
            EXPECT_FALSE(d.LevelsCombo->isEnabled()) << "a keep has one level";
            d.StyleCombo->setCurrentIndex(int(qm::TGenStyle::Dungeon));
            // The picture is drawn off the window's thread: each change shows when it is ready.
            const auto shown = [&](const std::function<void()>& change) {
                QSignalSpy spy(&d, &qm::TGenerateMapDialog::PreviewShown);
                change();
                EXPECT_TRUE(spy.wait(10000)) << "no preview";
                return d.Preview->pixmap().toImage();
            };
            const QImage first = shown([&] { d.LevelsCombo->setCurrentIndex(2); });
            ASSERT_EQ(d.LevelTabs->count(), 3);
            EXPECT_TRUE(d.LevelTabs->isVisible() || !d.isVisible());
            EXPECT_NE(shown([&] { d.LevelTabs->setCurrentIndex(1); }), first) << "the switch shows level 2";
            d.BelowCombo->setCurrentIndex(2);
            EXPECT_EQ(d.GeneratedLevels().at(1).Options.Style, qm::TGenStyle::Caves) << "caves below";
            d.BelowCombo->setCurrentIndex(0);
            EXPECT_EQ(d.GeneratedLevels().at(1).Options.Style, qm::TGenStyle::Dungeon);
            EXPECT_EQ(d.GeneratedKey().Field("Level"), "") << "named when saved";
            shown2 = d.PreviewMap();
            QTest::mouseClick(d.OkButton, Qt::LeftButton);
        });
    ASSERT_EQ(dialogs.Confirms.size(), 2);
    EXPECT_EQ(dialogs.Confirms[0], QStringLiteral("OK to overwrite deep-2.key.md"));
    EXPECT_EQ(qm::ReadKeyFile(work.File("deep-2.key.md")).Field("Level"), "2 of 3") << "the second answer was Yes";
    qm::TMapRecord level2{};
    qm::ReadMapFile(work.File("deep-2.map"), level2);
    EXPECT_EQ(std::memcmp(&level2, &shown2, sizeof level2), 0);
    EXPECT_EQ(qm::ReadKeyFile(work.File("deep-3.key.md")).Field("Above"), "deep-2.map");
    EXPECT_EQ(win->State().Document.FileName(), QString::fromStdString(work.File("deep-1.map")));
    EXPECT_FALSE(win->isWindowModified()) << "level 1 opens as a saved map";
}

} // namespace

} // namespace qmtest
