#pragma once
// The properties every generated map must have, checked for tests and the benchmark run:
// cells outside the area untouched, terrain the stamp would not change, every floor
// quarter reachable from the entrance, every door and window end on a wall in the
// tabletop export, and no 12 x 12 block repeated.
#include <string>

#include "generate/GenerateMap.h"
#include "tests/support/BuiltInTileset.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"

namespace qmtest {

// The built-in tileset, its symbol table and the generator's palette of it, made once (the
// palette refers to the table, so the three stay together where they are made).
struct TBuiltInGenerator {
    const qm::TRenderedTileset& ts = BuiltInTileset();
    qm::SymbolTable table = qm::BuiltInSymbolTable();
    qm::TGenPalette palette = qm::MakeGenPalette(table, ts.HiddenFlags, ts.LayerFlags);
};
const TBuiltInGenerator& BuiltInGenerator();

// "" when every property holds, else what failed and where.
std::string CheckGeneratedMap(const qm::TMapRecord& before, const qm::TMapRecord& after,
                              const qm::TGenerateOptions& options, const qm::TGenerateResult& result,
                              const qm::TRenderedTileset& ts, const qm::SymbolTable& table);

// The single properties, for tests that look at one.
std::string CheckOutsideUnchanged(const qm::TMapRecord& before, const qm::TMapRecord& after, const qm::TGridRect& area);
std::string CheckRestampChangesNothing(const qm::TMapRecord& map, const qm::TGridRect& area);
std::string CheckReachable(const qm::TMapRecord& map, const qm::TGridRect& area, qm::TGenPoint entrance,
                           const qm::SymbolTable& table);
std::string CheckPortalEnds(const qm::TMapRecord& map, const qm::TGridRect& area, const qm::TRenderedTileset& ts,
                            const qm::SymbolTable& table);
std::string CheckNoRepeatedBlock(const qm::TMapRecord& map);

// The key's facts against the map: entries numbered 1..n, each pinned to floor in its own
// place, stairs and hidden markers said iff they are there, secret doors beside it, and every
// number an exit names an entry that names this one back.
std::string CheckGeneratedKey(const qm::TMapRecord& map, const qm::TGenerateResult& result,
                              const qm::TGenPalette& palette, const qm::SymbolTable& table);

} // namespace qmtest
