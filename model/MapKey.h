#pragma once
// The map key: numbered entries pinned to cells, each with a title and a text, kept beside
// the map as NAME.key.md, a Markdown file that reads as a key in any text editor:
//
//   # Quillmarch map key 1
//   Level: 2 of 3            (header fields, "Name: value", optional)
//
//   ## 3. Guard room
//   at 20, 31
//
//   The text, any number of paragraphs.
//
// The map file itself knows nothing of it.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/MapRecord.h"
#include "model/RecordFile.h"

namespace qm {

constexpr int MaxKeyNumber = 999;
constexpr size_t MaxKeyTitleLength = 80; // characters, not bytes
constexpr size_t MaxKeyFileBytes = size_t(1) << 20;

struct TKeyEntry {
    int Number = 0;
    int X = 1, Y = 1;  // the cell it is pinned to, 1-based as the status bar shows it
    std::string Title; // one line, UTF-8
    std::string Text;  // plain text, lines joined by '\n', no blank lines at either end

    bool operator==(const TKeyEntry&) const = default;
};

struct TMapKey {
    // Header fields in file order ("Level", "Above", "Below" for a level of a stack).
    std::vector<std::pair<std::string, std::string>> Fields;
    std::vector<TKeyEntry> Entries; // ascending Number, numbers unique

    bool Empty() const { return Entries.empty() && Fields.empty(); }
    const TKeyEntry* Find(int number) const;
    TKeyEntry* Find(int number);
    // The entry pinned to the cell (the lowest number where several are).
    const TKeyEntry* At(int x, int y) const;
    // The smallest number not in use; 0 when all of 1..999 are.
    int NextFreeNumber() const;
    // Inserts, or replaces the entry with the same number, keeping the order.
    void Put(TKeyEntry entry);
    bool Remove(int number);
    std::string Field(const std::string& name) const;
    // An empty value removes the field.
    void SetField(const std::string& name, const std::string& value);

    bool operator==(const TMapKey&) const = default;
};

// A key file that cannot be read: the message names the file, the line and the fault.
class TKeyError : public TFileError {
public:
    using TFileError::TFileError;
};

// The title as it is kept: one line, spaces at both ends dropped, at most 80 characters.
std::string CleanKeyTitle(std::string_view title);
// The text as it is kept: '\n' line ends, no blank lines at either end.
std::string CleanKeyText(std::string_view text);

// "3. Guard room" ("3." without a title): how the entry is named on pins and pages.
std::string KeyEntryHeading(const TKeyEntry& e);

// NAME.map -> NAME.key.md (any other name gets ".key.md" added).
std::string KeyPathFor(const std::string& mapPath);

// The file's bytes; an empty key gives an empty string (no file is written for it).
std::string KeyFileText(const TMapKey& key);
// Reads the bytes of a key file; `fileName` is named in the messages. Throws TKeyError.
TMapKey ParseKeyFile(std::string_view bytes, const std::string& fileName);
// A missing file is an empty key; anything unreadable throws (TFileError or TKeyError).
TMapKey ReadKeyFile(const std::string& path);

// Writes the map and its key (KeyPathFor) as one: both to temporary files, and only when
// both are written are they renamed over the old ones; an empty key removes the key
// file. A failure leaves both old files as they were and throws TFileError.
void WriteMapAndKey(const std::string& mapPath, const TMapRecord& map, const TMapKey& key);

} // namespace qm
