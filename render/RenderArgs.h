#pragma once
// The command line of quillmarch-render, parsed by a pure function: no files are
// touched and nothing global is read, so any byte string can be fed to it.
#include <optional>
#include <string>
#include <vector>

#include "compose/GridRect.h"
#include "export/PictureWriters.h"
#include "export/VttExport.h"
#include "generate/GenerateMap.h"
#include "model/MapRecord.h"
#include "print/PageLayout.h"

namespace qm {

enum class TRenderPaper { Letter, A4, Legal };

// --generate STYLE: a map drawn by the generator instead of one read from a file.
struct TRenderGenerate {
    TGenStyle Style = TGenStyle::Dungeon;
    std::optional<std::uint32_t> Seed; // none: one is picked and printed
    TGenDensity Density = TGenDensity::Some;
    std::optional<TGridRect> Area;  // none: the whole map
    int Levels = 1;                 // --levels: a stack written as OUT-1.ext .. OUT-N.ext
    std::optional<TGenStyle> Below; // --below: the style of the levels under the first
};

// What the run makes, from the output's extension (and the input's, for a Tiled import).
enum class TRenderJob {
    Picture,     // a picture in PictureFormat
    Pdf,         // the map printed
    Vtt,         // a virtual-tabletop map (.dd2vtt, .uvtt, .df2vtt)
    TiledExport, // MAP OUT.tmx: the map and its tileset for Tiled
    TiledImport, // IN.tmx OUT.map: a Tiled map as a Quillmarch map
    MapFile,     // --generate ... OUT.map
    Foundry,     // --vtt-target foundry MAP OUT.json: a Foundry VTT scene and its picture
};

struct TRenderArgs {
    std::string MapPath;
    std::string OutputPath;
    TRenderJob Job = TRenderJob::Picture;
    TPictureFormat PictureFormat = TPictureFormat::Png;
    std::string TilesetPath;                 // empty: the map's own tileset
    std::optional<TRenderGenerate> Generate; // MapPath empty then
    // --accept-any-size: a MAP that is not exactly one map record long is read anyway (a
    // short file fills the start of a cleared record); else it ends the run.
    bool AcceptAnySize = false;

    // Pictures.
    std::optional<int> Zoom;         // 1..256; default the map's Zoom
    std::optional<TGridRect> Region; // 0-based grid cells; default the whole map
    std::optional<bool> ShowHidden;  // default the map's own setting; off for a tabletop map
    bool Labels = false;             // --labels: the map key's numbers over their cells

    // Rock as paper (--rock), for pictures, tabletop pictures and PDF: a TRockPrint.
    int Rock = rpDrawn;

    // Virtual-tabletop maps (Region and ShowHidden as for pictures).
    int PixelsPerGrid = 100;                    // --ppg 16..227, else the target's default
    TVttTarget VttTarget = TVttTarget::Generic; // --vtt-target

    // Foundry scenes (.json; PixelsPerGrid, Region and ShowHidden as for tabletop maps).
    std::string FoundryFolder; // --foundry-folder: where the picture is uploaded in Foundry's user data

    // PDF: the choices of the "Print Properties" dialog, battle-mat sheets and the player
    // copy (--show-hidden) among them, and the printed cells when not the whole map.
    TPrintSettings Print;
    TGridRect PrintArea; // 0-based grid cells, used when !Print.WholeMap
    TRenderPaper Paper = TRenderPaper::Letter;
    int Resolution = 600;
    int FromPage = 1, ToPage = 999;
};

struct TRenderParse {
    enum TKind { Run, Help, BadValue, Usage } Kind = Run;
    std::string Message; // for BadValue and Usage
    TRenderArgs Args;

    int ExitCode() const { return Kind == BadValue ? 1 : Kind == Usage ? 2 : 0; }
};

// args excludes the program name.
TRenderParse ParseRenderArgs(const std::vector<std::string>& args);

// The --help text.
const char* RenderUsage();

} // namespace qm
