#include "editor/WhereAmI.h"

#include <QStringList>

namespace qm {

QString SymbolName(const SymbolTable& symbols, int symbol) {
    if (symbol < 0 || symbol > 255) return {};
    return QString::fromStdString(symbols[size_t(symbol)].name);
}

QString CellPanelText(const TPointer& pointer, const TGridRect& selection, const TMapRecord& map,
                      const SymbolTable& symbols) {
    if (pointer.Symbol >= 0) return SymbolName(symbols, pointer.Symbol);
    if (pointer.Col < 0 || pointer.Row < 0 || pointer.Col >= MapSize || pointer.Row >= MapSize) return {};
    QString text = QStringLiteral("Col %1, Row %2").arg(pointer.Col + 1).arg(pointer.Row + 1);
    if (pointer.Dragging) text += QStringLiteral("   %1 x %2").arg(selection.Width()).arg(selection.Height());
    const TMapCell& cell = map.Cell(pointer.Col + 1, pointer.Row + 1);
    const QString name = SymbolName(symbols, cell.Upper ? cell.Upper : cell.Lower);
    if ((cell.Upper || cell.Lower) && !name.isEmpty()) text += QStringLiteral("   ") + name;
    return text;
}

bool NameMatches(const QString& name, const QString& query) {
    const QStringList words = query.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int from = 0; // where the next word of the query may start in the name
    for (const QString& word : words) {
        int at = -1;
        for (int i = from; i < name.size() && at < 0; ++i) {
            const bool wordStart = i == 0 || !name.at(i - 1).isLetterOrNumber();
            if (wordStart && QStringView(name).mid(i).startsWith(word, Qt::CaseInsensitive)) at = i;
        }
        if (at < 0) return false;
        from = at + 1;
    }
    return true;
}

std::vector<int> MatchingSymbols(const SymbolTable& symbols, const QString& query) {
    std::vector<int> found;
    const bool all = query.trimmed().isEmpty();
    for (int s = 0; s < 256; ++s) {
        const QString name = SymbolName(symbols, s);
        if (all || (!name.isEmpty() && NameMatches(name, query))) found.push_back(s);
    }
    return found;
}

int SymbolInCell(const TMapRecord& map, int col, int row) {
    if (col < 0 || row < 0 || col >= MapSize || row >= MapSize) return -1;
    const TMapCell& cell = map.Cell(col + 1, row + 1);
    if (cell.Upper) return cell.Upper;
    return cell.Lower ? cell.Lower : -1;
}

int TTypeAhead::Type(const QString& text, qint64 nowMs, int current, const SymbolTable& symbols,
                     const std::vector<int>& shown) {
    if (text.isEmpty()) return -1;
    typed_ = (typedAt_ >= 0 && nowMs - typedAt_ < 1000) ? typed_ + text : text;
    typedAt_ = nowMs;
    QString query = typed_;
    if (query.count(query.at(0)) == query.size()) query = query.left(1);
    if (query.trimmed().isEmpty()) return -1;
    const int rows = shown.empty() ? 256 : int(shown.size());
    const int first = query.size() == 1 ? current + 1 : current;
    for (int k = 0; k < rows; ++k) {
        const int row = ((first + k) % rows + rows) % rows;
        const QString name = SymbolName(symbols, shown.empty() ? row : shown[size_t(row)]);
        if (!name.isEmpty() && NameMatches(name, query)) return row;
    }
    return -1;
}

} // namespace qm
