#include "export/VttExport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "compose/MapClamp.h"
#include "export/ExportPicture.h"

namespace qm {

namespace {

// Numbers as the file shows them: thousandths of a cell at most, no trailing zeros.
std::string Num(double v) {
    const long long m = std::llround(v * VttUnitsPerCell);
    std::string s = std::to_string(m / VttUnitsPerCell);
    if (m < 0 && m / VttUnitsPerCell == 0) s = "-0";
    int frac = int(std::llabs(m % VttUnitsPerCell));
    if (frac) {
        char digits[4] = {char('0' + frac / 100), char('0' + frac / 10 % 10), char('0' + frac % 10), 0};
        std::string f(digits);
        while (!f.empty() && f.back() == '0') f.pop_back();
        s += "." + f;
    }
    return s;
}

std::string Point(const TVttPoint& p) { return "{\"x\":" + Num(p.x) + ",\"y\":" + Num(p.y) + "}"; }

std::string Hex8(std::uint32_t c) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", c);
    return buf;
}

void PutPolylines(std::string& j, const std::vector<TVttPolyline>& lines) {
    j += '[';
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) j += ',';
        j += '[';
        for (size_t k = 0; k < lines[i].size(); ++k) {
            if (k) j += ',';
            j += Point(lines[i][k]);
        }
        j += ']';
    }
    j += ']';
}

// Base64 of a byte stream, written on to the file in large pieces.
class TBase64Out {
public:
    explicit TBase64Out(TAtomicFile& file) : file_(file) {}
    void Put(const void* data, size_t n) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < n; ++i) {
            held_[count_++] = p[i];
            if (count_ == 3) Emit(3);
        }
        if (text_.size() > (1 << 16)) Flush();
    }
    void Finish() {
        if (count_) Emit(count_);
        Flush();
    }

private:
    void Emit(int n) {
        static const char abc[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const uint32_t v = uint32_t(held_[0]) << 16 | uint32_t(n > 1 ? held_[1] : 0) << 8 | (n > 2 ? held_[2] : 0);
        text_ += abc[v >> 18 & 63];
        text_ += abc[v >> 12 & 63];
        text_ += n > 1 ? abc[v >> 6 & 63] : '=';
        text_ += n > 2 ? abc[v & 63] : '=';
        count_ = 0;
    }
    void Flush() {
        if (!text_.empty()) file_.Write(text_.data(), text_.size());
        text_.clear();
    }
    TAtomicFile& file_;
    uint8_t held_[3] = {};
    int count_ = 0;
    std::string text_;
};

} // namespace

const std::vector<TVttTargetInfo>& VttTargets() {
    // The limits as each tabletop's documentation and importer state them (README).
    static const std::vector<TVttTargetInfo> targets = {
        {TVttTarget::Generic, "generic", "Generic (Universal VTT)", DefaultVttPixelsPerCell},
        {TVttTarget::Foundry, "foundry", "Foundry VTT", 100, 16384},
        {TVttTarget::Owlbear, "owlbear", "Owlbear Rodeo", 100, 0, 144, 25'000'000, true},
        {TVttTarget::Roll20, "roll20", "Roll20", 70, 0, 0, 10'000'000, true},
        {TVttTarget::Fgu, "fgu", "Fantasy Grounds Unity", 50, 0, 0, 16'000'000, false, 500, 200, 250},
    };
    return targets;
}

const TVttTargetInfo& VttTargetInfo(TVttTarget target) { return VttTargets()[size_t(target)]; }

const TVttTargetInfo* VttTargetById(const std::string& id) {
    for (const TVttTargetInfo& t : VttTargets())
        if (id == t.Id) return &t;
    return nullptr;
}

namespace {

// The JSON of the file up to the opening quote of the picture, points relative to the area.
std::string FileHead(TVttGeometry g, const TGridRect& a, int ppg) {
    // Points relative to the exported area, origin 0: importers that ignore map_origin
    // place a region right too.
    auto shift = [&](TVttPoint& p) {
        p.x -= a.Left;
        p.y -= a.Top;
    };
    for (auto* lines : {&g.Walls, &g.Objects})
        for (TVttPolyline& l : *lines)
            for (TVttPoint& p : l) shift(p);
    for (TVttPortal& p : g.Portals) {
        shift(p.a);
        shift(p.b);
    }
    for (TVttLight& l : g.Lights) shift(l.at);

    std::string j;
    j += "{\"format\":0.3,\"resolution\":{\"map_origin\":{\"x\":0,\"y\":0},\"map_size\":{\"x\":" +
         std::to_string(a.Width()) + ",\"y\":" + std::to_string(a.Height()) +
         "},\"pixels_per_grid\":" + std::to_string(ppg) + "},\n\"line_of_sight\":";
    PutPolylines(j, g.Walls);
    j += ",\n\"objects_line_of_sight\":";
    PutPolylines(j, g.Objects);
    j += ",\n\"portals\":[";
    for (size_t i = 0; i < g.Portals.size(); ++i) {
        const TVttPortal& p = g.Portals[i];
        if (i) j += ',';
        j += "{\"position\":" + Point({(p.a.x + p.b.x) / 2, (p.a.y + p.b.y) / 2}) + ",\"bounds\":[" + Point(p.a) + "," +
             Point(p.b) + "],\"rotation\":" + (p.vertical ? "1.5707963267948966" : "0") +
             ",\"closed\":" + (p.closed ? "true" : "false") + ",\"freestanding\":false}";
    }
    j += "],\n\"environment\":{\"baked_lighting\":false,\"ambient_light\":\"ffffffff\"},\n\"lights\":[";
    for (size_t i = 0; i < g.Lights.size(); ++i) {
        const TVttLight& l = g.Lights[i];
        if (i) j += ',';
        j += "{\"position\":" + Point(l.at) + ",\"range\":" + Num(l.range) + ",\"intensity\":1,\"color\":\"" +
             Hex8(l.color) + "\",\"shadows\":true}";
    }
    j += "],\n\"image\":\"";
    return j;
}

std::string Megabytes(std::uint64_t bytes) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f MB", double(bytes) / 1e6);
    return buf;
}

// Wall segments as a tabletop counts them: one per pair of neighbouring points of
// line_of_sight. Obstacle outlines (objects_line_of_sight) are not its walls.
int SegmentCount(const TVttGeometry& g) {
    int n = 0;
    for (const TVttPolyline& l : g.Walls) n += std::max(int(l.size()) - 1, 0);
    return n;
}

// Whether the target's counted limits take geometry `g`.
bool CountsFit(const TVttTargetInfo& t, const TVttGeometry& g) {
    return (!t.MaxWalls || SegmentCount(g) <= t.MaxWalls) && (!t.MaxDoors || int(g.Portals.size()) <= t.MaxDoors) &&
           (!t.MaxLights || int(g.Lights.size()) <= t.MaxLights);
}

// The largest part of the area (a half, a third, a quarter ... of it in each direction,
// the first such part from the top left among the largest) whose walls, doors and lights the
// target takes; nothing when no part of up to a quarter of the area a side does.
std::optional<TGridRect> FittingRegion(const TVttTargetInfo& t, const TMapRecord& map, const TRenderedTileset& ts,
                                       const SymbolTable& symbols, const TGridRect& a, bool includeHidden) {
    std::optional<TGridRect> best;
    long long bestCells = 0;
    for (int across = 1; across <= 4; ++across)
        for (int down = 1; down <= 4; ++down) {
            if (across * down == 1) continue;
            const int w = (a.Width() + across - 1) / across, h = (a.Height() + down - 1) / down;
            if (w < 1 || h < 1 || (long long)w * h <= bestCells) continue;
            for (int j = 0; j < down; ++j)
                for (int i = 0; i < across; ++i) {
                    const TGridRect part{a.Left + i * w, a.Top + j * h, std::min(a.Right, a.Left + (i + 1) * w - 1),
                                         std::min(a.Bottom, a.Top + (j + 1) * h - 1)};
                    const long long cells = (long long)part.Width() * part.Height();
                    if (part.Width() < 1 || part.Height() < 1 || cells <= bestCells) continue;
                    if (CountsFit(t, VttGeometry(map, ts, symbols, part, includeHidden))) {
                        best = part;
                        bestCells = cells;
                    }
                }
        }
    return best;
}

// The largest cell size whose picture keeps within the target's pixel limits.
int PixelFit(const TVttTargetInfo& t, const TGridRect& a) {
    int best = MaxVttPixelsPerCell;
    if (t.MaxSide) best = std::min(best, t.MaxSide / std::max(a.Width(), a.Height()));
    if (t.MaxMegapixels > 0)
        best = std::min(best, int(std::floor(std::sqrt(t.MaxMegapixels * 1e6 / (double(a.Width()) * a.Height())))));
    return best;
}

std::uint64_t FileBytes(const std::string& head, std::uint64_t picture) {
    return head.size() + (picture + 2) / 3 * 4 + 3;
}

struct Encoded {
    std::string bytes;
    bool jpeg = false;
};

// The picture as the target takes it: PNG, or JPEG where the PNG would not fit and the
// target reads JPEG. Empty when neither fits.
std::optional<Encoded> EncodeFitting(const TVttTargetInfo& t, const std::string& path, const std::string& head,
                                     const TPictureSource& picture, const TProgressFn& progress) {
    Encoded e;
    WritePng([&e](const void* data, size_t n) { e.bytes.append(static_cast<const char*>(data), n); }, path, picture,
             progress);
    if (!t.MaxBytes || FileBytes(head, e.bytes.size()) <= t.MaxBytes) return e;
    if (!t.TakesJpeg) return std::nullopt;
    e.bytes.clear();
    e.jpeg = true;
    WriteJpeg([&e](const void* data, size_t n) { e.bytes.append(static_cast<const char*>(data), n); }, path, picture,
              progress);
    if (FileBytes(head, e.bytes.size()) <= t.MaxBytes) return e;
    return std::nullopt;
}

} // namespace

void ExportVttMap(const std::string& path, const TMapRecord& map, const TRenderedTileset& ts,
                  const SymbolTable& symbols, const TGridRect& area, const TVttOptions& options,
                  const TProgressFn& progress) {
    ExportVttMap(path, map, ts, symbols, area, options, VttTargetInfo(options.Target), progress);
}

void ExportVttMap(const std::string& path, const TMapRecord& map, const TRenderedTileset& ts,
                  const SymbolTable& symbols, const TGridRect& area, const TVttOptions& options,
                  const TVttTargetInfo& t, const TProgressFn& progress) {
    const int ppg = options.PixelsPerCell;
    if (ppg < MinVttPixelsPerCell || ppg > MaxVttPixelsPerCell)
        throw TFileError(CannotCreateMessage(path, "A cell size of " + std::to_string(ppg) + " pixels is outside " +
                                                       std::to_string(MinVttPixelsPerCell) + " to " +
                                                       std::to_string(MaxVttPixelsPerCell) + "."));
    const TGridRect a = ClipAreaToMap(area);
    TMapRecord shown = map;
    shown.ShowHidden = options.IncludeHidden ? 1 : 0;
    const TMapKey* labels = options.RoomNumbers ? options.Key : nullptr;
    auto pictureAt = [&](int cell) { return MapPictureSource(shown, ts, a, cell, options.Rock, labels); };
    const TPictureSource picture = pictureAt(ppg);
    CheckPictureSize(path, TPictureFormat::Png, picture.Width, picture.Height);
    const TVttGeometry g = VttGeometry(map, ts, symbols, a, options.IncludeHidden);
    const std::string head = FileHead(g, a, ppg);

    if (t.Target == TVttTarget::Generic) {
        TAtomicFile file(path);
        file.Write(head.data(), head.size());
        TBase64Out image(file);
        WritePng([&image](const void* data, size_t n) { image.Put(data, n); }, path, picture, progress);
        image.Finish();
        file.Write("\"}\n", 3);
        file.Commit();
        return;
    }

    auto refuse = [&](const std::string& why, int fitting) {
        std::string m = why;
        if (fitting >= MinVttPixelsPerCell) m += " Use " + std::to_string(fitting) + " pixels per cell or fewer.";
        else if (fitting == 0) m += " Export a smaller area.";
        throw TVttLimitError(CannotCreateMessage(path, m), std::max(fitting, 0));
    };
    const std::string name = t.Name;
    const struct {
        int have, most;
        const char* what;
    } counts[] = {{SegmentCount(g), t.MaxWalls, "wall segments"},
                  {int(g.Portals.size()), t.MaxDoors, "doors and windows"},
                  {int(g.Lights.size()), t.MaxLights, "lights"}};
    for (const auto& c : counts)
        if (c.most && c.have > c.most) {
            std::string why = "The area has " + std::to_string(c.have) + " " + c.what + "; " + name +
                              " takes at most " + std::to_string(c.most) + ".";
            // A part of the area that the tabletop takes, in the 1-based cells of --region.
            if (const auto part = FittingRegion(t, map, ts, symbols, a, options.IncludeHidden)) {
                why += " The region " + std::to_string(part->Left + 1) + "," + std::to_string(part->Top + 1) + "," +
                       std::to_string(part->Right + 1) + "," + std::to_string(part->Bottom + 1) +
                       " (columns, rows: left, top, right, bottom) fits: select it, or give it as --region.";
                throw TVttLimitError(CannotCreateMessage(path, why), 0);
            }
            refuse(why, 0);
        }
    const int pixelFit = PixelFit(t, a);
    if (ppg > pixelFit) {
        const std::string size = std::to_string(picture.Width) + " x " + std::to_string(picture.Height) + " pixels";
        const std::string limit = t.MaxSide ? std::to_string(t.MaxSide) + " pixels a side"
                                            : Num(t.MaxMegapixels) + " million pixels";
        refuse("The picture would be " + size + "; " + name + " takes at most " + limit + ".", pixelFit);
    }

    std::optional<Encoded> e = EncodeFitting(t, path, head, picture, progress);
    if (!e) {
        // Smaller cells until the file fits: its size goes about with the picture's area.
        int fit = ppg;
        std::uint64_t bytes = 0;
        for (;;) {
            const std::string h = FileHead(g, a, fit);
            Encoded probe;
            WritePng([&](const void* d, size_t n) { probe.bytes.append(static_cast<const char*>(d), n); }, path,
                     pictureAt(fit), {});
            if (t.TakesJpeg) {
                probe.bytes.clear();
                WriteJpeg([&](const void* d, size_t n) { probe.bytes.append(static_cast<const char*>(d), n); }, path,
                          pictureAt(fit), {});
            }
            const std::uint64_t size = FileBytes(h, probe.bytes.size());
            if (!bytes) bytes = size;
            if (size <= t.MaxBytes || fit <= MinVttPixelsPerCell) {
                if (size > t.MaxBytes) fit = -1;
                break;
            }
            fit = std::max(MinVttPixelsPerCell,
                           std::min(fit - 1, int(std::floor(fit * std::sqrt(double(t.MaxBytes) / size) * 0.98))));
        }
        refuse("The file would be about " + Megabytes(bytes) + "; " + name + " takes at most " + Megabytes(t.MaxBytes) +
                   ".",
               fit);
    }
    TAtomicFile file(path);
    file.Write(head.data(), head.size());
    TBase64Out image(file);
    image.Put(e->bytes.data(), e->bytes.size());
    image.Finish();
    file.Write("\"}\n", 3);
    file.Commit();
}

} // namespace qm
