#include <gtest/gtest.h>

#include "model/MapKey.h"

using namespace qm;

namespace {
TMapKey SampleKey() {
    TMapKey key;
    key.Fields = {{"Level", "2 of 3"}};
    key.Put({9, 72, 1, "Vault", ""});
    key.Put({3, 20, 31, "Guard room", "Two bunks.\n\nA table  \n## not a heading\n\\## escaped already\n##"});
    key.Put({1, 1, 72, "", "Ümlaut and ✓ survive."});
    return key;
}

std::string ErrorOf(std::string_view bytes) {
    try {
        ParseKeyFile(bytes, "d.key.md");
    } catch (const TKeyError& e) {
        return e.what();
    }
    return "";
}
} // namespace

TEST(MapKeyFile, WritesTheDocumentedLayoutAndReadsItBackExactly) {
    const TMapKey key = SampleKey();
    const std::string text = KeyFileText(key);
    EXPECT_EQ(
        text.substr(0, text.find("\n## 9")),
        "# Quillmarch map key 1\nLevel: 2 of 3\n\n## 1.\nat 1, 72\n\nÜmlaut and ✓ survive.\n\n"
        "## 3. Guard room\nat 20, 31\n\nTwo bunks.\n\nA table  \n\\## not a heading\n\\\\## escaped already\n\\##\n");
    const TMapKey back = ParseKeyFile(text, "k");
    EXPECT_EQ(back, key);
    EXPECT_EQ(KeyFileText(back), text);
    EXPECT_EQ(KeyFileText(TMapKey{}), "");
}

// What a text editor does to the file: CRLF line ends, a byte order mark, blank lines and
// spaces around, no last line end.
TEST(MapKeyFile, ReadsWhatATextEditorLeaves) {
    const TMapKey key = ParseKeyFile(
        "\xEF\xBB\xBF# Quillmarch map key 1\r\n\r\n## 2.   Well  \r\nat  4 ,7\r\n\r\n\r\n"
        "Deep.\r\n\r\n## 5. Door\r\nat 1, 1",
        "k");
    ASSERT_EQ(key.Entries.size(), 2u);
    EXPECT_EQ(key.Entries[0], (TKeyEntry{2, 4, 7, "Well", "Deep."}));
    EXPECT_EQ(key.Entries[1], (TKeyEntry{5, 1, 1, "Door", ""}));
}

TEST(MapKeyFile, BrokenFilesNameTheLineAndTheFault) {
    const std::string head = "# Quillmarch map key 1\n";
    const struct {
        std::string bytes;
        const char* expected;
    } cases[] = {
        {"# Some other file\n", "line 1: the first line must be"},
        {"# Quillmarch map key 2\n", "line 1: it is a key of version 2"},
        {head + "\n## 3. A\nat 1, 1\n\n## 2. B\nat 1, 1\n", "line 6: entry 2 comes after entry 3"},
        {head + "## 3. A\nat 1, 1\n## 3. B\nat 1, 1\n", "line 4: the number 3 is given twice"},
        {head + "## 3. A\nat 73, 1\n", "line 3: the cell 73, 1 is off the map"},
        {head + "## 3. A\nat 0, 5\n", "off the map"},
        {head + "## 3. A\n", "line 2: the heading must be followed"},
        {head + "## 3. A\nText at once\n", "line 3: expected \"at column, row\""},
        {head + "## three. A\nat 1, 1\n", "line 2: a heading must read"},
        {head + "## 1000. A\nat 1, 1\n", "numbers run from 1 to 999"},
        {head + "## 3. " + std::string(81, 'x') + "\nat 1, 1\n", "at most 80 characters"},
        {head + "a stray line\n", "line 2: expected a \"Name: value\" line"},
        {head + "Level: 1\nLevel: 2\n", "line 3: the field \"Level\" is given twice"},
        {head + "## 1. \xC3\x28\nat 1, 1\n", "line 2: it is not UTF-8"},
        {head + "## 1. \xED\xA0\x80\nat 1, 1\n", "not UTF-8"}, // a surrogate
        {head + "## 1. A\x01\nat 1, 1\n", "control character"},
        {head + "## 1. A\rB\nat 1, 1\n", "control character"},
        {std::string(MaxKeyFileBytes + 1, 'a'), "at most 1 MB"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf(c.bytes);
        EXPECT_NE(error.find("\"d.key.md\""), std::string::npos) << error;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.bytes.substr(0, 60) << " -> " << error;
    }
    EXPECT_EQ(ErrorOf(head + "## 3. " + std::string(40, 'x') + "\xC3\xA4" + std::string(39, 'x') + "\nat 1, 1\n"), "");
}

TEST(MapKey, NumbersCellsAndCleaning) {
    TMapKey key = SampleKey();
    EXPECT_EQ(key.NextFreeNumber(), 2);
    EXPECT_EQ(key.At(20, 31)->Number, 3);
    EXPECT_EQ(key.At(20, 30), nullptr);
    key.Put({3, 5, 5, "Moved", ""});
    EXPECT_EQ(key.Entries.size(), 3u);
    EXPECT_TRUE(key.Remove(1));
    EXPECT_FALSE(key.Remove(1));
    EXPECT_EQ(key.NextFreeNumber(), 1);
    TMapKey full;
    for (int n = 1; n <= MaxKeyNumber; ++n) full.Entries.push_back({n, 1, 1, "", ""});
    EXPECT_EQ(full.NextFreeNumber(), 0);

    EXPECT_EQ(CleanKeyTitle("  Hall\nsecond line"), "Hall");
    EXPECT_EQ(CleanKeyTitle(std::string(79, 'x') + "ää"), std::string(79, 'x') + "ä");
    EXPECT_EQ(CleanKeyText("\n \r\nA\r\n\r\nB \n\n"), "A\n\nB ");
    EXPECT_EQ(KeyPathFor("/m/Dungeon.MAP"), "/m/Dungeon.key.md");
    EXPECT_EQ(KeyPathFor("/m/plain"), "/m/plain.key.md");
}
