// The symbol tables: names for every symbol, roles that match the drawings, and the side
// file's error messages.
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <set>

#include "tests/TestSupport.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"

namespace {

using qm::SymbolRole;

const std::string Parchment = std::string(QM_PROGRAM_DIR) + "/parchment.bmp";

void Write(const std::string& path, const std::string& text) {
    qmtest::WriteAll(path, std::vector<unsigned char>(text.begin(), text.end()));
}

TEST(SymbolTable, EveryShippedSymbolHasItsOwnName) {
    for (const std::string& path : {std::string(), Parchment}) {
        const qm::SymbolTable t = qm::SymbolTableFor(path);
        std::set<std::string> seen;
        for (int s = 1; s < 256; ++s) {
            EXPECT_FALSE(t[s].name.empty()) << "symbol " << s << " of '" << path << "'";
            EXPECT_TRUE(seen.insert(t[s].name).second) << "symbol " << s << " repeats '" << t[s].name << "'";
        }
        EXPECT_TRUE(t[0].name.empty());
    }
}

TEST(SymbolTable, RolesOfSomeSymbols) {
    const qm::SymbolTable t = qm::BuiltInSymbolTable();
    struct Row {
        int sym;
        SymbolRole role;
        const char* name;
    } rows[] = {{1, SymbolRole::None, "Flagstone floor"},
                {6, SymbolRole::Wall, "Wall corner, north-west"},
                {12, SymbolRole::Door, "Wooden door, north-south wall"},
                {33, SymbolRole::Window, "Arrow slit"},
                {39, SymbolRole::Obstacle, "Pillar"},
                {46, SymbolRole::Light, "Torch"},
                {35, SymbolRole::None, "Secret door marker"},
                {131, SymbolRole::Wall, "Wall, left half"},
                {128, SymbolRole::Obstacle, "Wall, lone patch"},
                {167, SymbolRole::Light, "Fire, north-east corner"},
                {157, SymbolRole::None, "Water, full"},
                {226, SymbolRole::Wall, "Mountain, bottom half"}, // rock walls off its quarters
                {224, SymbolRole::Obstacle, "Mountain, lone patch"},
                {221, SymbolRole::None, "Forest, full"}};
    for (const Row& r : rows) {
        EXPECT_EQ(t[r.sym].role, r.role) << r.sym;
        EXPECT_EQ(t[r.sym].name, r.name) << r.sym;
    }
    EXPECT_EQ(t[6].edges, qm::EdgeN | qm::EdgeW);
    EXPECT_TRUE(t[12].vertical);
    EXPECT_FALSE(t[13].vertical);
    EXPECT_EQ(t[131].quarters, qm::QuarterNW | qm::QuarterSW);
    EXPECT_EQ(t[138].quarters, qm::QuarterNE | qm::QuarterSW | qm::QuarterSE); // all but north-west
    EXPECT_EQ(t[226].quarters, qm::QuarterSW | qm::QuarterSE);
    EXPECT_TRUE(t[14].open);
    EXPECT_EQ(t[35].player, qm::PlayerWallPiece);
    EXPECT_EQ(t[34].player, 0);
    EXPECT_EQ(t[46].range, 4.0f);
    EXPECT_EQ(t[46].color, 0xffffb25au);
    EXPECT_STREQ(qm::RoleName(SymbolRole::Window), "window");
    EXPECT_STREQ(qm::RoleName(SymbolRole::None), "");
}

// Thin walls lie on the drawn stone band: ink where the table puts a wall line, white on
// the sides it leaves open.
TEST(SymbolTable, ThinWallsFollowTheirDrawing) {
    const QImage pic = qm::DefaultTilesetPicture();
    const int S = pic.width() / 16;
    const qm::SymbolTable t = qm::BuiltInSymbolTable();
    for (int s = 1; s < 128; ++s) {
        if (t[s].role != SymbolRole::Wall) continue;
        const int d = int(t[s].inset * S), m = S / 2, x0 = (s % 16) * S, y0 = (s / 16) * S;
        const QPoint probe[4] = {{m, d}, {S - 1 - d, m}, {m, S - 1 - d}, {d, m}}; // N E S W
        for (int e = 0; e < 4; ++e) {
            const bool inked = (pic.pixel(x0 + probe[e].x(), y0 + probe[e].y()) & 0xffffff) != 0xffffff;
            EXPECT_EQ(inked, bool(t[s].edges & (1 << e))) << "symbol " << s << " side " << e;
        }
    }
}

TEST(SymbolTable, SideFileBesideACustomTileset) {
    qmtest::TempDir dir;
    ASSERT_TRUE(QFile::copy(QString::fromStdString(Parchment), QString::fromStdString(dir.File("cave.bmp"))));
    // Without a side file only the terrain rows speak.
    qm::SymbolTable t = qm::SymbolTableFor(dir.File("cave.bmp"));
    EXPECT_EQ(t[46].role, SymbolRole::None);
    EXPECT_TRUE(t[46].name.empty());
    EXPECT_EQ(t[140].role, SymbolRole::Wall);

    Write(dir.File("cave.roles"),
          "# my cave\r\n\n46 light range=2.5 color=80ff0000 Glow worms #3\r\n"
          "140 none Wall, not here\n2 wall quarters=NW+SE Odd block\n");
    t = qm::SymbolTableFor(dir.File("cave.bmp"));
    EXPECT_EQ(t[46].role, SymbolRole::Light);
    EXPECT_EQ(t[46].range, 2.5f);
    EXPECT_EQ(t[46].color, 0x80ff0000u);
    EXPECT_EQ(t[46].name, "Glow worms #3");
    EXPECT_EQ(t[140].role, SymbolRole::None);
    EXPECT_EQ(t[2].quarters, qm::QuarterNW | qm::QuarterSE);
    EXPECT_EQ(t[141].role, SymbolRole::Wall); // rows not listed keep the terrain roles

    Write(dir.File("cave.roles"), "1 none Floor\n\n1 none Floor again\n");
    try {
        qm::SymbolTableFor(dir.File("cave.bmp"));
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cave.roles, line 3: symbol 1 is already given on line 1.");
    }
}

TEST(SymbolTable, ParseErrorsNameTheLine) {
    struct Row {
        const char* text;
        const char* message;
    } rows[] = {
        {"0 none Zero", "t.roles, line 1: \"0\" is not a symbol number from 1 to 255."},
        {"# c\n256 wall edges=N", "t.roles, line 2: \"256\" is not a symbol number from 1 to 255."},
        {"12", "t.roles, line 1: symbol 12 has no role (use none, wall, door, window, obstacle or light)."},
        {"\n\n12 dor axis=h",
         "t.roles, line 3: unknown role \"dor\" (use none, wall, door, window, obstacle or light)."},
        {"2 wall Wall", "t.roles, line 1: a wall needs edges= or quarters=."},
        {"2 wall edges=NX", "t.roles, line 1: edges=NX: expected some of the letters N, E, S, W."},
        {"2 wall quarters=NW+", "t.roles, line 1: quarters=NW+: expected quarters NW, NE, SW, SE joined by +."},
        {"2 wall edges=N inset=0.7", "t.roles, line 1: inset=0.7: expected a number from 0 to 0.5."},
        {"12 door axis=d", "t.roles, line 1: axis=d: expected h (in an east-west wall) or v (in a north-south wall)."},
        {"12 door range=3", "t.roles, line 1: range= does not apply to a door."},
        {"1 none edges=N", "t.roles, line 1: edges= does not apply to a symbol without a role."},
        {"39 obstacle box=0.8,0.2,0.2,0.8",
         "t.roles, line 1: box=0.8,0.2,0.2,0.8: left must be below right and top below bottom."},
        {"39 obstacle box=0.1,0.2,0.3", "t.roles, line 1: box=0.1,0.2,0.3: expected four numbers L,T,R,B."},
        {"46 light color=ffffffff", "t.roles, line 1: a light needs range=."},
        {"46 light range=4 color=fff", "t.roles, line 1: color=fff: expected 8 hex digits AARRGGBB."},
        {"46 light range=4 size=2", "t.roles, line 1: unknown setting \"size\"."},
        {"14 window state=open", "t.roles, line 1: state= does not apply to a window."},
        {"\n35 none player=256", "t.roles, line 2: player=256: expected a symbol from 0 to 255 or wall."},
        {"35 none player=door", "t.roles, line 1: player=door: expected a symbol from 0 to 255 or wall."},
        {"35 none player=35", "t.roles, line 1: player=35: a symbol cannot stand in for itself."},
    };
    for (const Row& r : rows) {
        try {
            qm::ParseSymbolTable(r.text, "t.roles");
            ADD_FAILURE() << "no error for: " << r.text;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), r.message) << r.text;
        }
    }
}

// What players see may not be hidden itself: the line that says so is named.
TEST(SymbolTable, PlayerSymbolThatIsHiddenIsAnError) {
    std::array<std::uint8_t, 256> hidden{};
    hidden[34] = hidden[35] = 1;
    const qm::SymbolTable t = qm::ParseSymbolTable("34 none player=2 Trap\n# c\n35 none player=34 Secret door",
                                                   "t.roles");
    try {
        qm::CheckPlayerSymbols(t, hidden, "t.roles");
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(),
                     "t.roles, line 3: player=34: symbol 34 is hidden too; players must see a symbol that is "
                     "shown.");
    }
    hidden[34] = 0;
    EXPECT_NO_THROW(qm::CheckPlayerSymbols(t, hidden, "t.roles"));
    // The secret doors a tool may put into a wall: those standing for it or for any wall piece.
    EXPECT_EQ(qm::SecretDoorsFor(t, hidden, 2), std::vector<std::uint8_t>{});
    hidden[34] = 1;
    const qm::SymbolTable b = qm::BuiltInSymbolTable();
    EXPECT_EQ(qm::SecretDoorsFor(b, hidden, 2), std::vector<std::uint8_t>{35});
}

} // namespace
