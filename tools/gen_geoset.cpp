// Writes the default GeoSet to the path given on the command line.
#include <cstdio>
#include <exception>

#include "model/GeoSetRecord.h"
#include "tools/gen_geoset.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_geoset <output.geo>\n");
        return 2;
    }
    try {
        static qm::TGeoSetRecord geo;
        gen::BuildDefaultGeoSet(geo);
        qm::WriteGeoSetFile(argv[1], geo);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen_geoset: %s\n", e.what());
        return 1;
    }
    return 0;
}
