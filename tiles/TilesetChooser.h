#pragma once
// "Select Tileset": lists the *.bmp files of one folder for the user to pick a custom tileset.
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QString>

namespace qm {

class TPaletteForm : public QDialog {
    Q_OBJECT
public:
    explicit TPaletteForm(QWidget* parent = nullptr);

    // Points the list at `dir`, which also becomes the process's current working folder,
    // so bare tileset names are then looked up there.
    void SetDirectory(const QString& dir);
    // Reads the folder again, so files added since the last time appear.
    void Reread();
    // Full path of the selected file, or "" when none is selected.
    QString SelectedPath() const;

    QListWidget* FileListBox;
    QPushButton* OkButton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* e) override;

private:
    QString directory_;
};

} // namespace qm
