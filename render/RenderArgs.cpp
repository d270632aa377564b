#include "render/RenderArgs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <map>
#include <set>

#include "export/FileKind.h"
#include "export/VttExport.h"
#include "generate/GenStack.h"
#include "print/PrintTables.h"

namespace qm {

namespace {

const std::set<std::string> PictureOptions = {"--zoom", "--region"};
const std::set<std::string> PdfOptions = {"--scale", "--margins",    "--title", "--area", "--grid",
                                          "--paper", "--resolution", "--pages", "--key"};
const std::set<std::string> CommonOptions = {"--tileset", "--show-hidden", "--labels"};
// Rock as paper: pictures, tabletop pictures and PDF.
const std::set<std::string> RockOptions = {"--rock"};
// Battle-mat sheets, PDF only.
const std::set<std::string> MatOptions = {"--overlap",    "--marks",     "--overview", "--correction",
                                          "--skip-empty", "--ink-saver", "--sheets"};
const std::set<std::string> VttOptions = {"--ppg", "--vtt-target"};
const std::set<std::string> GenerateOptions = {"--generate", "--seed", "--density", "--levels", "--below"};
// Options that take no value.
const std::set<std::string> FlagOptions = {"--accept-any-size"};
// Foundry VTT scenes (.json) only; the tabletop options apply to them too.
const std::set<std::string> FoundryOptions = {"--foundry-folder"};

// A whole decimal number and nothing else.
std::optional<int> ParseInt(const std::string& s) {
    int v = 0;
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, v);
    if (s.empty() || ec != std::errc() || p != end) return std::nullopt;
    return v;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return parts;
}

// "L,T,R,B", 1-based inclusive map cells, as a 0-based grid rectangle.
std::optional<TGridRect> ParseCells(const std::string& s) {
    const auto parts = Split(s, ',');
    if (parts.size() != 4) return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        auto n = ParseInt(parts[i]);
        if (!n || *n < 1 || *n > MapSize) return std::nullopt;
        v[i] = *n;
    }
    if (v[0] > v[2] || v[1] > v[3]) return std::nullopt;
    return TGridRect{v[0] - 1, v[1] - 1, v[2] - 1, v[3] - 1};
}

// Hundredths of an inch of a table's items from `first` on.
template <size_t N> std::vector<int> Hundredths(const float (&inches)[N], size_t first = 0) {
    std::vector<int> h;
    for (size_t i = first; i < N; ++i) h.push_back(int(std::lround(inches[i] * 100)));
    return h;
}

// Index of `s` in a list of inch values written with two decimals; "1", "1.0" and
// "1.00" all name the same size.
std::optional<int> ParseInches(const std::string& s, const std::vector<int>& hundredths) {
    // digits, optionally a dot and one or two more digits
    size_t dot = s.find('.');
    std::string whole = s.substr(0, dot), frac = dot == std::string::npos ? "" : s.substr(dot + 1);
    if (whole.empty() || whole.size() > 2 || frac.size() > 2 || (dot != std::string::npos && frac.empty()))
        return std::nullopt;
    auto w = ParseInt(whole);
    if (!w || *w < 0) return std::nullopt;
    int f = 0;
    if (!frac.empty()) {
        auto n = ParseInt(frac);
        if (!n || *n < 0) return std::nullopt;
        f = frac.size() == 1 ? *n * 10 : *n;
    }
    const int value = *w * 100 + f;
    for (size_t i = 0; i < hundredths.size(); ++i)
        if (hundredths[i] == value) return int(i);
    return std::nullopt;
}

// MAP OUT.tmx exports for Tiled (only --tileset applies), IN.tmx OUT.map imports (no
// options); anything else is not a Tiled job.
std::optional<std::string> TiledJob(TRenderArgs& a, const std::map<std::string, std::string>& opts) {
    const TFileKind in = FileKindOf(a.MapPath), out = FileKindOf(a.OutputPath);
    if (out == TFileKind::Tmx) a.Job = TRenderJob::TiledExport;
    else if (in == TFileKind::Tmx && out == TFileKind::Map) a.Job = TRenderJob::TiledImport;
    else if (out == TFileKind::Map) return "IN must end in .tmx to import a Tiled map into a .map: " + a.MapPath;
    else return std::nullopt;
    const bool import = a.Job == TRenderJob::TiledImport;
    for (const auto& [name, value] : opts)
        if (import || name != "--tileset")
            return name + (import ? " does not apply to importing a Tiled map"
                                  : " does not apply to Tiled maps (only --tileset does)");
    return std::string();
}

std::optional<bool> ParseOnOff(const std::string& s) {
    if (s == "on") return true;
    if (s == "off") return false;
    return std::nullopt;
}

} // namespace

namespace {

// The options as given, by name, each at most once.
struct TOptionValues {
    std::map<std::string, std::string> Values;
    const std::string* Get(const char* name) const {
        auto it = Values.find(name);
        return it == Values.end() ? nullptr : &it->second;
    }
};

// A value that cannot be used, or nothing.
using TBadValue = std::optional<std::string>;
TBadValue Bad(const std::string& message) { return message; }

std::string Quoted(const std::string& v) { return "\"" + v + "\""; }

// The index of the choice a command-line word names, or -1.
template <class Choices> int ChoiceIndex(const Choices& choices, const std::string& word) {
    for (int k = 0; k < int(std::size(choices)); ++k)
        if (word == choices[k].Word) return k;
    return -1;
}

TRenderParse Refused(TRenderParse::TKind kind, const std::string& message) {
    TRenderParse r;
    r.Kind = kind;
    r.Message = message;
    return r;
}

// Splits the command line into operands and options; ends early, as the result, on
// --help or a usage error.
std::optional<TRenderParse> SplitCommandLine(const std::vector<std::string>& args, std::vector<std::string>& operands,
                                             TOptionValues& opts) {
    bool onlyOperands = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (onlyOperands || a.size() < 2 || a[0] != '-') {
            operands.push_back(a);
            continue;
        }
        if (a == "--") {
            onlyOperands = true;
            continue;
        }
        if (a == "--help" || a == "-h") return Refused(TRenderParse::Help, std::string());
        std::string name = a, value;
        bool inlineValue = false;
        if (auto eq = a.find('='); eq != std::string::npos && a.rfind("--", 0) == 0) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            inlineValue = true;
        }
        if (!PictureOptions.count(name) && !PdfOptions.count(name) && !CommonOptions.count(name) &&
            !MatOptions.count(name) && !VttOptions.count(name) && !GenerateOptions.count(name) &&
            !FlagOptions.count(name) && !RockOptions.count(name) && !FoundryOptions.count(name))
            return Refused(TRenderParse::Usage, "unknown option " + name);
        if (FlagOptions.count(name)) {
            if (inlineValue) return Refused(TRenderParse::Usage, "option " + name + " takes no value");
        } else if (!inlineValue) {
            if (i + 1 >= args.size()) return Refused(TRenderParse::Usage, "option " + name + " needs a value");
            value = args[++i];
        }
        if (opts.Values.count(name)) return Refused(TRenderParse::Usage, "option " + name + " is given twice");
        opts.Values[name] = value;
    }
    return std::nullopt;
}

// The output's kind from its extension, and whether each option applies to it.
std::optional<std::string> ReadOutputKind(TRenderArgs& a, const TOptionValues& opts) {
    const TFileKind out = FileKindOf(a.OutputPath);
    if (out == TFileKind::Pdf) {
        a.Job = TRenderJob::Pdf;
    } else if (const auto picture = PictureFormatOf(a.OutputPath)) {
        a.Job = TRenderJob::Picture;
        a.PictureFormat = *picture;
    } else if (out == TFileKind::Vtt) {
        a.Job = TRenderJob::Vtt;
    } else if (out == TFileKind::Json) {
        // A scene of the one tabletop whose own format this is, asked for by name.
        const std::string* target = opts.Get("--vtt-target");
        if (!target || *target != "foundry")
            return "OUTPUT ending in .json is a Foundry VTT scene: give --vtt-target foundry: " + a.OutputPath;
        a.Job = TRenderJob::Foundry;
    } else {
        return "OUTPUT must end in .png, .jpg, .jpeg, .bmp, .pdf, .tmx, .dd2vtt, .uvtt, .df2vtt or .json: " +
               a.OutputPath;
    }
    const bool pdf = a.Job == TRenderJob::Pdf, vtt = a.Job == TRenderJob::Vtt || a.Job == TRenderJob::Foundry;
    for (const auto& [name, value] : opts.Values) {
        if (a.Job != TRenderJob::Foundry && FoundryOptions.count(name))
            return name + " applies to Foundry VTT scenes (.json) only";
        if (pdf && PictureOptions.count(name)) return name + " applies to pictures, not to PDF output";
        if (!pdf && (PdfOptions.count(name) || MatOptions.count(name))) return name + " applies to PDF output only";
        if (!vtt && VttOptions.count(name)) return name + " applies to virtual tabletop maps only";
        if (vtt && name == "--zoom")
            return std::string("--zoom applies to pictures; use --ppg for virtual tabletop maps");
    }
    return std::nullopt;
}

// The tileset, and the options of pictures and virtual tabletop maps.
TBadValue ReadDrawingOptions(TRenderArgs& a, const TOptionValues& opts) {
    if (auto v = opts.Get("--tileset")) {
        if (v->empty()) return Bad("--tileset needs a file name");
        a.TilesetPath = *v;
    }
    if (auto v = opts.Get("--zoom")) {
        auto n = ParseInt(*v);
        if (!n || *n < 1 || *n > 256) return Bad("--zoom must be a whole number from 1 to 256, not " + Quoted(*v));
        a.Zoom = *n;
    }
    if (auto v = opts.Get("--region")) {
        auto g = ParseCells(*v);
        if (!g) return Bad("--region must be L,T,R,B with 1 <= L <= R <= 72 and 1 <= T <= B <= 72, not " + Quoted(*v));
        a.Region = *g;
    }
    if (auto v = opts.Get("--show-hidden")) {
        auto b = ParseOnOff(*v);
        if (!b) return Bad("--show-hidden must be on or off, not " + Quoted(*v));
        a.ShowHidden = *b;
        a.Print.Mat.Hidden = *b ? hpShow : hpLeaveOut;
    }
    if (auto v = opts.Get("--labels")) {
        auto b = ParseOnOff(*v);
        if (!b) return Bad("--labels must be on or off, not " + Quoted(*v));
        a.Labels = *b;
    }
    // The map key's numbers only when asked: without --labels every output is as it was.
    a.Print.RoomNumbers = a.Labels ? rnOn : rnOff;
    if (auto v = opts.Get("--key")) {
        if (*v != "pages" && *v != "none") return Bad("--key must be pages or none, not " + Quoted(*v));
        a.Print.KeyPages = *v == "pages";
    }
    if (auto v = opts.Get("--rock")) {
        const int found = ChoiceIndex(RockChoices, *v);
        if (found < 0) return Bad("--rock must be drawn, hatched or white, not " + Quoted(*v));
        a.Rock = found;
        a.Print.Rock = found;
    }
    if (auto v = opts.Get("--ppg")) {
        auto n = ParseInt(*v);
        if (!n || *n < MinVttPixelsPerCell || *n > MaxVttPixelsPerCell)
            return Bad("--ppg must be a whole number from " + std::to_string(MinVttPixelsPerCell) + " to " +
                       std::to_string(MaxVttPixelsPerCell) + ", not " + Quoted(*v));
        a.PixelsPerGrid = *n;
    }
    if (auto v = opts.Get("--vtt-target")) {
        const TVttTargetInfo* t = VttTargetById(*v);
        if (!t) return Bad("--vtt-target must be generic, foundry, owlbear, roll20 or fgu, not " + Quoted(*v));
        a.VttTarget = t->Target;
        if (!opts.Get("--ppg")) a.PixelsPerGrid = t->DefaultPixelsPerCell;
    }
    if (auto v = opts.Get("--foundry-folder")) {
        if (v->find("..") != std::string::npos || (!v->empty() && (*v)[0] == '/') || v->find('\\') != std::string::npos)
            return Bad("--foundry-folder must be a folder inside Foundry's user data such as worlds/keep, not " +
                       Quoted(*v));
        a.FoundryFolder = *v;
    }
    return std::nullopt;
}

// The printed page: scale, margins, title, area, grid, paper, resolution, pages.
TBadValue ReadPageOptions(TRenderArgs& a, const TOptionValues& opts) {
    if (auto v = opts.Get("--scale")) {
        if (*v == "fit") {
            a.Print.ScaleIndex = 0;
        } else {
            auto i = ParseInches(*v, Hundredths(ScaleChoiceInches, 1));
            if (!i) return Bad("--scale must be fit, 0.25, 0.50, 0.75, 1.00, 1.25 or 1.50, not " + Quoted(*v));
            a.Print.ScaleIndex = *i + 1;
        }
    }
    if (auto v = opts.Get("--margins")) {
        const auto parts = Split(*v, ',');
        bool ok = parts.size() == 4;
        int* margins[4] = {&a.Print.LeftMargin, &a.Print.TopMargin, &a.Print.RightMargin, &a.Print.BottomMargin};
        for (size_t k = 0; ok && k < 4; ++k) {
            auto i = ParseInches(parts[k], Hundredths(MarginChoiceInches));
            if (!i) ok = false;
            else *margins[k] = *i;
        }
        if (!ok) return Bad("--margins must be L,T,R,B, each 0.25, 0.50, 1.00 or 1.50, not " + Quoted(*v));
    }
    if (auto v = opts.Get("--title")) {
        auto b = ParseOnOff(*v);
        if (!b) return Bad("--title must be on or off, not " + Quoted(*v));
        a.Print.PrintTitle = *b;
    }
    if (auto v = opts.Get("--area")) {
        a.Print.DrawnPart = *v == "drawn";
        if (*v != "map" && *v != "drawn") {
            auto g = ParseCells(*v);
            if (!g)
                return Bad("--area must be map, drawn or L,T,R,B with 1 <= L <= R <= 72 and 1 <= T <= B <= 72, not " +
                           Quoted(*v));
            a.Print.WholeMap = false;
            a.PrintArea = *g;
        }
    }
    if (auto v = opts.Get("--grid")) {
        const int found = ChoiceIndex(GridStyleChoices, *v);
        if (found < 0) return Bad("--grid must be none, squares, hexes, offset or overlay, not " + Quoted(*v));
        a.Print.GridStyle = found;
    }
    if (auto v = opts.Get("--paper")) {
        if (*v == "letter") a.Paper = TRenderPaper::Letter;
        else if (*v == "a4") a.Paper = TRenderPaper::A4;
        else if (*v == "legal") a.Paper = TRenderPaper::Legal;
        else return Bad("--paper must be letter, a4 or legal, not " + Quoted(*v));
    }
    if (auto v = opts.Get("--resolution")) {
        auto n = ParseInt(*v);
        if (!n || *n < 72 || *n > 2400)
            return Bad("--resolution must be a whole number from 72 to 2400, not " + Quoted(*v));
        a.Resolution = *n;
    }
    if (auto v = opts.Get("--pages")) {
        const auto parts = Split(*v, '-');
        std::optional<int> from, to;
        if (parts.size() == 2) {
            from = ParseInt(parts[0]);
            to = ParseInt(parts[1]);
        }
        if (!from || !to || *from < 1 || *to > 999 || *from > *to)
            return Bad("--pages must be FROM-TO with 1 <= FROM <= TO <= 999, not " + Quoted(*v));
        a.FromPage = *from;
        a.ToPage = *to;
    }

    return std::nullopt;
}

// Battle-mat sheets.
TBadValue ReadMatOptions(TRenderArgs& a, const TOptionValues& opts) {
    if (auto v = opts.Get("--overlap")) {
        const int found = ChoiceIndex(OverlapChoices, *v);
        if (found < 0) return Bad("--overlap must be 0, 0.125, 0.25 or 0.5, not " + Quoted(*v));
        a.Print.Mat.Overlap = found;
    }
    struct Switch {
        const char* name;
        bool* to;
    };
    TBattleMatOptions& mat = a.Print.Mat;
    for (const Switch& sw : {Switch{"--marks", &mat.Marks}, Switch{"--overview", &mat.Overview},
                             Switch{"--skip-empty", &mat.SkipEmpty}, Switch{"--ink-saver", &mat.InkSaver}}) {
        if (auto v = opts.Get(sw.name)) {
            auto b = ParseOnOff(*v);
            if (!b) return Bad(std::string(sw.name) + " must be on or off, not " + Quoted(*v));
            *sw.to = *b;
        }
    }
    if (auto v = opts.Get("--sheets")) {
        if (*v != "square" && *v != "fit") return Bad("--sheets must be square or fit, not " + Quoted(*v));
        mat.FitSheets = *v == "fit";
    }
    if (auto v = opts.Get("--correction")) {
        // 95 to 105 with at most one decimal: "98", "98.0", "102.5".
        const size_t dot = v->find('.');
        const std::string whole = v->substr(0, dot), frac = dot == std::string::npos ? "" : v->substr(dot + 1);
        auto w = ParseInt(whole);
        auto f = frac.empty() ? std::optional<int>(0) : ParseInt(frac);
        const bool shape = !whole.empty() && whole.size() <= 3 && frac.size() <= 1 &&
                           (dot == std::string::npos || !frac.empty()) && w && *w >= 0 && f && *f >= 0;
        const int tenths = shape ? *w * 10 + *f : -1;
        if (tenths < 950 || tenths > 1050)
            return Bad("--correction must be a percentage from 95.0 to 105.0, not " + Quoted(*v));
        mat.Correction = tenths;
    }
    return std::nullopt;
}

// --generate STYLE [--seed N] [--density D] [--area L,T,R,B] OUTPUT: a generated map written
// as any output; --area is the generated area and, for a PDF, the printed one.
TRenderParse ParseGenerate(const std::vector<std::string>& operands, TOptionValues opts) {
    if (operands.size() != 1)
        return Refused(TRenderParse::Usage, operands.empty() ? "expected OUTPUT after --generate STYLE"
                                                             : "--generate takes OUTPUT only, not a MAP too");
    TRenderParse r;
    r.Args.OutputPath = operands[0];
    if (r.Args.OutputPath.empty()) return Refused(TRenderParse::Usage, "OUTPUT must not be empty");
    TRenderGenerate g;
    const std::string style = *opts.Get("--generate");
    const auto s = GenStyleFromName(style);
    if (!s)
        return Refused(TRenderParse::BadValue,
                       "--generate must be dungeon, caves, keep or wilderness, not " + Quoted(style));
    g.Style = *s;
    if (auto v = opts.Get("--seed")) {
        std::uint32_t seed = 0;
        const char* end = v->data() + v->size();
        auto [p, ec] = std::from_chars(v->data(), end, seed);
        if (v->empty() || ec != std::errc() || p != end)
            return Refused(TRenderParse::BadValue,
                           "--seed must be a whole number from 0 to 4294967295, not " + Quoted(*v));
        g.Seed = seed;
    }
    if (auto v = opts.Get("--density")) {
        const auto d = GenDensityFromName(*v);
        if (!d) return Refused(TRenderParse::BadValue, "--density must be few, some or many, not " + Quoted(*v));
        g.Density = *d;
    }
    if (auto v = opts.Get("--levels")) {
        const auto n = ParseInt(*v);
        if (!n || *n < 1 || *n > MaxGenLevels)
            return Refused(TRenderParse::BadValue, "--levels must be a whole number from 1 to " +
                                                       std::to_string(MaxGenLevels) + ", not " + Quoted(*v));
        g.Levels = *n;
    }
    if (auto v = opts.Get("--below")) {
        const auto b = GenStyleFromName(*v);
        if (!b || (*b != TGenStyle::Dungeon && *b != TGenStyle::Caves))
            return Refused(TRenderParse::BadValue, "--below must be dungeon or caves, not " + Quoted(*v));
        if (g.Levels < 2) return Refused(TRenderParse::Usage, "--below needs --levels 2 or more");
        g.Below = *b;
    }
    if (g.Levels > 1 && g.Style != TGenStyle::Dungeon && g.Style != TGenStyle::Caves)
        return Refused(TRenderParse::Usage, "--levels applies to dungeon and caves only, not " + Quoted(style));
    if (auto v = opts.Get("--area"); v && *v != "map") {
        const auto area = ParseCells(*v);
        if (!area)
            return Refused(
                TRenderParse::BadValue,
                "--area must be map or L,T,R,B with 1 <= L <= R <= 72 and 1 <= T <= B <= 72, not " + Quoted(*v));
        if (area->Width() < MinGenerateSide || area->Height() < MinGenerateSide)
            return Refused(TRenderParse::BadValue, "--area must be at least " + std::to_string(MinGenerateSide) +
                                                       " x " + std::to_string(MinGenerateSide) +
                                                       " cells to generate into, not " + Quoted(*v));
        g.Area = *area;
    }
    for (const std::string& name : GenerateOptions) opts.Values.erase(name);
    const TFileKind out = FileKindOf(r.Args.OutputPath);
    if (out == TFileKind::Map || out == TFileKind::Tmx) {
        // The map itself, or the map for Tiled: only --tileset applies.
        for (const auto& [name, value] : opts.Values)
            if (name != "--tileset" && name != "--area")
                return Refused(TRenderParse::Usage, name + " does not apply to " +
                                                        (out == TFileKind::Map ? ".map" : "Tiled map") + " output");
        r.Args.Job = out == TFileKind::Map ? TRenderJob::MapFile : TRenderJob::TiledExport;
        if (auto v = opts.Get("--tileset")) {
            if (v->empty()) return Refused(TRenderParse::BadValue, "--tileset needs a file name");
            r.Args.TilesetPath = *v;
        }
        r.Args.Generate = g;
        return r;
    }
    const bool pdf = out == TFileKind::Pdf;
    if (!pdf) opts.Values.erase("--area"); // the generated area only
    if (auto wrong = ReadOutputKind(r.Args, opts)) return Refused(TRenderParse::Usage, *wrong);
    for (auto read : {ReadDrawingOptions, ReadPageOptions, ReadMatOptions})
        if (auto bad = read(r.Args, opts)) return Refused(TRenderParse::BadValue, *bad);
    r.Args.Generate = g;
    return r;
}

} // namespace

TRenderParse ParseRenderArgs(const std::vector<std::string>& args) {
    std::vector<std::string> operands;
    TOptionValues opts;
    if (auto early = SplitCommandLine(args, operands, opts)) return *early;
    // Only a MAP read from a file has a size to accept.
    const bool acceptAnySize = opts.Values.erase("--accept-any-size") > 0;
    if (acceptAnySize && opts.Get("--generate"))
        return Refused(TRenderParse::Usage, "--accept-any-size applies to reading a MAP, not to --generate");
    if (opts.Get("--generate")) return ParseGenerate(operands, opts);
    for (const char* name : {"--seed", "--density", "--levels", "--below"})
        if (opts.Get(name)) return Refused(TRenderParse::Usage, std::string(name) + " applies to --generate only");
    if (operands.size() < 2) return Refused(TRenderParse::Usage, "expected MAP and OUTPUT");
    if (operands.size() > 2) return Refused(TRenderParse::Usage, "unexpected argument " + operands[2]);
    TRenderParse r;
    r.Args.MapPath = operands[0];
    r.Args.OutputPath = operands[1];
    r.Args.AcceptAnySize = acceptAnySize;
    if (r.Args.MapPath.empty() || r.Args.OutputPath.empty())
        return Refused(TRenderParse::Usage, "MAP and OUTPUT must not be empty");

    if (auto tiled = TiledJob(r.Args, opts.Values)) {
        if (!tiled->empty()) return Refused(TRenderParse::Usage, *tiled);
        if (acceptAnySize && r.Args.Job == TRenderJob::TiledImport)
            return Refused(TRenderParse::Usage, "--accept-any-size does not apply to importing a Tiled map");
        if (auto v = opts.Get("--tileset")) {
            if (v->empty()) return Refused(TRenderParse::BadValue, "--tileset needs a file name");
            r.Args.TilesetPath = *v;
        }
        return r;
    }
    if (auto wrong = ReadOutputKind(r.Args, opts)) return Refused(TRenderParse::Usage, *wrong);
    for (auto read : {ReadDrawingOptions, ReadPageOptions, ReadMatOptions})
        if (auto bad = read(r.Args, opts)) return Refused(TRenderParse::BadValue, *bad);
    return r;
}

} // namespace qm
