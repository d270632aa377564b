#include "export/FoundryScene.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>

#include "compose/MapClamp.h"
#include "export/ExportPicture.h"

namespace qm {

const char* const FoundryCoreVersion = "13.345";

namespace {

// Foundry's restriction types (CONST.WALL_SENSE_TYPES, WALL_MOVEMENT_TYPES) and door
// types and states (CONST.WALL_DOOR_TYPES, WALL_DOOR_STATES).
constexpr int SenseNone = 0, SenseNormal = 20;
constexpr int DoorNone = 0, DoorDoor = 1, DoorSecret = 2;
constexpr int StateClosed = 0, StateOpen = 1;

// Document ids: 16 letters and digits, the same for the same scene, none twice.
class TIds {
public:
    std::string Next() {
        static const char abc[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        for (;;) {
            std::uint64_t v = Mix(++count_);
            std::string id;
            for (int i = 0; i < 16; ++i) {
                if (i == 8) v = Mix(v ^ count_ << 32);
                id += abc[v % 62];
                v /= 62;
            }
            if (used_.insert(id).second) return id;
        }
    }

private:
    static std::uint64_t Mix(std::uint64_t z) { // splitmix64
        z += 0x9e3779b97f4a7c15ull;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    std::uint64_t count_ = 0;
    std::set<std::string> used_;
};

std::string Quote(const std::string& s) {
    std::string q = "\"";
    for (unsigned char ch : s) {
        if (ch == '"' || ch == '\\') q += '\\', q += char(ch);
        else if (ch == '\n') q += "\\n";
        else if (ch < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", ch);
            q += buf;
        } else q += char(ch);
    }
    return q + "\"";
}

// Decimal without trailing zeros, at most three places (light distances).
std::string Dec(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

struct TSceneWriter {
    const TGridRect& a;
    int ppg;
    TIds ids;
    std::string j;

    // Whole pixels of the scene, from whole-map cells.
    long long X(double cells) const { return std::llround((cells - a.Left) * ppg); }
    long long Y(double cells) const { return std::llround((cells - a.Top) * ppg); }

    void Wall(TVttPoint p, TVttPoint q, int move, int sense, int door, int state) {
        const long long x0 = X(p.x), y0 = Y(p.y), x1 = X(q.x), y1 = Y(q.y);
        if (x0 == x1 && y0 == y1) return; // shorter than a pixel
        if (j.back() != '[') j += ",\n";
        j += "{\"_id\":\"" + ids.Next() + "\",\"c\":[" + std::to_string(x0) + "," + std::to_string(y0) + "," +
             std::to_string(x1) + "," + std::to_string(y1) + "],\"move\":" + std::to_string(move) +
             ",\"sight\":" + std::to_string(sense) + ",\"light\":" + std::to_string(sense) +
             ",\"sound\":" + std::to_string(sense) + ",\"door\":" + std::to_string(door) +
             ",\"ds\":" + std::to_string(state) + ",\"dir\":0}";
    }
};

std::string Hex6(std::uint32_t argb) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06x", unsigned(argb & 0xffffffu));
    return buf;
}

} // namespace

std::string FoundryPicturePath(const std::string& jsonPath) {
    const size_t dot = jsonPath.find_last_of('.'), slash = jsonPath.find_last_of('/');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExt ? jsonPath.substr(0, dot) : jsonPath) + ".png";
}

std::string FoundrySceneJson(const TVttGeometry& g, const TGridRect& a, int ppg, const std::string& pictureSrc,
                             const std::string& name, const std::vector<TFoundryNote>& notes) {
    TSceneWriter w{a, ppg, {}, {}};
    std::string& j = w.j;
    const std::string sceneId = w.ids.Next();
    j += "{\"_id\":\"" + sceneId + "\",\"name\":" + Quote(name) + ",\n\"width\":" + std::to_string(a.Width() * ppg) +
         ",\"height\":" + std::to_string(a.Height() * ppg) +
         ",\"padding\":0,\n\"background\":{\"src\":" + Quote(pictureSrc) +
         "},\n\"grid\":{\"type\":1,\"size\":" + std::to_string(ppg) +
         ",\"distance\":" + std::to_string(FoundryFeetPerCell) + ",\"units\":\"ft\"},\n\"walls\":[";
    // Walls and obstacles: one wall document a segment; obstacles stop sight and light, not feet.
    for (const TVttPolyline& l : g.Walls)
        for (size_t i = 0; i + 1 < l.size(); ++i)
            w.Wall(l[i], l[i + 1], SenseNormal, SenseNormal, DoorNone, StateClosed);
    for (const TVttPolyline& l : g.Objects)
        for (size_t i = 0; i + 1 < l.size(); ++i) w.Wall(l[i], l[i + 1], SenseNone, SenseNormal, DoorNone, StateClosed);
    for (const TVttPortal& p : g.Portals) {
        if (p.window) w.Wall(p.a, p.b, SenseNormal, SenseNone, DoorNone, StateClosed);
        else
            w.Wall(p.a, p.b, SenseNormal, SenseNormal, p.secret ? DoorSecret : DoorDoor,
                   p.closed ? StateClosed : StateOpen);
    }
    j += "],\n\"lights\":[";
    for (size_t i = 0; i < g.Lights.size(); ++i) {
        const TVttLight& l = g.Lights[i];
        if (i) j += ",\n";
        const double dim = l.range * FoundryFeetPerCell;
        j += "{\"_id\":\"" + w.ids.Next() + "\",\"x\":" + std::to_string(w.X(l.at.x)) +
             ",\"y\":" + std::to_string(w.Y(l.at.y)) + ",\"config\":{\"dim\":" + Dec(dim) +
             ",\"bright\":" + Dec(dim / 2) + ",\"color\":\"" + Hex6(l.color) + "\",\"alpha\":0.5}}";
    }
    j += "],\n\"notes\":[";
    bool first = true;
    for (const TFoundryNote& n : notes) {
        if (!a.Contains(n.Col, n.Row)) continue;
        if (!first) j += ",\n";
        first = false;
        j += "{\"_id\":\"" + w.ids.Next() + "\",\"x\":" + std::to_string(w.X(n.Col + 0.5)) +
             ",\"y\":" + std::to_string(w.Y(n.Row + 0.5)) + ",\"text\":" + Quote(n.Text) +
             ",\"entryId\":null,\"pageId\":null,\"texture\":{\"src\":\"icons/svg/book.svg\"},\"iconSize\":40,"
             "\"fontSize\":32,\"global\":false}";
    }
    j += "],\n\"tokens\":[],\"tiles\":[],\"drawings\":[],\"sounds\":[],\"templates\":[],\"regions\":[],\n"
         "\"flags\":{},\"_stats\":{\"coreVersion\":\"" +
         std::string(FoundryCoreVersion) + "\"}}\n";
    return j;
}

void ExportFoundryScene(const std::string& path, const TMapRecord& map, const TRenderedTileset& ts,
                        const SymbolTable& symbols, const TGridRect& area, const TFoundryOptions& options,
                        const TProgressFn& progress) {
    const int ppg = options.PixelsPerCell;
    if (ppg < MinVttPixelsPerCell || ppg > MaxVttPixelsPerCell)
        throw TFileError(CannotCreateMessage(path, "A cell size of " + std::to_string(ppg) + " pixels is outside " +
                                                       std::to_string(MinVttPixelsPerCell) + " to " +
                                                       std::to_string(MaxVttPixelsPerCell) + "."));
    std::string folder = options.PictureFolder;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    if (folder.find("..") != std::string::npos || (!folder.empty() && folder.front() == '/') ||
        folder.find('\\') != std::string::npos)
        throw TFileError(CannotCreateMessage(
            path,
            "The picture folder \"" + options.PictureFolder +
                "\" must be a folder inside Foundry's user data, such as worlds/keep (no \"..\", no leading /)."));
    const TGridRect a = ClipAreaToMap(area);
    TMapRecord shown = map;
    shown.ShowHidden = options.IncludeHidden ? 1 : 0;
    const TPictureSource picture = MapPictureSource(shown, ts, a, ppg);
    const std::string picturePath = FoundryPicturePath(path);
    CheckPictureSize(picturePath, TPictureFormat::Png, picture.Width, picture.Height);
    const TVttGeometry g = VttGeometry(map, ts, symbols, a, options.IncludeHidden);

    const size_t slash = picturePath.find_last_of('/');
    const std::string pictureName = slash == std::string::npos ? picturePath : picturePath.substr(slash + 1);
    std::string name = options.Name;
    if (name.empty()) {
        const size_t s = path.find_last_of('/');
        name = path.substr(s == std::string::npos ? 0 : s + 1);
        if (const size_t dot = name.find_last_of('.'); dot != std::string::npos && dot > 0) name.resize(dot);
    }
    const std::string json = FoundrySceneJson(g, a, ppg, folder.empty() ? pictureName : folder + "/" + pictureName,
                                              name, options.Notes);

    TAtomicFile pictureFile(picturePath);
    WritePng(pictureFile, picture, progress);
    TAtomicFile sceneFile(path);
    sceneFile.Write(json.data(), json.size());
    const bool pictureWasThere = std::ifstream(picturePath).good();
    // Both written out before either is put in place: only the renames are left to fail.
    pictureFile.Finish();
    sceneFile.Finish();
    pictureFile.Commit();
    try {
        sceneFile.Commit();
    } catch (...) {
        // A scene that could not be written leaves no new picture of its own behind.
        if (!pictureWasThere) std::remove(picturePath.c_str());
        throw;
    }
}

std::vector<TFoundryNote> FoundryNotes(const TMapKey& key) {
    std::vector<TFoundryNote> notes;
    for (const TKeyEntry& e : key.Entries) notes.push_back({e.X - 1, e.Y - 1, KeyEntryHeading(e)});
    return notes;
}

} // namespace qm
