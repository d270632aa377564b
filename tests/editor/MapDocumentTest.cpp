// The map document alone: named steps, stepping, the memory bound, the saved state,
// Undo among the steps, and a file changed by another program.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QThread>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "editor/Clipboard.h"
#include "editor/MapDocument.h"
#include "editor/MapEdit.h"
#include "model/RecordFile.h"
#include "tests/TestSupport.h"

using namespace qm;

namespace {

using TChange = std::function<void(TMapRecord&)>;

struct TState {
    std::vector<unsigned char> Map, Undo;
};

std::vector<unsigned char> Bytes(const TMapRecord& m) {
    auto p = reinterpret_cast<const unsigned char*>(&m);
    return {p, p + sizeof m};
}

TState StateOf(const TMapDocument& doc) { return {Bytes(doc.CurrentMap), Bytes(doc.UndoMap)}; }

std::unique_ptr<TMapDocument> NewDocument() {
    auto doc = std::make_unique<TMapDocument>();
    doc->New("", 16);
    return doc;
}

// Paints cell (n % 72 + 1, n / 72 % 72 + 1) with symbol 1 + n % 250: a different record each n.
TChange Mark(int n) {
    return [n](TMapRecord& m) { m.Cell(n % MapSize + 1, n / MapSize % MapSize + 1).Upper = uint8_t(1 + n % 250); };
}

QStringList Names(const TMapDocument& doc) {
    QStringList out;
    for (int i = 0; i < doc.History().Count(); ++i) out << doc.History().Name(i);
    return out;
}

} // namespace

TEST(MapDocument, EachCommandIsOneNamedStepAndSteppingRestoresBothRecordsByteForByte) {
    TLayerFlags flags{};
    auto clip = std::make_unique<TMapClipboard>();
    const struct {
        const char* name;
        TChange change;
        TSnapshot snapshot;
    } steps[] = {
        {"Draw",
         [&](TMapRecord& m) {
             ApplyTool(TTool::Draw, m, {1, 1, 3, 2}, lmAuto, flags);
         },
         TSnapshot::Take},
        {"Erase",
         [&](TMapRecord& m) {
             ApplyTool(TTool::Eraser, m, {1, 1, 1, 1}, lmAuto, flags);
         },
         TSnapshot::Take},
        {"Wall terrain",
         [&](TMapRecord& m) {
             ApplyTool(TTool::Wall, m, {5, 5, 5, 5}, lmAuto, flags);
         },
         TSnapshot::Take},
        {"Stamp area",
         [&](TMapRecord& m) {
             ApplyTool(TTool::Water, m, {9, 9, 12, 11}, lmAuto, flags, true);
         },
         TSnapshot::Take},
        {"Cut",
         [&](TMapRecord& m) {
             CutSelection(m, *clip, {4, 4, 6, 6}, lmAuto);
         },
         TSnapshot::Take},
        {"Paste",
         [&](TMapRecord& m) {
             PasteClipboard(m, *clip, {30, 30, 30, 30}, lmAuto);
         },
         TSnapshot::Take},
        {"Background", [](TMapRecord& m) { SetBackground(m); }, TSnapshot::Keep},
        {"Show Hidden", [](TMapRecord& m) { SetShowHidden(m, false); }, TSnapshot::Keep},
    };
    auto doc = NewDocument();
    std::vector<TState> states{StateOf(*doc)};
    doc->CurrentMap.CurrentSymbol = 17; // picking a symbol is no step; the next step keeps it
    QStringList want{"New"};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_TRUE(doc->Edit(QString::fromLatin1(s.name), s.change, s.snapshot));
        states.push_back(StateOf(*doc));
        want << s.name;
    }
    EXPECT_TRUE(doc->Undo());
    states.push_back(StateOf(*doc));
    want << "Undo";
    // Copy and a stroke that changes nothing are no steps.
    EXPECT_FALSE(doc->Edit("Copy", [&](TMapRecord& m) { CopySelection(m, *clip, {0, 0, 2, 2}, lmAuto); }));
    states.back() = StateOf(*doc); // Copy took the snapshot: stepping back here brings it
    EXPECT_EQ(Names(*doc), want);

    for (int i = int(states.size()) - 1; i >= 0; --i) {
        if (i < doc->History().Current()) {
            ASSERT_TRUE(doc->StepBackward());
        }
        EXPECT_EQ(doc->History().Current(), i);
        EXPECT_EQ(StateOf(*doc).Map, states[size_t(i)].Map) << i;
        EXPECT_EQ(StateOf(*doc).Undo, states[size_t(i)].Undo) << i;
    }
    EXPECT_FALSE(doc->StepBackward());
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(doc->StepForward());
        EXPECT_EQ(StateOf(*doc).Map, states[i].Map) << i;
        EXPECT_EQ(StateOf(*doc).Undo, states[i].Undo) << i;
    }
    EXPECT_FALSE(doc->StepForward());
}

TEST(MapDocument, AChangeWhileAnEarlierStepShowsDropsTheLaterSteps) {
    auto doc = NewDocument();
    for (int n = 0; n < 4; ++n) doc->Edit(QStringLiteral("Draw %1").arg(n), Mark(n));
    ASSERT_TRUE(doc->StepTo(2));
    doc->Edit("Erase", Mark(100));
    EXPECT_EQ(Names(*doc), QStringList({"New", "Draw 0", "Draw 1", "Erase"}));
    EXPECT_EQ(doc->History().Current(), 3);
    EXPECT_FALSE(doc->StepForward());
}

TEST(MapDocument, FifteenHundredStepsStayWithinTheBoundAndTheOldestGo) {
    auto doc = NewDocument();
    std::vector<unsigned char> step500;
    for (int n = 1; n <= 1500; ++n) {
        doc->Edit(QStringLiteral("Step %1").arg(n), Mark(n));
        if (n == 500) step500 = Bytes(doc->CurrentMap);
    }
    const TMapHistory& h = doc->History();
    EXPECT_EQ(h.Count(), TMapHistory::MaxSteps);
    EXPECT_LE(h.Bytes(), TMapHistory::MaxBytes);
    EXPECT_EQ(h.Name(0), "Step 501");
    EXPECT_EQ(h.Name(h.Count() - 1), "Step 1500");
    ASSERT_TRUE(doc->StepTo(0));
    doc->StepBackward(); // nothing older is kept
    EXPECT_EQ(h.Current(), 0);
    // Step 501 marked one more cell on top of step 500.
    TMapRecord after500;
    std::memcpy(&after500, step500.data(), sizeof after500);
    Mark(501)(after500);
    EXPECT_EQ(Bytes(doc->CurrentMap), Bytes(after500));
}

TEST(MapDocument, WholeMapChangesStayWithinTheBound) {
    // Every step replaces the whole record with noise: nothing packs, the bound holds.
    auto doc = NewDocument();
    uint32_t x = 12345;
    for (int n = 0; n < 1200; ++n)
        doc->Edit("Random map", [&](TMapRecord& m) {
            for (auto& col : m.Cells)
                for (auto& c : col) {
                    x = x * 1664525u + 1013904223u;
                    c = TMapCell{uint8_t(x >> 24), uint8_t(x >> 16), uint8_t(x >> 8)};
                }
        });
    EXPECT_LE(doc->History().Bytes(), TMapHistory::MaxBytes);
    EXPECT_GE(doc->History().Count(), 900);
}

TEST(MapDocument, ModifiedFollowsTheSavedStep) {
    qmtest::TempDir dir;
    const QString path = QString::fromStdString(dir.File("a.map"));
    auto doc = NewDocument();
    EXPECT_FALSE(doc->Modified());
    doc->Edit("Draw", Mark(1));
    EXPECT_TRUE(doc->Modified());
    doc->Save(path);
    EXPECT_FALSE(doc->Modified());
    doc->Edit("Draw", Mark(2));
    EXPECT_TRUE(doc->Modified());
    doc->StepBackward();
    EXPECT_FALSE(doc->Modified()); // back at what the file holds
    doc->StepBackward();
    EXPECT_TRUE(doc->Modified());
    doc->StepForward();
    EXPECT_FALSE(doc->Modified());
    // An edit from the saved step replaces the step after it: modified again.
    doc->Edit("Erase", Mark(3));
    EXPECT_TRUE(doc->Modified());
    // Open starts afresh, unmodified.
    doc->Open(path);
    EXPECT_EQ(Names(*doc), QStringList{"Open"});
    EXPECT_FALSE(doc->Modified());
}

TEST(MapDocument, UndoAfterStepBackwardExchangesWithTheStateBeforeTheShownStep) {
    auto doc = NewDocument();
    const auto start = Bytes(doc->CurrentMap);
    doc->Edit("Draw", Mark(1));
    const auto afterA = Bytes(doc->CurrentMap);
    doc->Edit("Draw", Mark(2));
    ASSERT_TRUE(doc->StepBackward()); // shows the state after the first Draw
    EXPECT_TRUE(doc->Undo());
    EXPECT_EQ(Bytes(doc->CurrentMap), start);
    EXPECT_EQ(Bytes(doc->UndoMap), afterA);
    EXPECT_EQ(Names(*doc), QStringList({"New", "Draw", "Undo"})); // the second Draw is dropped
    EXPECT_TRUE(doc->Undo());                                     // a second Undo takes the first back
    EXPECT_EQ(Bytes(doc->CurrentMap), afterA);
    EXPECT_EQ(Names(*doc), QStringList({"New", "Draw", "Undo", "Undo"}));
}

TEST(MapDocument, AFileChangedByAnotherProgramIsNoticed) {
    qmtest::TempDir dir;
    const QString path = QString::fromStdString(dir.File("a.map"));
    auto mine = NewDocument(), theirs = NewDocument();
    mine->Save(path);
    theirs->Open(path);
    EXPECT_FALSE(mine->FileChangedOnDisk());
    const struct {
        const char* what;
        std::function<void()> change;
        bool changed;
    } cases[] = {
        {"same bytes rewritten by us", [&] { mine->Save(path); }, false},
        {"another record", [&] { theirs->Edit("Draw", Mark(7)), theirs->Save(path); }, true},
        {"deleted", [&] { QFile::remove(path); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        EXPECT_EQ(mine->FileChangedOnDisk(), c.changed);
    }
    // A touch that keeps size and bytes still counts: another program wrote the file.
    mine->Save(path);
    QThread::msleep(20);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        f.setFileTime(f.fileTime(QFileDevice::FileModificationTime).addSecs(5), QFileDevice::FileModificationTime));
    f.close();
    EXPECT_TRUE(mine->FileChangedOnDisk());
}
