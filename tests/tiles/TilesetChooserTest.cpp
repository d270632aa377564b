// The "Select Tileset" window: what it lists, what it hands back, how it closes.
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "tests/TestSupport.h"
#include "tiles/TilesetChooser.h"

namespace {

void Touch(const std::string& path) { qmtest::WriteAll(path, {'B', 'M'}); }

QStringList Listed(const qm::TPaletteForm& form) {
    QStringList names;
    for (int i = 0; i < form.FileListBox->count(); ++i) names << form.FileListBox->item(i)->text();
    return names;
}

TEST(PaletteForm, ControlsAsDesigned) {
    qm::TPaletteForm form;
    EXPECT_EQ(form.objectName(), "PaletteForm");
    EXPECT_EQ(form.windowTitle(), "Select Tileset");
    EXPECT_EQ(form.size(), QSize(201, 201));
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.FileListBox->objectName(), "FileListBox");
    EXPECT_EQ(form.FileListBox->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(form.OkButton->text(), "Ok");
    EXPECT_EQ(form.CancelButton->text(), "Cancel");
    for (QWidget* w : {static_cast<QWidget*>(form.FileListBox), static_cast<QWidget*>(form.OkButton),
                       static_cast<QWidget*>(form.CancelButton)})
        EXPECT_TRUE(form.rect().contains(w->geometry())) << w->objectName().toStdString();
}

TEST(PaletteForm, ListsOnlyBitmapFilesOfTheFolderAndMovesTheWorkingFolder) {
    qmtest::KeepCwd keep;
    qmtest::TempDir dir;
    Touch(dir.File("dungeon.bmp"));
    Touch(dir.File("Caves.BMP"));
    Touch(dir.File("notes.txt"));
    Touch(dir.File("bmp"));
    QDir().mkpath(QString::fromStdString(dir.File("folder.bmp")));
    QDir().mkpath(QString::fromStdString(dir.File("sub")));
    Touch(dir.File("sub/inner.bmp"));

    qm::TPaletteForm form;
    form.SetDirectory(QString::fromStdString(dir.Path()));
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(QString::fromStdString(dir.Path())).canonicalPath());
    EXPECT_EQ(Listed(form), (QStringList{"Caves.BMP", "dungeon.bmp"}));

    // files added later appear on the next reread only
    Touch(dir.File("added.bmp"));
    EXPECT_EQ(form.FileListBox->count(), 2);
    form.Reread();
    EXPECT_EQ(Listed(form), (QStringList{"added.bmp", "Caves.BMP", "dungeon.bmp"}));
}

TEST(PaletteForm, SelectedPathIsTheFullPathOrEmpty) {
    qmtest::KeepCwd keep;
    qmtest::TempDir dir;
    Touch(dir.File("a.bmp"));
    Touch(dir.File("b.bmp"));
    qm::TPaletteForm form;
    form.SetDirectory(QString::fromStdString(dir.Path()));
    EXPECT_EQ(form.SelectedPath(), "");
    form.FileListBox->setCurrentRow(1);
    EXPECT_EQ(form.SelectedPath(), QString::fromStdString(dir.File("b.bmp")));
    form.FileListBox->item(0)->setSelected(true); // single selection: picking a deselects b
    EXPECT_EQ(form.SelectedPath(), QString::fromStdString(dir.File("a.bmp")));
    form.Reread();
    EXPECT_EQ(form.SelectedPath(), "");
}

TEST(PaletteForm, EmptyFolderListsNothing) {
    qmtest::KeepCwd keep;
    qmtest::TempDir dir;
    qm::TPaletteForm form;
    form.SetDirectory(QString::fromStdString(dir.Path()));
    EXPECT_EQ(form.FileListBox->count(), 0);
    EXPECT_EQ(form.SelectedPath(), "");
}

TEST(PaletteForm, ButtonsCloseWithTheirResult) {
    struct Case {
        const char* button;
        int result;
    };
    for (Case c : {Case{"OkButton", QDialog::Accepted}, Case{"CancelButton", QDialog::Rejected}}) {
        qm::TPaletteForm form;
        QTimer::singleShot(0, [&] {
            auto* b = form.findChild<QPushButton*>(c.button);
            ASSERT_NE(b, nullptr);
            QTest::mouseClick(b, Qt::LeftButton);
        });
        EXPECT_EQ(form.exec(), c.result) << c.button;
    }
}

} // namespace
