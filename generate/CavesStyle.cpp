#include "generate/GenerateMap.h"

namespace qm {

void GenerateCaves(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw) {
    GenerateDungeon(plan, rng, density, sw);
}

} // namespace qm
