#pragma once
// The one seam through which windows ask the user: file, confirmation and message
// dialogs and the print dialogs of the printer they are given. Tests install their own
// answers with SetDialogs; the program uses the Qt dialogs.
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace qm {

enum class TConfirm { Yes, No, Cancel };

// Page range of a print dialog: the limits offered and the range the user chose.
struct TPrintRange {
    int MinPage = 1;
    int MaxPage = 999;
    int FromPage = 1;
    int ToPage = 999;
};

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // filter in Qt form, e.g. "Quillmarch Map Files (*.map)"; returns "" on cancel.
    // selectedFilter, when given, receives the filter the user picked.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                                 const QString& defaultSuffix, QString* selectedFilter = nullptr) = 0;
    virtual TConfirm YesNoCancel(QWidget* parent, const QString& text) = 0;
    // A three-way question whose buttons say what they do ("Save" / "Discard" /
    // "Cancel"): the first button answers Yes, the second No, the third and Escape
    // Cancel. Unless overridden it is asked as YesNoCancel.
    virtual TConfirm Question(QWidget* parent, const QString& text, const QString& yes, const QString& no,
                              const QString& cancel);
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // Something the user should know that is no failure; unless overridden it is shown
    // as Error.
    virtual void Inform(QWidget* parent, const QString& text) { Error(parent, text); }
    // The print dialog for `printer`, with a page range; false when cancelled. Only
    // FromPage and ToPage are read back. A null printer has no dialog and takes the
    // range as offered.
    virtual bool PrintDialog(QWidget* parent, QPrinter* printer, TPrintRange& range);
    // The printer set-up dialog (printer, paper, orientation) for `printer`, none for a
    // null one; its result is ignored.
    virtual void PrinterSetup(QWidget* parent, QPrinter* printer);
    // Which copy a picture export writes: a "Player Copy" check box offered as
    // `playerCopy`, and a line saying which copy will be written; false when cancelled.
    // With `roomNumbers` (a map with a key) also a "Room Numbers" check box.
    virtual bool PictureCopy(QWidget* parent, const QString& caption, bool& playerCopy, bool* roomNumbers = nullptr);
};

// The line of the picture copy dialog for each choice.
QString PictureCopyText(bool playerCopy);

// "Save changes to <documentName>?" with Save (Yes), Discard (No) and Cancel, asked before
// a document with unsaved changes is left.
TConfirm AskSaveChangesTo(QWidget* parent, const QString& documentName);

// "<documentName> was changed by another program since it was opened. Overwrite it?"
// with Overwrite (Yes), Save As... (No) and Cancel, asked before saving over a file that
// another program changed since this one read or wrote it.
TConfirm AskOverwriteChangedFile(QWidget* parent, const QString& documentName);

// Whether two paths name the same file (after resolving links and relative parts).
bool SameFile(const QString& a, const QString& b);

// Where a save dialog offered `offered` (a folder ending in '/' or a file) starts: there
// when its folder can be written, else in the user's documents folder (the file name
// kept), as for an installed program whose own folder is read-only.
QString SaveDialogStart(const QString& offered);

// The file a save or export dialog proposes: `documentPath`'s name without its extension
// (or "Untitled") with `suffix`, in the first of `folders` that is not empty, else in the
// user's documents folder. Never a bare folder: the dialog opens with a name filled in.
QString ProposedSaveFile(const QString& documentPath, const QString& suffix, const QStringList& folders);

// The dialogs in use (Qt's unless a test installed others).
TDialogs& Dialogs();
// Installs `d` (not owned); null restores Qt's dialogs.
void SetDialogs(TDialogs* d);

} // namespace qm
