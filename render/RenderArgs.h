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

namespace qm {

enum class TRenderPaper { Letter, A4, Legal };

// --generate STYLE: a map drawn by the generator instead of one read from a file.
struct TRenderGenerate {
    TGenStyle Style = TGenStyle::Dungeon;
    std::optional<std::uint32_t> Seed; // none: one is picked and printed
    TGenDensity Density = TGenDensity::Some;
    std::optional<TGridRect> Area; // none: the whole map
};

struct TRenderArgs {
    std::string MapPath;
    std::string OutputPath;
    bool Pdf = false; // else a picture in PictureFormat
    bool Vtt = false; // a virtual-tabletop map (.dd2vtt, .uvtt, .df2vtt)
    TPictureFormat PictureFormat = TPictureFormat::Png;
    std::string TilesetPath;                 // empty: the map's own tileset
    bool TiledExport = false;                // MAP OUT.tmx: the map and its tileset for Tiled
    bool TiledImport = false;                // IN.tmx OUT.map: a Tiled map as a Quillmarch map
    std::optional<TRenderGenerate> Generate; // MapPath empty then
    bool MapOutput = false;                  // --generate ... OUT.map

    // Pictures.
    std::optional<int> Zoom;         // 1..256; default the map's Zoom
    std::optional<TGridRect> Region; // 0-based grid cells; default the whole map
    std::optional<bool> ShowHidden;  // default the map's own setting; off for a tabletop map

    // Virtual-tabletop maps (Region and ShowHidden as for pictures).
    int PixelsPerGrid = 100;                    // --ppg 16..227, else the target's default
    TVttTarget VttTarget = TVttTarget::Generic; // --vtt-target

    // PDF, in the terms of the "Print Properties" dialog.
    int ScaleItem = 0;                 // 0 fit, 1..6 = 0.25 .. 1.50 inch
    int MarginItems[4] = {1, 1, 1, 1}; // left, top, right, bottom: 0.25, 0.50, 1.00, 1.50 inch
    bool Title = true;
    std::optional<TGridRect> Area; // empty: the whole map
    bool AreaDrawn = false;        // --area drawn: the drawn part of the map
    int GridStyle = 0;             // 0 none .. 4 hex overlay
    TRenderPaper Paper = TRenderPaper::Letter;
    int Resolution = 600;
    int FromPage = 1, ToPage = 999;

    // PDF battle-mat sheets, as the dialog's "Battle Mat" group (ShowHidden above
    // makes the player copy).
    int Overlap = 0; // 0 none, 1..3 = 1/8, 1/4, 1/2 inch
    bool Marks = false;
    bool Overview = false;
    int Correction = 1000; // tenths of a percent, 950..1050
    bool SkipEmpty = false;
    bool InkSaver = false;
    bool FitSheets = false; // --sheets fit
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
