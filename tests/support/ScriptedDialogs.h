#pragma once
// Dialogs answered from a script, for tests and benchmarks: queued answers, a default
// answer when the queue runs dry, and a record of everything asked.
#include <QString>
#include <QStringList>
#include <deque>

#include "dialogs/Dialogs.h"

namespace qmtest {

class TScriptedDialogs : public qm::TDialogs {
public:
    // File names and question answers, taken in order. An empty queue answers ""
    // (cancel) for a file name and Cancel for a question.
    std::deque<QString> FileAnswers;
    std::deque<qm::TConfirm> ConfirmAnswers;
    // Handed back as the filter the user picked in a save dialog.
    QString SelectedFilter;
    // The print dialog is accepted unless PrintAnswer is false; the range is the one
    // offered unless PrintFrom or PrintTo (0: as offered) say otherwise.
    bool PrintAnswer = true;
    int PrintFrom = 0, PrintTo = 0;
    // The picture copy dialog: each answer ticks (true) or clears Player Copy and accepts;
    // an empty queue accepts what is offered, unless PictureCopyAccept is false.
    std::deque<bool> PlayerCopyAnswers;
    bool PictureCopyAccept = true;
    QList<bool> PlayerCopyOffered;      // what the dialog offered, each time
    std::deque<bool> RoomNumberAnswers; // answers for the Room Numbers box, when offered

    // What was asked: error texts, question texts, the folders and the last filter and
    // suffix the file dialogs offered, the last page range offered for printing.
    QStringList Errors, Confirms, FileDirs;
    QString LastFilter, LastSuffix;
    qm::TPrintRange OfferedRange;
    int PrintDialogsShown = 0;

    QString OpenFileName(QWidget*, const QString& caption, const QString& dir, const QString& filter) override;
    QString SaveFileName(QWidget*, const QString& caption, const QString& dir, const QString& filter,
                         const QString& defaultSuffix, QString* selectedFilter) override;
    qm::TConfirm YesNoCancel(QWidget*, const QString& text) override;
    void Error(QWidget*, const QString& text) override;
    bool PrintDialog(QWidget*, QPrinter*, qm::TPrintRange& range) override;
    // The printer set-up dialog is closed at once: its result is never read.
    void PrinterSetup(QWidget*, QPrinter*) override {}
    bool PictureCopy(QWidget*, const QString& caption, bool& playerCopy, bool* roomNumbers = nullptr) override;

private:
    QString NextFile();
};

} // namespace qmtest
