// Writes the shipped GeoSets into the folder given on the command line:
// defaultgeoset.geo (the dungeon), caves.geo, wilderness.geo and keep.geo.
#include <cstdio>
#include <exception>
#include <string>

#include "model/GeoSetRecord.h"
#include "tools/GeoSetGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_geoset <output-folder>\n");
        return 2;
    }
    try {
        for (gen::Theme theme : gen::AllThemes) {
            static qm::TGeoSetRecord geo;
            gen::BuildGeoSet(theme, geo);
            qm::WriteGeoSetFile(std::string(argv[1]) + "/" + gen::ThemeFileName(theme), geo);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen_geoset: %s\n", e.what());
        return 1;
    }
    return 0;
}
