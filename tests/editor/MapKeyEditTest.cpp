// The map key as part of the map document: its steps, Undo and stepping, the saved
// state by content, Save writing map and key as one, a key that cannot be read, the
// labels that cut and paste carry, and Renumber.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

#include "editor/Clipboard.h"
#include "editor/LabelTool.h"
#include "editor/MapDocument.h"
#include "editor/MapEdit.h"
#include "model/RecordFile.h"
#include "tests/TestSupport.h"

using namespace qm;

namespace {
std::unique_ptr<TMapDocument> NewDocument() {
    auto doc = std::make_unique<TMapDocument>();
    doc->New("", 16);
    return doc;
}

QStringList Names(const TMapDocument& doc) {
    QStringList out;
    for (int i = 0; i < doc.History().Count(); ++i) out << doc.History().Name(i);
    return out;
}

std::vector<int> Numbers(const TMapKey& key) {
    std::vector<int> n;
    for (const TKeyEntry& e : key.Entries) n.push_back(e.Number);
    return n;
}

std::string FileText(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("(none)");
}
} // namespace

TEST(MapKeyDocument, LabelToolStepsUndoAndStepping) {
    auto doc = NewDocument();
    EXPECT_EQ(UseLabelTool(*doc, 4, 5, 4, 5).Picked, 1);    // a click pins number 1
    EXPECT_EQ(UseLabelTool(*doc, 9, 9, 9, 9).Picked, 2);    // the next free number
    EXPECT_FALSE(UseLabelTool(*doc, 4, 5, 4, 5).Changed);   // a click on a label picks it
    EXPECT_TRUE(UseLabelTool(*doc, 4, 5, 20, 30).Changed);  // a drag moves it
    EXPECT_FALSE(UseLabelTool(*doc, 20, 30, 9, 9).Changed); // never onto another label
    EXPECT_FALSE(UseLabelTool(*doc, 0, 0, 3, 3).Changed);   // a drag from a free cell does nothing
    EXPECT_TRUE(SetKeyEntryText(*doc, 1, "\nTwo bunks.\r\n"));
    EXPECT_FALSE(SetKeyEntryText(*doc, 1, "Two bunks.")); // the same text is no step
    EXPECT_TRUE(SetKeyEntryTitle(*doc, 1, " Guard room\nx"));
    EXPECT_TRUE(DeleteLabel(*doc, 2));
    EXPECT_EQ(Names(*doc),
              QStringList({"New", "Label 1", "Label 2", "Move label 1", "Key text 1", "Key text 1", "Delete label 2"}));
    EXPECT_EQ(*doc->CurrentKey.Find(1), (TKeyEntry{1, 21, 31, "Guard room", "Two bunks."}));

    ASSERT_TRUE(doc->Undo()); // the label comes back
    EXPECT_EQ(Numbers(doc->CurrentKey), (std::vector<int>{1, 2}));
    ASSERT_TRUE(doc->StepTo(3)); // after "Move label 1": no texts yet
    EXPECT_EQ(*doc->CurrentKey.Find(1), (TKeyEntry{1, 21, 31, "", ""}));
    ASSERT_TRUE(doc->StepTo(0));
    EXPECT_TRUE(doc->CurrentKey.Empty());
}

// The caption follows what the files hold: a map and key taken back to the saved state
// are not modified; zoom and the current symbol are no change.
TEST(MapKeyDocument, ModifiedFollowsTheContentNotTheStep) {
    qmtest::TempDir dir;
    auto doc = NewDocument();
    doc->Save(QString::fromStdString(dir.File("a.map")));
    doc->Edit("Draw", [](TMapRecord& m) { m.Cell(1, 1).Upper = 5; });
    EXPECT_TRUE(doc->Modified());
    doc->Undo();
    EXPECT_FALSE(doc->Modified());
    UseLabelTool(*doc, 1, 1, 1, 1);
    EXPECT_TRUE(doc->Modified());
    DeleteLabel(*doc, 1);
    EXPECT_FALSE(doc->Modified());
    doc->CurrentMap.Zoom = 40;
    doc->CurrentMap.CurrentSymbol = 9;
    EXPECT_FALSE(doc->Modified());
}

TEST(MapKeyDocument, SaveWritesMapAndKeyAsOneAndOpenReadsThemBack) {
    qmtest::TempDir dir;
    const std::string map = dir.File("d.map"), key = dir.File("d.key.md");
    auto doc = NewDocument();
    UseLabelTool(*doc, 19, 30, 19, 30);
    SetKeyEntryTitle(*doc, 1, "Guard room");
    doc->Save(QString::fromStdString(map));
    EXPECT_EQ(QFileInfo(QString::fromStdString(map)).size(), 16018);
    EXPECT_EQ(FileText(key), "# Quillmarch map key 1\n\n## 1. Guard room\nat 20, 31\n");

    // A failing write of either file leaves both as they were.
    UseLabelTool(*doc, 2, 2, 2, 2);
    const std::string mapBefore = FileText(map), keyBefore = FileText(key);
    for (long after : {0L, 100L}) {
        SetWriteFailureAfterForTesting(after);
        EXPECT_THROW(doc->Save(QString::fromStdString(map)), TFileError) << after;
        SetWriteFailureAfterForTesting(-1);
        EXPECT_EQ(FileText(map), mapBefore);
        EXPECT_EQ(FileText(key), keyBefore);
    }
    // A key that cannot be written keeps the map from being replaced too.
    const QString keyFile = QString::fromStdString(key);
    ASSERT_TRUE(QFile::rename(keyFile, keyFile + ".kept") && QDir().mkdir(keyFile));
    EXPECT_THROW(doc->Save(QString::fromStdString(map)), TFileError);
    EXPECT_EQ(FileText(map), mapBefore);
    ASSERT_TRUE(QDir().rmdir(keyFile) && QFile::rename(keyFile + ".kept", keyFile));
    EXPECT_TRUE(doc->Modified());

    // Edited in a text editor: noticed as a change on disk, and read at Open.
    QFile f(QString::fromStdString(key));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("\nA brazier.\n");
    f.close();
    EXPECT_TRUE(doc->FileChangedOnDisk());
    doc->Open(QString::fromStdString(map));
    EXPECT_EQ(doc->CurrentKey.Find(1)->Text, "A brazier.");
    EXPECT_EQ(Names(*doc), QStringList{"Open"});

    // A key emptied by the user takes its file away at Save; one written meanwhile where
    // there was none is a change on disk.
    DeleteLabel(*doc, 1);
    doc->Save(QString::fromStdString(map));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(key)));
    EXPECT_FALSE(doc->FileChangedOnDisk());
    qmtest::WriteAll(key, std::vector<unsigned char>{'#'});
    EXPECT_TRUE(doc->FileChangedOnDisk());
}

TEST(MapKeyDocument, AKeyThatCannotBeReadOpensEmptyAndIsKept) {
    qmtest::TempDir dir;
    const std::string map = dir.File("d.map"), key = dir.File("d.key.md");
    NewDocument()->Save(QString::fromStdString(map));
    qmtest::WriteAll(key, std::vector<unsigned char>{'#', ' ', 'n', 'o', '\n'});
    auto doc = NewDocument();
    doc->Open(QString::fromStdString(map));
    EXPECT_TRUE(doc->CurrentKey.Empty());
    EXPECT_NE(doc->KeyError().toStdString().find("d.key.md\", line 1"), std::string::npos);
    EXPECT_EQ(FileText(key), "# no\n");
}

TEST(MapKeyDocument, RecoveredCopiesCarryTheKey) {
    qmtest::TempDir dir;
    auto doc = NewDocument();
    doc->Save(QString::fromStdString(dir.File("copy.map")));
    TMapKey key;
    key.Put({4, 2, 3, "Well", "Deep."});
    doc->OpenRecovered(QString::fromStdString(dir.File("copy.map")), "/maps/d.map", false, {}, KeyFileText(key));
    EXPECT_EQ(doc->CurrentKey, key);
    EXPECT_TRUE(doc->Modified());
    EXPECT_THROW(doc->OpenRecovered(QString::fromStdString(dir.File("copy.map")), "/maps/d.map", false, {}, "# x\n"),
                 TKeyError);
    EXPECT_EQ(doc->CurrentKey, key); // a broken copy changes nothing
}

TEST(MapKeyClipboard, CutAndPasteCarryTheLabelsOfTheRegion) {
    TMapKey key;
    key.Put({1, 3, 3, "In", ""});
    key.Put({2, 10, 10, "Out", ""});
    TMapClipboard clip;
    CutLabels(key, clip, TGridRect{1, 1, 4, 4}); // cells 2..5
    EXPECT_EQ(Numbers(key), std::vector<int>{2});
    PasteLabels(key, clip, TGridRect{20, 20, 20, 20});
    EXPECT_EQ(*key.Find(1), (TKeyEntry{1, 22, 22, "In", ""}));
    PasteLabels(key, clip, TGridRect{71, 71, 71, 71}); // a copy: the next free number; clipped off the map
    EXPECT_EQ(Numbers(key), (std::vector<int>{1, 2}));
    PasteLabels(key, clip, TGridRect{30, 30, 30, 30});
    EXPECT_EQ(*key.Find(3), (TKeyEntry{3, 32, 32, "In", ""}));
    CopyLabels(key, clip, TGridRect{0, 0, 71, 71});
    EXPECT_EQ(clip.Labels.size(), 3u);
}

// Renumber walks from number 1 through doors, never through walls: labels behind a wall
// come last; "to N" in the texts follows the new numbers.
TEST(MapKeyRenumber, WalksFromTheEntranceAndRewritesReferences) {
    SymbolTable symbols = BuiltInSymbolTable();
    TMapRecord map{};
    const uint8_t wall = uint8_t(TerrainBaseOf(TTool::Wall) + 13); // a fully walled cell
    for (int y = 1; y <= MapSize; ++y) map.Cell(40, y).Lower = wall;
    TMapKey key;
    key.Put({1, 5, 5, "Entrance", "Doors: east to 3."});
    key.Put({2, 60, 5, "Behind the wall", ""});
    key.Put({3, 30, 5, "Far", "Back to 1, on to 2; a 12 ft drop to 3 levels."});
    key.Put({4, 6, 5, "Near", "Doors: west to 1 and to 4."});
    EXPECT_EQ(WalkOrder(map, key, symbols), (std::vector<int>{1, 4, 3, 2}));
    const struct {
        const char* from;
        const char* to;
    } texts[] = {
        {"Doors: east to 3. A secret door leads to 12, not into 3.",
         "Doors: east to 2. A secret door leads to 5, not into 3."},
        {"Doors: south to 3 and 12, west to 3, 12 and 7.", "Doors: south to 2 and 5, west to 2, 5 and 7."},
        {"to 3, 4x and to 12a; 3 and 12", "to 2, 4x and to 12a; 3 and 12"},
        {"to 3, and 12", "to 2, and 12"},
    };
    for (const auto& t : texts) EXPECT_EQ(RenumberReferences(t.from, {{3, 2}, {12, 5}}), t.to);

    TMapDocument doc;
    doc.New("", 16);
    doc.Edit("Map", [&](TMapRecord& m, TMapKey& k) {
        m = map;
        k = key;
    });
    ASSERT_TRUE(RenumberKey(doc, symbols));
    EXPECT_EQ(doc.History().Name(doc.History().Current()), "Renumber");
    EXPECT_EQ(doc.CurrentKey.Find(2)->Title, "Near");
    EXPECT_EQ(doc.CurrentKey.Find(2)->Text, "Doors: west to 1 and to 2.");
    EXPECT_EQ(doc.CurrentKey.Find(3)->Text, "Back to 1, on to 4; a 12 ft drop to 3 levels.");
    EXPECT_EQ(doc.CurrentKey.Find(1)->Text, "Doors: east to 3.");
    EXPECT_FALSE(RenumberKey(doc, symbols)); // in order already: no step
}

TEST(MapKeyRenumber, AGeneratedAreaTakesFreeNumbersAndKeepsTheLabelsOutside) {
    TMapKey key, generated;
    key.Put({1, 2, 2, "Outside", "Doors: east to 2."});
    key.Put({2, 20, 20, "Inside, replaced", ""});
    generated.Put({1, 21, 21, "Hall", "Doors: north to 2."});
    generated.Put({2, 22, 25, "Shrine", "Doors: south to 1."});
    TMapKey area = key;
    AdoptGeneratedKey(area, generated, TGridRect{15, 15, 30, 30});
    EXPECT_EQ(Numbers(area), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(*area.Find(1), *key.Find(1));
    EXPECT_EQ(*area.Find(2), (TKeyEntry{2, 21, 21, "Hall", "Doors: north to 3."}));
    EXPECT_EQ(*area.Find(3), (TKeyEntry{3, 22, 25, "Shrine", "Doors: south to 2."}));
    AdoptGeneratedKey(key, generated, TGridRect{0, 0, MapSize - 1, MapSize - 1});
    EXPECT_EQ(key, generated);
}
