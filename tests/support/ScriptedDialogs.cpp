#include "tests/support/ScriptedDialogs.h"

namespace qmtest {

QString TScriptedDialogs::NextFile() {
    if (FileAnswers.empty()) return {};
    QString s = FileAnswers.front();
    FileAnswers.pop_front();
    return s;
}

QString TScriptedDialogs::OpenFileName(QWidget*, const QString&, const QString& dir, const QString& filter) {
    FileDirs << dir;
    LastFilter = filter;
    return NextFile();
}

QString TScriptedDialogs::SaveFileName(QWidget*, const QString&, const QString& dir, const QString& filter,
                                       const QString& defaultSuffix, QString* selectedFilter) {
    FileDirs << dir;
    LastFilter = filter;
    LastSuffix = defaultSuffix;
    if (selectedFilter) *selectedFilter = SelectedFilter;
    return NextFile();
}

qm::TConfirm TScriptedDialogs::YesNoCancel(QWidget*, const QString& text) {
    Confirms << text;
    if (ConfirmAnswers.empty()) return qm::TConfirm::Cancel;
    const qm::TConfirm a = ConfirmAnswers.front();
    ConfirmAnswers.pop_front();
    return a;
}

void TScriptedDialogs::Error(QWidget*, const QString& text) { Errors << text; }

bool TScriptedDialogs::PrintDialog(QWidget*, QPrinter*, qm::TPrintRange& range) {
    ++PrintDialogsShown;
    OfferedRange = range;
    if (!PrintAnswer) return false;
    if (PrintFrom) range.FromPage = PrintFrom;
    if (PrintTo) range.ToPage = PrintTo;
    return true;
}

bool TScriptedDialogs::PictureCopy(QWidget*, const QString&, bool& playerCopy, bool* roomNumbers) {
    PlayerCopyOffered << playerCopy;
    if (!PictureCopyAccept) return false;
    if (roomNumbers && !RoomNumberAnswers.empty()) {
        *roomNumbers = RoomNumberAnswers.front();
        RoomNumberAnswers.pop_front();
    }
    if (!PlayerCopyAnswers.empty()) {
        playerCopy = PlayerCopyAnswers.front();
        PlayerCopyAnswers.pop_front();
    }
    return true;
}

} // namespace qmtest
