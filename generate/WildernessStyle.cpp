#include "generate/GenerateMap.h"

namespace qm {

void GenerateWilderness(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw) {
    GenerateDungeon(plan, rng, density, sw);
}

} // namespace qm
