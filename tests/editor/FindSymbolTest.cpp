// Finding symbols by the words of their names, and the eyedropper's pick from a cell.
#include <gtest/gtest.h>

#include "editor/WhereAmI.h"
#include "tiles/BuiltInSymbols.h"

using namespace qm;

TEST(FindSymbol, WordsOfANameInOrder) {
    struct Case {
        const char* name;
        const char* query;
        bool found;
    } cases[] = {
        {"Wooden planks", "wood", true},
        {"Wooden planks", "plank", true},
        {"Wooden planks", "PLA", true},
        {"Wooden planks", "wood pl", true},
        {"Wooden planks", "pl wood", false},
        {"Wooden planks", "oden", false},
        {"Wooden planks", "planks x", false},
        {"Wooden door, north-south wall", "south", true},
        {"Wooden door, north-south wall", "door wall", true},
        {"Wooden door, north-south wall", "wall door", false},
        {"Trap", "  ", true},
    };
    for (const Case& c : cases) EXPECT_EQ(NameMatches(c.name, c.query), c.found) << c.name << " / " << c.query;

    const SymbolTable table = BuiltInSymbolTable();
    EXPECT_EQ(MatchingSymbols(table, "plank"), std::vector<int>{sym::Planks});
    EXPECT_EQ(MatchingSymbols(table, "").size(), 256u);
    EXPECT_TRUE(MatchingSymbols(table, "qqz").empty());
}

// Type-ahead over a narrowed column moves among its rows; letters find later words too.
TEST(FindSymbol, TypeAheadFindsWordsAndStaysInTheShownRows) {
    const SymbolTable table = BuiltInSymbolTable();
    TTypeAhead all;
    const int row = all.Type("plank", 0, 0, table);
    EXPECT_EQ(row, sym::Planks);
    const std::vector<int> shown = MatchingSymbols(table, "wooden");
    ASSERT_GE(shown.size(), 3u);
    TTypeAhead narrowed;
    EXPECT_EQ(narrowed.Type("d", 0, 0, table, shown), 1); // row 1 of the shown rows: the next "d..." word
    EXPECT_EQ(shown[1], sym::DoorEW);
    EXPECT_EQ(narrowed.Type("d", 10, 1, table, shown), 3); // the same letter again: the deck after the planks
    EXPECT_EQ(shown[3], sym::Deck);
}

TEST(FindSymbol, EyedropperTakesTheUpperElseTheLowerSymbol) {
    TMapRecord map{};
    map.Cell(1, 1) = {0, 17, 0};
    map.Cell(2, 1) = {30, 17, 0};
    map.Cell(3, 1) = {30, 0, 0};
    struct Case {
        int col, row, symbol;
    } cases[] = {{0, 0, 17}, {1, 0, 30}, {2, 0, 30}, {3, 0, -1}, {-1, 0, -1}, {72, 0, -1}, {0, 72, -1}};
    for (const Case& c : cases) EXPECT_EQ(SymbolInCell(map, c.col, c.row), c.symbol) << c.col << "," << c.row;
}
