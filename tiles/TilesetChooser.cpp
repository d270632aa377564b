#include "tiles/TilesetChooser.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace qm {

TPaletteForm::TPaletteForm(QWidget* parent) : QDialog(parent) {
    setObjectName("PaletteForm");
    setWindowTitle("Select Tileset");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setFixedSize(201, 201);

    FileListBox = new QListWidget(this);
    FileListBox->setObjectName("FileListBox");
    FileListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    FileListBox->setGeometry(8, 8, 185, 150);

    OkButton = new QPushButton("Ok", this);
    OkButton->setObjectName("OkButton");
    OkButton->setGeometry(16, 166, 75, 25);
    OkButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setGeometry(110, 166, 75, 25);

    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TPaletteForm::SetDirectory(const QString& dir) {
    directory_ = dir;
    QDir::setCurrent(dir);
    Reread();
}

void TPaletteForm::Reread() {
    FileListBox->clear();
    if (directory_.isEmpty()) return;
    QDir d(directory_);
    d.setNameFilters({"*.bmp"});
    d.setFilter(QDir::Files | QDir::Readable);
    d.setSorting(QDir::Name | QDir::IgnoreCase);
    FileListBox->addItems(d.entryList());
}

QString TPaletteForm::SelectedPath() const {
    const QList<QListWidgetItem*> chosen = FileListBox->selectedItems();
    if (chosen.isEmpty()) return QString();
    return QDir(directory_).filePath(chosen.first()->text());
}

void TPaletteForm::showEvent(QShowEvent* e) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    QDialog::showEvent(e);
}

} // namespace qm
