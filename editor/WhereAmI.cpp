#include "editor/WhereAmI.h"

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

int TTypeAhead::Type(const QString& text, qint64 nowMs, int current, const SymbolTable& symbols) {
    if (text.isEmpty()) return -1;
    typed_ = (typedAt_ >= 0 && nowMs - typedAt_ < 1000) ? typed_ + text : text;
    typedAt_ = nowMs;
    QString prefix = typed_;
    if (prefix.count(prefix.at(0)) == prefix.size()) prefix = prefix.left(1);
    const int first = prefix.size() == 1 ? current + 1 : current;
    for (int k = 0; k < 256; ++k) {
        const int row = ((first + k) % 256 + 256) % 256;
        if (SymbolName(symbols, row).startsWith(prefix, Qt::CaseInsensitive)) return row;
    }
    return -1;
}

} // namespace qm
