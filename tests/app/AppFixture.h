#pragma once
// A real main window on the offscreen platform, with the dialogs answered by the test.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "dialogs/Dialogs.h"
#include "geoset/RandomMap.h"
#include "tests/TestSupport.h"
#include "tests/support/ScriptedDialogs.h"

namespace qmtest {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Fixed seeds: a random maplet can land on what is already there and change nothing.
        qm::SetSeedSourceForTesting([n = 1u]() mutable { return n++; });
        qm::SetDialogs(&dialogs);
        oldCwd = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(work.Path()));
    }
    void TearDown() override {
        windows = {};
        qm::SetDialogs(nullptr);
        QDir::setCurrent(oldCwd);
        qm::SetSeedSourceForTesting({});
    }

    // Creates the windows with the temporary program folder, shows the main window and
    // waits for its first activation to finish the set-up.
    void Start() {
        windows = qm::CreateApplicationWindows(ProgramDir());
        win = windows.Main.get();
        qm::ShowMainWindow(*win);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !win->State().FirstActivation; }, 5000));
        ASSERT_TRUE(QTest::qWaitForWindowActive(win));
        ASSERT_TRUE(win->State().Tileset.IsRendered());
    }
    // The program folder holds the shipped default GeoSet.
    void StartWithDefaultGeoSet() {
        ASSERT_TRUE(QFile::copy(QStringLiteral(QM_PROGRAM_DIR "/defaultgeoset.geo"),
                                ProgramDir() + QStringLiteral("defaultgeoset.geo")));
        Start();
    }
    QString ProgramDir() const { return QString::fromStdString(program.Path()) + "/"; }
    QString WorkFile(const char* name) const { return QString::fromStdString(work.File(name)); }

    // The caption as the window system shows it: "[*]" gone, "*" when modified.
    QString Caption() const { return win->windowHandle() ? win->windowHandle()->title() : win->windowTitle(); }

    qm::TMapRecord& Map() { return win->State().Document.CurrentMap; }
    qm::TMapRecord& Undo() { return win->State().Document.UndoMap; }

    // A control of the main window, by its object name.
    template <typename T> T* Find(const char* name) const {
        T* c = win->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << "no control " << name;
        return c;
    }
    qm::TDrawGrid* DrawGrid1() const { return Find<qm::TDrawGrid>("DrawGrid1"); }
    qm::TDrawGrid* SymbolGrid() const { return Find<qm::TDrawGrid>("SymbolGrid"); }

    // Centre of grid cell (c, r) in the map grid's viewport.
    QPoint CellCentre(int c, int r) const { return DrawGrid1()->CellRect(c, r).center(); }
    QWidget* GridPort() const { return DrawGrid1()->viewport(); }
    void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void Trigger(QAction* a) { a->trigger(); }

    TempDir program, work;
    TScriptedDialogs dialogs;
    qm::TApplicationWindows windows;
    qm::Twinviewform* win = nullptr;
    QString oldCwd;
};

} // namespace qmtest
