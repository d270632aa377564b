// The map key in the real window: the Label tool and the Key dock as steps of the map,
// a key file that could not be read is never replaced unasked, and a level's key leads
// to its neighbours.
#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include "model/MapKey.h"
#include "model/RecordFile.h"
#include "tests/app/AppFixture.h"

using namespace qmtest;

namespace {
std::string Text(const std::string& path) {
    const auto b = ReadAll(path);
    return std::string(b.begin(), b.end());
}
} // namespace

class KeyWindowTest : public AppTest {
protected:
    void ClickCell(int c, int r) { QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(c, r)); }
};

TEST_F(KeyWindowTest, LabelToolAndKeyDockAreStepsOfTheMap) {
    Start();
    Trigger(Find<QAction>("Label1"));
    EXPECT_TRUE(Find<QToolButton>("ButtonLabel")->isChecked());
    ClickCell(4, 6);
    ClickCell(10, 10);
    const qm::TMapKey& key = win->State().Document.CurrentKey;
    ASSERT_EQ(key.Entries.size(), 2u);
    EXPECT_EQ(key.Entries[0].X, 5);
    Trigger(Find<QAction>("Key1"));
    auto* table = Find<QTableWidget>("KeyTable");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->currentRow(), 1); // the label just pinned is the picked one
    table->item(1, 1)->setText("Guard room");
    auto* text = Find<QPlainTextEdit>("KeyText");
    text->setPlainText("Two bunks.");
    text->document()->setModified(true);
    table->setCurrentCell(0, 1); // picking another entry keeps the text typed
    EXPECT_EQ(key.Find(2)->Title, "Guard room");
    EXPECT_EQ(key.Find(2)->Text, "Two bunks.");
    EXPECT_TRUE(win->isWindowModified());
    Trigger(Find<QAction>("DeleteLabel1")); // the picked one: 1
    EXPECT_EQ(key.Entries.size(), 1u);
    Trigger(Find<QAction>("Undo1"));
    EXPECT_EQ(key.Entries.size(), 2u);

    dialogs.FileAnswers = {WorkFile("d.map")};
    Trigger(Find<QAction>("SaveAs1"));
    EXPECT_EQ(Text(work.File("d.key.md")),
              "# Quillmarch map key 1\n\n## 1.\nat 5, 7\n\n## 2. Guard room\nat 11, 11\n\nTwo bunks.\n");
    EXPECT_FALSE(win->isWindowModified());
}

TEST_F(KeyWindowTest, AKeyThatCouldNotBeReadIsReplacedOnlyOnYes) {
    Start();
    qm::TMapRecord m;
    qm::ClearMapRecord(m);
    qm::WriteMapFile(work.File("d.map"), m);
    const std::vector<unsigned char> broken = {'#', ' ', 'm', 'i', 'n', 'e', '\n'};
    WriteAll(work.File("d.key.md"), broken);
    dialogs.FileAnswers = {WorkFile("d.map")};
    Trigger(Find<QAction>("Open1"));
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].contains("d.key.md\", line 1") && dialogs.Errors[0].contains("empty key"));
    Trigger(Find<QAction>("Label1"));
    ClickCell(3, 3);
    for (qm::TConfirm answer : {qm::TConfirm::No, qm::TConfirm::Yes}) {
        dialogs.Confirms.clear();
        dialogs.ConfirmAnswers = {answer};
        Trigger(Find<QAction>("Save1"));
        ASSERT_EQ(dialogs.Confirms.size(), 1);
        EXPECT_EQ(dialogs.Confirms[0], "d.key.md could not be read; Save will replace it. Save anyway?");
        EXPECT_EQ(ReadAll(work.File("d.key.md")) == broken, answer == qm::TConfirm::No);
    }
}

TEST_F(KeyWindowTest, ALevelOpensTheLevelsItsKeyNames) {
    Start();
    qm::TMapRecord m;
    qm::ClearMapRecord(m);
    for (int level = 1; level <= 2; ++level) {
        qm::TMapKey key;
        key.SetField("Level", std::to_string(level) + " of 2");
        key.SetField(level == 1 ? "Below" : "Above", level == 1 ? "s-2.map" : "s-1.map");
        m.Cell(1, 1).Upper = uint8_t(level);
        qm::WriteMapAndKey(work.File("s-" + std::to_string(level) + ".map"), m, key);
    }
    QAction* above = Find<QAction>("OpenLevelAbove1");
    QAction* below = Find<QAction>("OpenLevelBelow1");
    EXPECT_FALSE(above->isEnabled());
    EXPECT_EQ(below->toolTip(), "This map is no level of a stack.");
    dialogs.FileAnswers = {WorkFile("s-1.map")};
    Trigger(Find<QAction>("Open1"));
    EXPECT_FALSE(above->isEnabled());
    EXPECT_EQ(above->toolTip(), "This is the top level of its stack.");
    ASSERT_TRUE(below->isEnabled());
    Trigger(below);
    EXPECT_EQ(win->State().Document.FileName(), WorkFile("s-2.map"));
    EXPECT_EQ(Map().Cell(1, 1).Upper, 2);
    EXPECT_FALSE(below->isEnabled());
    Trigger(above);
    EXPECT_EQ(win->State().Document.FileName(), WorkFile("s-1.map"));
}
