// Writes the seed corpora of the fuzz targets: small maps, GeoSets, BMP pictures in
// the layouts a tileset may come in, and command lines. Usage: make_fuzz_corpus DIR
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include <zlib.h>

#include "fuzz/FuzzSupport.h"
#include "model/GeoSetRecord.h"
#include "model/MapRecord.h"
#include "model/ShortString.h"

using namespace qm;
using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

namespace {

fs::path gRoot;

void Put(const std::string& target, const std::string& name, const Bytes& b) {
    fs::create_directories(gRoot / target);
    qmfuzz::WriteBytes((gRoot / target / name).string(), b.data(), b.size());
}

template <class T> Bytes AsBytes(const T& rec) {
    const auto* p = reinterpret_cast<const uint8_t*>(&rec);
    return Bytes(p, p + sizeof rec);
}

void Le16(Bytes& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Le32(Bytes& b, size_t at, uint32_t v) {
    Le16(b, at, v & 0xFFFF);
    Le16(b, at + 2, v >> 16);
}

// A BMP with a 40-byte info header. `pixel(x, y)` gives a palette index (bpp <= 8) or
// 0xRRGGBB; rows are stored bottom-up unless topDown.
template <class F> Bytes Bmp(int w, int h, int bpp, F pixel, bool topDown = false, int colours = -1) {
    const int paletteEntries = bpp <= 8 ? (colours < 0 ? 1 << bpp : colours) : 0;
    const uint32_t row = (uint32_t(w) * bpp + 31) / 32 * 4;
    const uint32_t off = 54 + 4 * paletteEntries;
    Bytes b(off + row * h, 0);
    b[0] = 'B';
    b[1] = 'M';
    Le32(b, 2, uint32_t(b.size()));
    Le32(b, 10, off);
    Le32(b, 14, 40);
    Le32(b, 18, uint32_t(w));
    Le32(b, 22, uint32_t(topDown ? -h : h));
    Le16(b, 26, 1);
    Le16(b, 28, uint32_t(bpp));
    Le32(b, 34, row * h);
    Le32(b, 46, uint32_t(paletteEntries));
    for (int i = 0; i < paletteEntries; ++i) { // grey ramp with black first and white last
        const uint8_t v = uint8_t(paletteEntries > 1 ? 255 * i / (paletteEntries - 1) : 0);
        b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = v;
    }
    for (int y = 0; y < h; ++y) {
        const size_t line = off + size_t(topDown ? y : h - 1 - y) * row;
        for (int x = 0; x < w; ++x) {
            const uint32_t v = pixel(x, y);
            if (bpp == 24) {
                b[line + 3 * x] = uint8_t(v);
                b[line + 3 * x + 1] = uint8_t(v >> 8);
                b[line + 3 * x + 2] = uint8_t(v >> 16);
            } else if (bpp == 32) {
                Le32(b, line + 4 * x, v);
            } else if (bpp == 16) {
                Le16(b, line + 2 * x, ((v >> 19) & 31) << 10 | ((v >> 11) & 31) << 5 | ((v >> 3) & 31));
            } else { // 1, 4, 8: pack high bits first
                const int perByte = 8 / bpp;
                b[line + x / perByte] |= uint8_t((v & ((1u << bpp) - 1)) << (8 - bpp * (x % perByte + 1)));
            }
        }
    }
    return b;
}

void Tilesets() {
    // Tile size 2: 32 px wide, symbol area 32 rows, strip 16 more with some black flags.
    auto ramp = [](int x, int y) { return uint32_t((x * 7 + y * 3) % 256); };
    auto withStrip = [](int x, int y) { return y >= 32 && (x + y) % 5 == 0 ? 0u : uint32_t(1 + (x ^ y) % 254); };
    Put("tileset", "ramp8_32x32.bmp", Bmp(32, 32, 8, ramp));
    Put("tileset", "strip8_32x48.bmp", Bmp(32, 48, 8, withStrip));
    Put("tileset", "rgb24_16x16.bmp",
        Bmp(16, 16, 24, [](int x, int y) { return uint32_t(x * 0x100F + y * 0x0A0101); }));
    Put("tileset", "rgb24_48x64_strip.bmp",
        Bmp(48, 64, 24, [](int x, int y) { return y >= 48 && x % 3 == 0 ? 0u : 0xFFFFFFu - uint32_t(x * y); }));
    Put("tileset", "argb32_32x32.bmp",
        Bmp(32, 32, 32, [](int x, int y) { return 0x80000000u | uint32_t(x * y * 977); }));
    Put("tileset", "rgb16_32x32.bmp",
        Bmp(32, 32, 16, [](int x, int y) { return uint32_t(x * 0x0800 + y * 0x080000); }));
    Put("tileset", "mono1_32x40.bmp", Bmp(32, 40, 1, [](int x, int y) { return uint32_t((x + y) & 1); }));
    Put("tileset", "grey4_16x32.bmp", Bmp(16, 32, 4, [](int x, int y) { return uint32_t((x + 2 * y) % 16); }));
    Put("tileset", "topdown8_32x32.bmp", Bmp(32, 32, 8, ramp, true));
    Put("tileset", "short_palette8_32x32.bmp",
        Bmp(
            32, 32, 8, [](int x, int) { return uint32_t(x % 3); }, false, 3));
    Put("tileset", "narrow8_8x8.bmp", Bmp(8, 8, 8, ramp));
    Bytes cut = Bmp(32, 48, 8, withStrip);
    cut.resize(cut.size() / 2);
    Put("tileset", "truncated8_32x48.bmp", cut);

    // RLE8: each row one run, then end of line; end of bitmap at the end.
    Bytes rle = Bmp(32, 32, 8, ramp);
    rle.resize(54 + 4 * 256);
    Le32(rle, 30, 1);
    for (int y = 0; y < 32; ++y) {
        rle.insert(rle.end(), {32, uint8_t(y * 8), 0, 0});
    }
    rle.insert(rle.end(), {0, 1});
    Le32(rle, 2, uint32_t(rle.size()));
    Le32(rle, 34, uint32_t(rle.size() - 54 - 4 * 256));
    Put("tileset", "rle8_32x32.bmp", rle);

    // OS/2 core header: 12 bytes, 16-bit sizes, 3-byte palette entries.
    Bytes core(14 + 12 + 3 * 256 + 32 * 32, 0);
    core[0] = 'B';
    core[1] = 'M';
    Le32(core, 2, uint32_t(core.size()));
    Le32(core, 10, 14 + 12 + 3 * 256);
    Le32(core, 14, 12);
    Le16(core, 18, 32);
    Le16(core, 20, 32);
    Le16(core, 22, 1);
    Le16(core, 24, 8);
    for (int i = 0; i < 256; ++i) core[26 + 3 * i] = core[27 + 3 * i] = core[28 + 3 * i] = uint8_t(i);
    for (int i = 0; i < 32 * 32; ++i) core[26 + 3 * 256 + i] = uint8_t(i * 13);
    Put("tileset", "os2core8_32x32.bmp", core);
}

void Maps() {
    TMapRecord m;
    ClearMapRecord(m);
    m.Zoom = 16;
    Put("map", "empty.map", {});
    Put("map", "one_byte.map", {7});
    Put("map", "cleared.map", AsBytes(m));
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            m.Cell(x, y) = {uint8_t(x * 3 + y), uint8_t(128 + (x + y) % 128), uint8_t(x ^ y)};
    m.Background = 11;
    m.ShowHidden = 0;
    m.Zoom = 96;
    m.CurrentSymbol = 36;
    SetShortString(m.TilesetName, "parchment.bmp");
    Put("map", "painted.map", AsBytes(m));
    m.Zoom = 255;
    SetShortString(m.TilesetName, "../../dev/zero");
    Bytes tail = AsBytes(m);
    tail.insert(tail.end(), 64, 0xEE);
    Put("map", "odd_zoom_tail.map", tail);
    Bytes shortFile = AsBytes(m);
    shortFile.resize(100);
    Put("map", "short.map", shortFile);
}

void GeoSets() {
    TGeoSetRecord g;
    ClearGeoSetRecord(g, "");
    Put("geoset", "empty.geo", {});
    Put("geoset", "cleared.geo", AsBytes(g));
    for (int p = 1; p <= GeoPositions; ++p)
        for (int s = 1; s <= GeoSections; ++s)
            for (int x = 1; x <= MapletSize; ++x)
                for (int y = 1; y <= MapletSize; ++y)
                    g.Maplet(p, s).Cell(x, y) = {uint8_t(p * 10 + s), uint8_t(x + y), uint8_t(p)};
    g.PaintSymbol = 130;
    g.LayerMode = 2;
    g.Position = 5;
    g.Section = 6;
    Put("geoset", "markers.geo", AsBytes(g));
    g.Position = 200;
    g.Section = 0;
    g.LayerMode = 9;
    SetShortString(g.TilesetName, "../../dev/zero");
    Put("geoset", "out_of_range.geo", AsBytes(g));
    // Names that exist in the fuzzer's folder.
    for (const char* name : {"t.bmp", "T.BMP", "bad.bmp", "zero.bmp", "fifo.bmp", "dir.bmp"}) {
        SetShortString(g.TilesetName, name);
        Put("geoset", std::string("names_") + name + ".geo", AsBytes(g));
    }
    Bytes shortFile = AsBytes(g);
    shortFile.resize(100);
    Put("geoset", "short.geo", shortFile);

    // Opened over a loaded GeoSet, and as a map for the renderer: whole records of both
    // kinds, cut short, one byte long, and nothing.
    SetShortString(g.TilesetName, "");
    g.Position = 3;
    g.Section = 4;
    Bytes whole = AsBytes(g);
    Put("open_over", "whole.geo", whole);
    whole.push_back(0);
    Put("open_over", "one_byte_long.geo", whole);
    whole.resize(9000);
    Put("open_over", "cut.geo", whole);
    Put("open_over", "empty", {});
    TMapRecord m;
    ClearMapRecord(m);
    m.Zoom = 4;
    Put("open_over", "whole.map", AsBytes(m));
    Bytes cutMap = AsBytes(m);
    cutMap.resize(sizeof m - 1);
    Put("open_over", "one_byte_short.map", cutMap);
}

void Args() {
    auto line = [](std::initializer_list<std::string> parts) {
        Bytes b;
        bool first = true;
        for (const auto& p : parts) {
            if (!first) b.push_back(0);
            first = false;
            b.insert(b.end(), p.begin(), p.end());
        }
        return b;
    };
    Put("render_args", "png", line({"a.map", "a.png"}));
    Put("render_args", "png_opts",
        line({"--zoom", "32", "--region=1,1,36,36", "--show-hidden", "off", "a.map", "a.png"}));
    Put("render_args", "pdf_opts",
        line({"--scale", "0.75", "--margins", "0.25,0.5,1,1.50", "--grid", "hexes", "--paper", "a4", "--resolution",
              "300", "--pages", "2-4", "--title=off", "--area", "10,10,20,20", "a.map", "b.PDF"}));
    Put("render_args", "mat_opts",
        line({"--area", "drawn", "--sheets=fit", "--skip-empty", "on", "--paper", "legal", "--marks=on", "a.map",
              "b.pdf"}));
    Put("render_args", "tileset", line({"--tileset", "t.bmp", "--", "-a.map", "x.jpeg"}));
    Put("render_args", "help", line({"--help"}));
}

// Tiled maps: small and whole-size, every layer encoding, embedded tilesets, the
// properties Quillmarch writes, flipped tiles, groups.
std::string TmxSeed(int w, int h, const std::string& props, const std::string& layers) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" orientation=\"orthogonal\" "
           "renderorder=\"right-down\" width=\"" +
           std::to_string(w) + "\" height=\"" + std::to_string(h) +
           "\" tilewidth=\"16\" tileheight=\"16\" infinite=\"0\">\n" + props +
           "<tileset firstgid=\"1\" name=\"t\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"256\" "
           "columns=\"16\"><image source=\"t.png\" width=\"256\" height=\"256\"/></tileset>\n" +
           layers + "</map>\n";
}

std::string TmxLayer(const std::string& name, int w, int h, const std::string& data) {
    return "<layer id=\"1\" name=\"" + name + "\" width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
           "\">" + data + "</layer>\n";
}

std::string Base64(const Bytes& b) {
    static const char* abc = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string s;
    for (size_t i = 0; i < b.size(); i += 3) {
        uint32_t v = uint32_t(b[i]) << 16 | (i + 1 < b.size() ? uint32_t(b[i + 1]) << 8 : 0) |
                     (i + 2 < b.size() ? b[i + 2] : 0);
        s += abc[v >> 18];
        s += abc[(v >> 12) & 63];
        s += i + 1 < b.size() ? abc[(v >> 6) & 63] : '=';
        s += i + 2 < b.size() ? abc[v & 63] : '=';
    }
    return s;
}

Bytes Packed(const Bytes& raw, bool gzip) {
    Bytes out(compressBound(uLong(raw.size())) + 32);
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, gzip ? 16 + MAX_WBITS : MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    z.next_in = const_cast<Bytef*>(raw.data());
    z.avail_in = uInt(raw.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

void TmxMaps() {
    auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    auto gids = [](int n, uint32_t (*f)(int)) {
        Bytes b;
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < 4; ++k) b.push_back(uint8_t(f(i) >> (8 * k)));
        return b;
    };
    auto csv = [](int n, uint32_t (*f)(int)) {
        std::string s = "<data encoding=\"csv\">\n";
        for (int i = 0; i < n; ++i) s += std::to_string(f(i)) + (i + 1 < n ? "," : "\n");
        return s + "</data>";
    };
    const auto pattern = [](int i) { return uint32_t(i * 37 % 257); };
    const auto flipped = [](int i) { return uint32_t(i % 3 == 0 ? 0x80000000u | 5u : i % 7); };
    Put("tmx", "csv_4x3.tmx", text(TmxSeed(4, 3, "", TmxLayer("lower", 4, 3, csv(12, pattern)))));
    Put("tmx", "base64_4x4.tmx",
        text(TmxSeed(4, 4, "",
                     TmxLayer("a", 4, 4, "<data encoding=\"base64\">" + Base64(gids(16, pattern)) + "</data>"))));
    Put("tmx", "zlib_8x8.tmx",
        text(TmxSeed(8, 8, "",
                     TmxLayer("lower", 8, 8,
                              "<data encoding=\"base64\" compression=\"zlib\">" +
                                  Base64(Packed(gids(64, pattern), false)) + "</data>") +
                         TmxLayer("upper", 8, 8,
                                  "<data encoding=\"base64\" compression=\"gzip\">" +
                                      Base64(Packed(gids(64, flipped), true)) + "</data>"))));
    std::string tiles = "<data>";
    for (int i = 0; i < 6; ++i) tiles += "<tile gid=\"" + std::to_string(pattern(i)) + "\"/>";
    Put("tmx", "xml_tiles_3x2.tmx",
        text(TmxSeed(3, 2, "", "<group name=\"g\">" + TmxLayer("x", 3, 2, tiles + "</data>") + "</group>")));
    const std::string props =
        "<properties>\n <property name=\"background\" type=\"int\" value=\"11\"/>\n <property "
        "name=\"currentsymbol\" type=\"int\" value=\"200\"/>\n <property name=\"showhidden\" type=\"bool\" "
        "value=\"false\"/>\n <property name=\"tileset\" value=\"parchment.bmp\"/>\n <property name=\"zoom\" "
        "type=\"int\" value=\"48\"/>\n <property name=\"spare\" value=\"" +
        Base64(Packed(Bytes(72 * 72, 3), false)) + "\"/>\n</properties>\n";
    const auto sparse = [](int i) { return uint32_t(i % 97 == 0 ? 129 + i % 15 : 0); };
    Put("tmx", "quillmarch_72x72.tmx",
        text(
            TmxSeed(72, 72, props,
                    TmxLayer("background", 72, 72, csv(72 * 72, [](int i) { return uint32_t(i / 72 % 2 ? 11 : 12); })) +
                        TmxLayer("lower", 72, 72, csv(72 * 72, sparse)) +
                        TmxLayer("upper", 72, 72, csv(72 * 72, [](int) { return 0u; })))));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    gRoot = argv[1];
    Tilesets();
    Maps();
    GeoSets();
    Args();
    TmxMaps();
    return 0;
}
