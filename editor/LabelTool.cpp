#include "editor/LabelTool.h"

#include <array>
#include <cctype>

#include "editor/FillTool.h"

namespace qm {

namespace {
QString Numbered(const char* what, int number) { return QString::fromLatin1(what).arg(number); }
} // namespace

TLabelOutcome UseLabelTool(TMapDocument& doc, int pressCol, int pressRow, int col, int row) {
    if (!InsideMap(pressCol + 1, pressRow + 1) || !InsideMap(col + 1, row + 1)) return {};
    const TKeyEntry* there = doc.CurrentKey.At(pressCol + 1, pressRow + 1);
    if (there) {
        const int number = there->Number;
        if (pressCol == col && pressRow == row) return {false, number, {}};
        if (const TKeyEntry* other = doc.CurrentKey.At(col + 1, row + 1))
            return {false, number,
                    QStringLiteral("Cell %1, %2 holds label %3 already.").arg(col + 1).arg(row + 1).arg(other->Number)};
        const bool moved = doc.EditKey(Numbered("Move label %1", number), [&](TMapKey& key) {
            TKeyEntry* e = key.Find(number);
            e->X = col + 1;
            e->Y = row + 1;
        });
        return {moved, number, {}};
    }
    if (pressCol != col || pressRow != row) return {};
    const int number = doc.CurrentKey.NextFreeNumber();
    if (number == 0) return {false, 0, QStringLiteral("All 999 numbers of the key are in use.")};
    doc.EditKey(Numbered("Label %1", number), [&](TMapKey& key) { key.Put({number, col + 1, row + 1, {}, {}}); });
    return {true, number, {}};
}

bool DeleteLabel(TMapDocument& doc, int number) {
    if (!doc.CurrentKey.Find(number)) return false;
    return doc.EditKey(Numbered("Delete label %1", number), [&](TMapKey& key) { key.Remove(number); });
}

bool SetKeyEntryTitle(TMapDocument& doc, int number, const std::string& title) {
    const TKeyEntry* e = doc.CurrentKey.Find(number);
    const std::string clean = CleanKeyTitle(title);
    if (!e || e->Title == clean) return false;
    return doc.EditKey(Numbered("Key text %1", number), [&](TMapKey& key) { key.Find(number)->Title = clean; });
}

bool SetKeyEntryText(TMapDocument& doc, int number, const std::string& text) {
    const TKeyEntry* e = doc.CurrentKey.Find(number);
    const std::string clean = CleanKeyText(text);
    if (!e || e->Text == clean) return false;
    return doc.EditKey(Numbered("Key text %1", number), [&](TMapKey& key) { key.Find(number)->Text = clean; });
}

std::vector<int> WalkOrder(const TMapRecord& map, const TMapKey& key, const SymbolTable& symbols) {
    std::vector<int> order;
    if (key.Entries.empty()) return order;
    std::array<int, MapSize * MapSize> seen{}; // 0 unseen, else 1 + visit order
    std::vector<int> queue;
    const TKeyEntry& start = key.Entries.front();
    queue.push_back((start.X - 1) * MapSize + start.Y - 1);
    seen[size_t(queue.back())] = 1;
    struct TStep {
        int dc, dr;
        uint8_t leave, enter;
    };
    constexpr TStep Steps[] = {
        {0, -1, EdgeN, EdgeS}, {1, 0, EdgeE, EdgeW}, {0, 1, EdgeS, EdgeN}, {-1, 0, EdgeW, EdgeE}};
    for (size_t i = 0; i < queue.size(); ++i) {
        const int c = queue[i] / MapSize, r = queue[i] % MapSize;
        const uint8_t here = CellBarriers(map.Cells[c][r], symbols);
        for (const TStep& s : Steps) {
            const int nc = c + s.dc, nr = r + s.dr;
            if (nc < 0 || nr < 0 || nc >= MapSize || nr >= MapSize || seen[size_t(nc * MapSize + nr)] ||
                (here & s.leave))
                continue;
            if (CellBarriers(map.Cells[nc][nr], symbols) & (s.enter | CellFullyWalled)) continue;
            seen[size_t(nc * MapSize + nr)] = int(queue.size()) + 1;
            queue.push_back(nc * MapSize + nr);
        }
    }
    std::vector<std::pair<int, int>> ranked; // visit order (unreached last), old number
    for (const TKeyEntry& e : key.Entries) {
        const int visit = seen[size_t((e.X - 1) * MapSize + e.Y - 1)];
        ranked.emplace_back(visit ? visit : MapSize * MapSize + 1, e.Number);
    }
    std::stable_sort(ranked.begin(), ranked.end());
    for (const auto& [visit, number] : ranked) order.push_back(number);
    return order;
}

std::string RenumberReferences(const std::string& text, const std::map<int, int>& renumbered) {
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    const auto isWordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    // The number at `at` if it is a whole word, written anew; returns where it ends, or
    // npos when there is no such number there.
    const auto number = [&](size_t at) {
        size_t end = at;
        while (end < text.size() && isDigit(text[end])) ++end;
        if (end == at || (end < text.size() && isWordChar(text[end]))) return std::string::npos;
        const std::string digits = text.substr(at, end - at);
        const auto it = digits.size() <= 3 ? renumbered.find(std::stoi(digits)) : renumbered.end();
        out += it != renumbered.end() ? std::to_string(it->second) : digits;
        return end;
    };
    while (i < text.size()) {
        const bool word = i == 0 || !isWordChar(text[i - 1]);
        if (word && text.compare(i, 3, "to ") == 0) {
            out += "to ";
            size_t end = number(i + 3);
            if (end == std::string::npos) {
                i += 3;
                continue;
            }
            // A list goes on: "to 2, 3 and 5".
            for (;;) {
                const size_t sep = text.compare(end, 2, ", ") == 0 ? 2 : text.compare(end, 5, " and ") == 0 ? 5 : 0;
                if (sep == 0 || end + sep >= text.size() || !isDigit(text[end + sep])) break;
                out += text.substr(end, sep);
                const size_t next = number(end + sep);
                if (next == std::string::npos) {
                    out.erase(out.size() - sep);
                    break;
                }
                end = next;
            }
            i = end;
            continue;
        }
        out += text[i++];
    }
    return out;
}

bool RenumberKey(TMapDocument& doc, const SymbolTable& symbols) {
    const std::vector<int> order = WalkOrder(doc.CurrentMap, doc.CurrentKey, symbols);
    std::map<int, int> renumbered;
    for (size_t i = 0; i < order.size(); ++i) renumbered[order[i]] = int(i) + 1;
    return doc.EditKey(QStringLiteral("Renumber"), [&](TMapKey& key) {
        TMapKey fresh;
        fresh.Fields = key.Fields;
        for (TKeyEntry e : key.Entries) {
            e.Number = renumbered.at(e.Number);
            e.Text = RenumberReferences(e.Text, renumbered);
            fresh.Put(std::move(e));
        }
        key = std::move(fresh);
    });
}

void AdoptGeneratedKey(TMapKey& key, const TMapKey& generated, const TGridRect& area) {
    if (area == TGridRect{0, 0, MapSize - 1, MapSize - 1}) {
        key = generated;
        return;
    }
    std::erase_if(key.Entries, [&](const TKeyEntry& e) { return area.Contains(e.X - 1, e.Y - 1); });
    std::map<int, int> renumbered;
    TMapKey taken = key;
    for (const TKeyEntry& e : generated.Entries) {
        const int n = taken.NextFreeNumber();
        if (n == 0) break;
        renumbered[e.Number] = n;
        taken.Put({n, e.X, e.Y, {}, {}});
    }
    for (TKeyEntry e : generated.Entries) {
        const auto it = renumbered.find(e.Number);
        if (it == renumbered.end()) break;
        e.Number = it->second;
        e.Text = RenumberReferences(e.Text, renumbered);
        key.Put(std::move(e));
    }
}

QString LabelHint(const TMapKey& key, int col, int row) {
    const TKeyEntry* e = key.At(col + 1, row + 1);
    if (!e) return {};
    return e->Title.empty() ? QStringLiteral("Label %1").arg(e->Number)
                            : QStringLiteral("%1. %2").arg(e->Number).arg(QString::fromStdString(e->Title));
}

} // namespace qm
