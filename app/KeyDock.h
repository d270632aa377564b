#pragma once
// "Key": the map key's entries beside the map in number order, the title editable in
// place and the picked entry's text below it; Renumber and Delete under them.
#include <QDockWidget>

class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace qm {

struct TMapKey;

class TKeyDock : public QDockWidget {
    Q_OBJECT
public:
    explicit TKeyDock(QWidget* parent = nullptr);

    // The list follows the key (rebuilt only while shown; showing catches up).
    void SetKey(const TMapKey* key);
    void Refresh();
    // Makes the entry current (0: none) without telling anyone.
    void Pick(int number);
    int Picked() const { return picked_; }
    // A text being typed is handed on (TextEdited) before anything else happens.
    void CommitText();

    QTableWidget* Table() const { return table_; }
    QPlainTextEdit* TextEdit() const { return text_; }

signals:
    void EntryPicked(int number);
    void TitleEdited(int number, const QString& title);
    void TextEdited(int number, const QString& text);
    void RenumberClicked();
    void DeleteClicked(int number);

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void ShowPickedText();
    QTableWidget* table_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* renumber_ = nullptr;
    QPushButton* delete_ = nullptr;
    const TMapKey* key_ = nullptr;
    int picked_ = 0;
    bool stale_ = true;
};

} // namespace qm
