#pragma once
// The generated map's key: the places a style made (rooms, caverns, courtyards, the site),
// numbered from the entrance outward, each pinned to a floor cell inside it, with a title
// from its purpose and a text read from the drawn map: furniture and light, stairs, hidden
// markers, water and chasms, and its exits with the numbers they lead to.
#include <cstdint>
#include <vector>

#include "generate/GenRooms.h"
#include "model/MapKey.h"

namespace qm {

struct TGenKeyResult {
    TMapKey Key;
    // Per cell (r * MapSize + c, 0-based): the number of the entry whose place it is, 0 for none.
    std::vector<std::uint16_t> PlaceOf;
};

// `map` is the plan committed; nothing is drawn from the generator's random numbers.
TGenKeyResult BuildGenKey(const TGenPlan& plan, const TMapRecord& map);

// "Library", "Guard room"... and a line of mood for a room of that purpose.
const char* PurposeTitle(TRoomPurpose purpose);
const char* PurposeMood(TRoomPurpose purpose);
// The room as a place of the key, titled by its purpose unless `title` is given.
void AddRoomPlace(TGenPlan& plan, const TGenRoom& room, const char* title = nullptr);
// The caves' caverns: the wide parts of the floor, each taking the passages halfway to the next.
void MarkCaverns(TGenPlan& plan);

// The sentences the key writes for stairs, so a stack of levels can say where they lead.
inline constexpr const char* StairsDownSentence = "Stairs down.";
inline constexpr const char* StairsUpSentence = "Stairs up.";

} // namespace qm
