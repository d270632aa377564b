#include "model/MapKey.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

namespace {
const std::string FormatLine = "# Quillmarch map key ";
constexpr int FormatVersion = 1;

// Length of the valid UTF-8 sequence at s[i], 0 when it is not one (overlong forms,
// surrogates and code points past U+10FFFF included).
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return 1;
    size_t n;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) n = 2, cp = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, cp = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, cp = c & 0x07;
    else return 0;
    if (i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        const auto d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

size_t CharacterCount(std::string_view s) {
    size_t count = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

bool IsBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A text line that would read as an entry heading is written with one more backslash
// in front, and read back with one less, so any text survives the file.
bool LooksLikeHeading(std::string_view line) {
    const size_t k = line.find_first_not_of('\\');
    if (k == std::string_view::npos) return false;
    const std::string_view rest = line.substr(k);
    return rest == "##" || rest.substr(0, 3) == "## ";
}

std::vector<std::string_view> SplitLines(std::string_view s) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = s.find('\n', start);
        if (end == std::string_view::npos) end = s.size();
        std::string_view line = s.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back(); // the file's last line end
    return lines;
}

bool ParseNumber(std::string_view s, int& out) {
    if (s.empty() || s.size() > 4) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool IsFieldName(std::string_view name) {
    if (name.empty() || name.size() > 40 || !(name[0] >= 'A' && name[0] <= 'Z')) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' '; });
}

class TParser {
public:
    TParser(std::string_view bytes, const std::string& fileName) : bytes_(bytes), file_(fileName) {}

    TMapKey Run() {
        if (bytes_.size() > MaxKeyFileBytes)
            Fail(0, "is " + std::to_string(bytes_.size()) + " bytes; a key is at most 1 MB");
        if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") bytes_.remove_prefix(3); // a byte order mark
        CheckUtf8();
        lines_ = SplitLines(bytes_);
        TMapKey key;
        if (lines_.empty()) return key;
        ReadFormatLine();
        size_t i = 1;
        for (; i < lines_.size() && !IsHeading(lines_[i]); ++i) ReadField(i, key);
        while (i < lines_.size()) i = ReadEntry(i, key);
        return key;
    }

private:
    [[noreturn]] void Fail(size_t line, const std::string& what) const {
        std::string where = "Cannot read the key \"" + file_ + "\"";
        if (line > 0) where += ", line " + std::to_string(line);
        throw TKeyError(where + ": " + what + ".");
    }

    void CheckUtf8() const {
        size_t line = 1;
        for (size_t i = 0; i < bytes_.size();) {
            const size_t n = Utf8SequenceLength(bytes_, i);
            if (n == 0) Fail(line, "it is not UTF-8 text");
            if (bytes_[i] == '\n') ++line;
            else if (static_cast<unsigned char>(bytes_[i]) < 0x20 && bytes_[i] != '\t' &&
                     !(bytes_[i] == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n'))
                Fail(line, "it holds a control character"); // a carriage return only before a line end
            i += n;
        }
    }

    static bool IsHeading(std::string_view line) { return line == "##" || line.substr(0, 3) == "## "; }

    void ReadFormatLine() const {
        const std::string_view first = Trim(lines_[0]);
        int version = 0;
        if (first.substr(0, FormatLine.size()) != FormatLine || !ParseNumber(first.substr(FormatLine.size()), version))
            Fail(1, "the first line must be \"" + FormatLine + std::to_string(FormatVersion) + "\"");
        if (version != FormatVersion)
            Fail(1, "it is a key of version " + std::to_string(version) + ", this Quillmarch reads version " +
                        std::to_string(FormatVersion));
    }

    void ReadField(size_t i, TMapKey& key) const {
        const std::string_view line = lines_[i];
        if (IsBlank(line)) return;
        const size_t colon = line.find(": ");
        if (colon == std::string_view::npos || !IsFieldName(line.substr(0, colon)))
            Fail(i + 1, "expected a \"Name: value\" line or an entry heading \"## 1. Title\"");
        const std::string name(line.substr(0, colon));
        if (!key.Field(name).empty()) Fail(i + 1, "the field \"" + name + "\" is given twice");
        const std::string value(Trim(line.substr(colon + 2)));
        if (!value.empty()) key.Fields.emplace_back(name, value);
    }

    // Reads the entry whose heading is line i; returns the line after it.
    size_t ReadEntry(size_t i, TMapKey& key) const {
        const std::string_view heading = lines_[i];
        const std::string_view rest = heading.substr(std::min<size_t>(3, heading.size()));
        const size_t dot = rest.find('.');
        TKeyEntry e;
        if (dot == std::string_view::npos || !ParseNumber(rest.substr(0, dot), e.Number) ||
            (dot + 1 < rest.size() && rest[dot + 1] != ' '))
            Fail(i + 1, "a heading must read \"## 3. Title\"");
        if (e.Number < 1 || e.Number > MaxKeyNumber) Fail(i + 1, "entry numbers run from 1 to 999");
        if (key.Find(e.Number)) Fail(i + 1, "the number " + std::to_string(e.Number) + " is given twice");
        if (!key.Entries.empty() && key.Entries.back().Number > e.Number)
            Fail(i + 1, "entry " + std::to_string(e.Number) + " comes after entry " +
                            std::to_string(key.Entries.back().Number) + "; entries go in number order");
        e.Title = std::string(Trim(rest.substr(dot + 1)));
        if (CharacterCount(e.Title) > MaxKeyTitleLength) Fail(i + 1, "a title is at most 80 characters");
        ReadCell(i + 1, e);
        size_t end = i + 2;
        while (end < lines_.size() && !IsHeading(lines_[end])) ++end;
        size_t first = i + 2, last = end;
        while (first < last && IsBlank(lines_[first])) ++first;
        while (last > first && IsBlank(lines_[last - 1])) --last;
        for (size_t k = first; k < last; ++k) {
            std::string_view line = lines_[k];
            if (LooksLikeHeading(line)) line.remove_prefix(1);
            if (k > first) e.Text += '\n';
            e.Text += line;
        }
        key.Entries.push_back(std::move(e));
        return end;
    }

    void ReadCell(size_t i, TKeyEntry& e) const {
        if (i >= lines_.size()) Fail(i, "the heading must be followed by a line \"at column, row\"");
        const std::string_view line = Trim(lines_[i]);
        const size_t comma = line.find(',');
        if (line.substr(0, 3) != "at " || comma == std::string_view::npos ||
            !ParseNumber(Trim(line.substr(3, comma - 3)), e.X) || !ParseNumber(Trim(line.substr(comma + 1)), e.Y))
            Fail(i + 1, "expected \"at column, row\" below the heading");
        if (!InsideMapCell(e.X, e.Y))
            Fail(i + 1, "the cell " + std::to_string(e.X) + ", " + std::to_string(e.Y) + " is off the map (1 to 72)");
    }

    static bool InsideMapCell(int x, int y) { return x >= 1 && x <= 72 && y >= 1 && y <= 72; }

    std::string_view bytes_;
    const std::string& file_;
    std::vector<std::string_view> lines_;
};
} // namespace

const TKeyEntry* TMapKey::Find(int number) const {
    auto it = std::lower_bound(Entries.begin(), Entries.end(), number,
                               [](const TKeyEntry& e, int n) { return e.Number < n; });
    return it != Entries.end() && it->Number == number ? &*it : nullptr;
}

TKeyEntry* TMapKey::Find(int number) { return const_cast<TKeyEntry*>(std::as_const(*this).Find(number)); }

const TKeyEntry* TMapKey::At(int x, int y) const {
    for (const TKeyEntry& e : Entries)
        if (e.X == x && e.Y == y) return &e;
    return nullptr;
}

int TMapKey::NextFreeNumber() const {
    int n = 1;
    for (const TKeyEntry& e : Entries) {
        if (e.Number != n) break;
        ++n;
    }
    return n <= MaxKeyNumber ? n : 0;
}

void TMapKey::Put(TKeyEntry entry) {
    auto it = std::lower_bound(Entries.begin(), Entries.end(), entry.Number,
                               [](const TKeyEntry& e, int n) { return e.Number < n; });
    if (it != Entries.end() && it->Number == entry.Number) *it = std::move(entry);
    else Entries.insert(it, std::move(entry));
}

bool TMapKey::Remove(int number) {
    auto it = std::find_if(Entries.begin(), Entries.end(), [number](const TKeyEntry& e) { return e.Number == number; });
    if (it == Entries.end()) return false;
    Entries.erase(it);
    return true;
}

std::string TMapKey::Field(const std::string& name) const {
    for (const auto& [n, v] : Fields)
        if (n == name) return v;
    return {};
}

void TMapKey::SetField(const std::string& name, const std::string& value) {
    auto it = std::find_if(Fields.begin(), Fields.end(), [&](const auto& f) { return f.first == name; });
    if (value.empty()) {
        if (it != Fields.end()) Fields.erase(it);
    } else if (it != Fields.end()) {
        it->second = value;
    } else {
        Fields.emplace_back(name, value);
    }
}

std::string CleanKeyTitle(std::string_view title) {
    const size_t end = title.find_first_of("\r\n");
    std::string t(Trim(title.substr(0, end)));
    // Cut at a character boundary.
    size_t count = 0, i = 0;
    for (; i < t.size(); ++i)
        if ((static_cast<unsigned char>(t[i]) & 0xC0) != 0x80 && count++ == MaxKeyTitleLength) break;
    t.resize(i);
    return t;
}

std::string CleanKeyText(std::string_view text) {
    std::string joined;
    joined.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            joined += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            joined += text[i];
        }
    }
    std::vector<std::string_view> lines = SplitLines(joined);
    size_t first = 0, last = lines.size();
    while (first < last && IsBlank(lines[first])) ++first;
    while (last > first && IsBlank(lines[last - 1])) --last;
    std::string out;
    for (size_t k = first; k < last; ++k) {
        if (k > first) out += '\n';
        out += lines[k];
    }
    return out;
}

std::string KeyEntryHeading(const TKeyEntry& e) {
    return std::to_string(e.Number) + "." + (e.Title.empty() ? std::string() : " " + e.Title);
}

std::string KeyPathFor(const std::string& mapPath) {
    std::string base = mapPath;
    if (base.size() > 4) {
        std::string ext = base.substr(base.size() - 4);
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        if (ext == ".map") base.resize(base.size() - 4);
    }
    return base + ".key.md";
}

std::string KeyFileText(const TMapKey& key) {
    if (key.Empty()) return {};
    std::string out = FormatLine + std::to_string(FormatVersion) + "\n";
    for (const auto& [name, value] : key.Fields) out += name + ": " + value + "\n";
    for (const TKeyEntry& e : key.Entries) {
        out += "\n## " + std::to_string(e.Number) + ".";
        if (!e.Title.empty()) out += " " + e.Title;
        out += "\nat " + std::to_string(e.X) + ", " + std::to_string(e.Y) + "\n";
        if (e.Text.empty()) continue;
        out += '\n';
        for (std::string_view line : SplitLines(e.Text)) {
            if (LooksLikeHeading(line)) out += '\\';
            out += line;
            out += '\n';
        }
    }
    return out;
}

void WriteMapAndKey(const std::string& mapPath, const TMapRecord& map, const TMapKey& key) {
    const std::string keyPath = KeyPathFor(mapPath);
    const std::string text = KeyFileText(key);
    TAtomicFile mapFile(mapPath);
    mapFile.Write(&map, sizeof map);
    std::unique_ptr<TAtomicFile> keyFile;
    if (!text.empty()) {
        keyFile = std::make_unique<TAtomicFile>(keyPath);
        keyFile->Write(text.data(), text.size());
        keyFile->Finish();
    }
    mapFile.Finish();
    // Only renames are left: the key goes first, so a map is never newer than its key.
    if (keyFile) keyFile->Commit();
    mapFile.Commit();
    if (keyFile || ::unlink(keyPath.c_str()) == 0 || errno == ENOENT) return;
    throw TFileError(CannotCreateMessage(keyPath, std::strerror(errno)) + " The key was emptied but its file stays.");
}

TMapKey ParseKeyFile(std::string_view bytes, const std::string& fileName) { return TParser(bytes, fileName).Run(); }

TMapKey ReadKeyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return {};
    std::string bytes(MaxKeyFileBytes + 1, '\0');
    bytes.resize(ReadRecordPrefix(path, bytes.data(), bytes.size()));
    return ParseKeyFile(bytes, path);
}

} // namespace qm
