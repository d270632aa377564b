// Finding symbols by name: the Find Symbol box above the symbol column narrows it to the
// symbols whose names its words find, and the Draw tool's eyedropper (Ctrl + click) takes
// the symbol from a map cell.
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolButton>

#include "app/MainWindow.h"

namespace qm {

namespace {
// Enter picks the first symbol found; Down goes on into the column; Escape empties the box.
class TFindSymbolKeys : public QObject {
public:
    TFindSymbolKeys(QLineEdit* box, std::function<void()> accept, QWidget* column)
        : QObject(box), box_(box), accept_(std::move(accept)), column_(column) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept_();
            return true;
        }
        if (key == Qt::Key_Down) {
            column_->setFocus();
            return true;
        }
        if (key == Qt::Key_Escape && !box_->text().isEmpty()) {
            box_->clear();
            return true;
        }
        return false;
    }

private:
    QLineEdit* box_;
    std::function<void()> accept_;
    QWidget* column_;
};
} // namespace

int Twinviewform::SymbolAtRow(int row) const {
    if (!narrowed_) return row >= 0 && row < 256 ? row : -1;
    return row >= 0 && row < int(shownSymbols_.size()) ? shownSymbols_[size_t(row)] : -1;
}

int Twinviewform::RowOfSymbol(int symbol) const {
    if (!narrowed_) return symbol >= 0 && symbol < 256 ? symbol : -1;
    for (size_t k = 0; k < shownSymbols_.size(); ++k)
        if (shownSymbols_[k] == symbol) return int(k);
    return -1;
}

void Twinviewform::FindSymbolExecute() {
    FindSymbolBox->setFocus(Qt::ShortcutFocusReason);
    FindSymbolBox->selectAll();
}

void Twinviewform::FindSymbolChanged(const QString& text) {
    narrowed_ = !text.trimmed().isEmpty();
    shownSymbols_ = narrowed_ ? MatchingSymbols(app_->Symbols, text) : std::vector<int>{};
    // A column never has fewer than one row: with nothing found it shows one empty row.
    SymbolGrid->SetRowCount(narrowed_ ? std::max<int>(1, int(shownSymbols_.size())) : 256);
    const int row = RowOfSymbol(app_->Document.CurrentMap.CurrentSymbol);
    SymbolGrid->SetSelection({0, std::max(row, 0), 0, std::max(row, 0)});
    SymbolGrid->ScrollToCell(0, std::max(row, 0));
    SymbolGrid->viewport()->update();
    StatusBar1->showMessage(!narrowed_              ? QString()
                            : shownSymbols_.empty() ? QStringLiteral("No symbol name has %1").arg(text.trimmed())
                                                    : QStringLiteral("%1 symbols found").arg(shownSymbols_.size()));
}

void Twinviewform::FindSymbolAccepted() {
    if (narrowed_ && shownSymbols_.empty()) return;
    const int symbol = SymbolAtRow(0);
    if (symbol < 0) return;
    SymbolGrid->SetSelection({0, 0, 0, 0});
    SymbolGrid->ScrollToCell(0, 0);
    SymbolGridSelectCell(0, 0);
    DrawGrid1->setFocus();
}

void Twinviewform::ShowAndPickSymbol(int symbol) {
    if (RowOfSymbol(symbol) < 0) FindSymbolBox->clear(); // widens the column
    const int row = RowOfSymbol(symbol);
    if (row < 0) return;
    SymbolGrid->SetSelection({0, row, 0, row});
    SymbolGrid->ScrollToCell(0, row);
    SymbolGridSelectCell(0, row);
    SymbolGrid->viewport()->update();
}

void Twinviewform::CreateFindSymbol() {
    FindSymbolBox->setPlaceholderText(QStringLiteral("Find Symbol"));
    FindSymbolBox->setClearButtonEnabled(true);
    FindSymbolBox->setToolTip(
        QStringLiteral("Find Symbol (Ctrl+F): words of a name narrow the column to what they find"));
    FindSymbolBox->installEventFilter(new TFindSymbolKeys(
        FindSymbolBox, [this] { RunCommand([this] { FindSymbolAccepted(); }); }, SymbolGrid));
    connect(FindSymbolBox, &QLineEdit::textChanged, this,
            [this](const QString& text) { RunCommand([this, text] { FindSymbolChanged(text); }); });
}

bool Twinviewform::PickSymbolFromMap(int col, int row) {
    const int symbol = SymbolInCell(app_->Document.CurrentMap, col, row);
    if (symbol < 0) {
        StatusBar1->showMessage(toolStatus_ = QStringLiteral("Nothing to pick up here"));
        return true;
    }
    ShowAndPickSymbol(symbol);
    const QString name = SymbolName(symbol);
    StatusBar1->showMessage(
        toolStatus_ = QStringLiteral("Picked up %1").arg(name.isEmpty() ? QString::number(symbol) : name));
    return true;
}

} // namespace qm
