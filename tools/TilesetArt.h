#pragma once
// Shared pieces of the tileset generator: the drawing style, periodic noise, colour helpers.
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>

#include "tiles/BuiltInSymbols.h"

namespace gen {

namespace sym = qm::sym;

// One look of a tileset. Vector art is drawn in a 48-unit square scaled to S pixels;
// textures work in pixels with period S, so every texture joins the cell next to it.
struct Style {
    int S = 48;
    bool parchment = false;
};

// --- periodic noise (period in pixels; `cells` lattice cells per period) ---
double Hash01(int x, int y, uint32_t seed);
double ValueNoise(double x, double y, int cells, int period, uint32_t seed);
double Fbm(double x, double y, int period, uint32_t seed);
// Distance to the nearest and second-nearest jittered lattice point (cells per period),
// and the id of the nearest one.
struct Cellular {
    double f1, f2;
    uint32_t id;
    double cx, cy;
};
Cellular Worley(double x, double y, int cells, int period, uint32_t seed, double jitter = 0.8);

// --- colours ---
QRgb Rgb(int r, int g, int b);
QRgb Mix(QRgb a, QRgb b, double t);
QRgb Scale(QRgb c, double f);
double Clamp01(double v);
double SmoothStep(double a, double b, double x);

// --- cells of the sheet ---
QRect CellRect(int symbol, int S);
// Fills the cell pixel by pixel; f gets pixel-centre coordinates inside the cell.
void FillCell(QImage& sheet, int symbol, int S, const std::function<QRgb(double, double)>& f);
// Draws an object in the 48-unit square on a transparent layer, then lays it on the sheet
// with crisp edges and a dark one-pixel outline (pure white stays for the ground to show).
void DrawObject(QImage& sheet, int symbol, const Style& st, const std::function<void(QPainter&)>& draw,
                bool outline = true);

// --- the parts of a sheet ---
void DrawTerrainRows(QImage& sheet, const Style& st);
void DrawGrounds(QImage& sheet, const Style& st);
void DrawObjects(QImage& sheet, const Style& st);
void DrawIcons(QImage& sheet, const Style& st);
// The icons of the Room, Door and Fill tools as tool-NAME.png in `dir`; false when one
// cannot be written.
bool WriteDrawingToolIcons(const QString& dir);
// The colours of the icons' pixel art by letter ('.' and other letters are not in it).
const std::map<char, QRgb>& IconKey();
// Quarter coverage of terrain shape k (bit 0 NW, 1 NE, 2 SW, 3 SE); 0 for the lone patch.
int ShapeQuarters(int k);
// Renders one terrain piece at any size (for icons and previews).
QRgb TerrainPixel(int family, int shape, double x, double y, int S);
// Shades a terrain family inside any outline given as a signed distance (negative inside);
// outside is white unless `opaque`.
QRgb ShadeTerrain(int family, const std::function<double(double, double)>& sd, double x, double y, int S,
                  bool opaque = false);

// --- palette and file ---
// Median cut to 253 colours plus exact pure white and pure black, then nearest-colour
// mapping that never turns a non-white pixel white.
QImage Quantize(const QImage& rgb);
bool WriteBmp8(const QImage& indexed, const QString& path);
// Digits and letters 3x5 for labels on the preview sheets.
void DrawTinyText(QImage& img, int x, int y, const QString& text, QRgb color, int scale = 1);

} // namespace gen
