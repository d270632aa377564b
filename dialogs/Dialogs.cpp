#include "dialogs/Dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace qm {

TConfirm TDialogs::Question(QWidget* parent, const QString& text, const QString&, const QString&, const QString&) {
    return YesNoCancel(parent, text);
}

bool TDialogs::PrintDialog(QWidget* parent, QPrinter* printer, TPrintRange& range) {
    if (!printer) return true; // a printer without a dialog takes the range as offered
    printer->setFromTo(range.FromPage, range.ToPage);
    QPrintDialog dlg(printer, parent);
    dlg.setMinMax(range.MinPage, range.MaxPage);
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dlg.exec() != QDialog::Accepted) return false;
    // "All pages" leaves no range in Qt: that is the whole offered range.
    if (printer->fromPage() > 0) {
        range.FromPage = printer->fromPage();
        range.ToPage = printer->toPage();
    } else {
        range.FromPage = range.MinPage;
        range.ToPage = range.MaxPage;
    }
    return true;
}

void TDialogs::PrinterSetup(QWidget* parent, QPrinter* printer) {
    if (!printer) return;
    QPageSetupDialog dlg(printer, parent);
    dlg.exec();
}

QString PictureCopyText(bool playerCopy) {
    return playerCopy ? QStringLiteral(
                            "Writing the players' copy: hidden symbols are left out and what the players "
                            "see in their place is drawn.")
                      : QStringLiteral(
                            "Writing the game master's copy: hidden symbols (traps, treasure, secret doors) "
                            "are drawn.");
}

bool TDialogs::PictureCopy(QWidget* parent, const QString& caption, bool& playerCopy, bool* roomNumbers) {
    QDialog dlg(parent);
    dlg.setObjectName(QStringLiteral("PictureCopyDialog"));
    dlg.setWindowTitle(caption);
    auto* box = new QCheckBox(QStringLiteral("Player Copy"), &dlg);
    box->setObjectName(QStringLiteral("PlayerCopyCB"));
    box->setToolTip(QStringLiteral("Leave hidden symbols out, whatever Show Hidden says"));
    box->setChecked(playerCopy);
    auto* line = new QLabel(PictureCopyText(playerCopy), &dlg);
    line->setObjectName(QStringLiteral("CopyLabel"));
    line->setWordWrap(true);
    line->setMinimumWidth(360);
    QObject::connect(box, &QCheckBox::toggled, line, [line](bool on) { line->setText(PictureCopyText(on)); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dlg);
    layout->addWidget(box);
    layout->addWidget(line);
    QCheckBox* numbers = nullptr;
    if (roomNumbers) {
        numbers = new QCheckBox(QStringLiteral("Room Numbers"), &dlg);
        numbers->setObjectName(QStringLiteral("RoomNumbersCB"));
        numbers->setToolTip(QStringLiteral("Draw the map key's numbers over their rooms (for the game master)"));
        numbers->setChecked(*roomNumbers);
        layout->addWidget(numbers);
    }
    layout->addWidget(buttons);
    if (dlg.exec() != QDialog::Accepted) return false;
    playerCopy = box->isChecked();
    if (numbers) *roomNumbers = numbers->isChecked();
    return true;
}

QString ProposedSaveFile(const QString& documentPath, const QString& suffix, const QStringList& folders) {
    const QString base = documentPath.isEmpty() ? QStringLiteral("Untitled")
                                                : QFileInfo(documentPath).completeBaseName();
    QString folder;
    for (const QString& f : folders)
        if (!f.isEmpty()) {
            folder = f;
            break;
        }
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    }
    return QDir(folder).filePath(base + QLatin1Char('.') + suffix);
}

namespace {
class TQtDialogs : public TDialogs {
public:
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                         const QString& defaultSuffix, QString* selectedFilter) override {
        QFileDialog dlg(parent, caption, dir, filter);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        // The program asks before overwriting, with its own words.
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (!defaultSuffix.isEmpty()) dlg.setDefaultSuffix(defaultSuffix);
        // A proposed name picks the filter of its extension, so the two agree.
        const QString proposedSuffix = QFileInfo(dir).suffix();
        if (!proposedSuffix.isEmpty())
            for (const QString& f : dlg.nameFilters())
                if (f.contains(QStringLiteral("*.") + proposedSuffix, Qt::CaseInsensitive)) {
                    dlg.selectNameFilter(f);
                    break;
                }
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
        if (selectedFilter) *selectedFilter = dlg.selectedNameFilter();
        return dlg.selectedFiles().first();
    }
    TConfirm YesNoCancel(QWidget* parent, const QString& text) override {
        auto r = QMessageBox::question(parent, QStringLiteral("Confirm"), text,
                                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
        return r == QMessageBox::Yes ? TConfirm::Yes : (r == QMessageBox::No ? TConfirm::No : TConfirm::Cancel);
    }
    TConfirm Question(QWidget* parent, const QString& text, const QString& yes, const QString& no,
                      const QString& cancel) override {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Quillmarch"), text, QMessageBox::NoButton, parent);
        QPushButton* yesButton = box.addButton(yes, QMessageBox::AcceptRole);
        QPushButton* noButton = box.addButton(no, QMessageBox::DestructiveRole);
        QPushButton* cancelButton = box.addButton(cancel, QMessageBox::RejectRole);
        box.setDefaultButton(yesButton);
        box.setEscapeButton(cancelButton);
        box.exec();
        if (box.clickedButton() == yesButton) return TConfirm::Yes;
        if (box.clickedButton() == noButton) return TConfirm::No;
        return TConfirm::Cancel;
    }
    void Error(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent, QStringLiteral("Quillmarch"), text);
    }
    void Inform(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, QStringLiteral("Quillmarch"), text);
    }
};

TQtDialogs gQtDialogs;
TDialogs* gDialogs = nullptr;
} // namespace

TDialogs& Dialogs() { return gDialogs ? *gDialogs : gQtDialogs; }
void SetDialogs(TDialogs* d) { gDialogs = d; }

QString SaveDialogStart(const QString& offered) {
    if (offered.isEmpty()) return offered;
    const bool isFolder = offered.endsWith(QLatin1Char('/')) || QFileInfo(offered).isDir();
    const QFileInfo folder(isFolder ? offered : QFileInfo(offered).absolutePath());
    // Write bits too: a process with every right (root) still should not save there.
    const auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (folder.isDir() && folder.isWritable() && (folder.permissions() & anyWrite)) return offered;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir()) documents = QDir::homePath();
    if (!documents.endsWith(QLatin1Char('/'))) documents += QLatin1Char('/');
    return isFolder ? documents : documents + QFileInfo(offered).fileName();
}

TConfirm AskSaveChangesTo(QWidget* parent, const QString& documentName) {
    return Dialogs().Question(parent, QStringLiteral("Save changes to %1?").arg(documentName), QStringLiteral("Save"),
                              QStringLiteral("Discard"), QStringLiteral("Cancel"));
}

bool SameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QFileInfo x(a), y(b);
    if (x.exists() && y.exists()) return x.canonicalFilePath() == y.canonicalFilePath();
    return x.absoluteFilePath() == y.absoluteFilePath();
}

TConfirm AskOverwriteChangedFile(QWidget* parent, const QString& documentName) {
    return Dialogs().Question(
        parent,
        QStringLiteral("%1 was changed by another program since it was opened. Overwrite it?").arg(documentName),
        QStringLiteral("Overwrite"), QStringLiteral("Save As..."), QStringLiteral("Cancel"));
}

} // namespace qm
