#pragma once
// Drawing upper-layer objects: the painting helpers the object families share, and one
// function per family. Objects are drawn on white in a 48-unit square, lit from the top left.
#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <array>
#include <functional>
#include <initializer_list>

#include "tools/TilesetArt.h"

namespace gen {

constexpr double Pi = 3.14159265358979323846;

inline QColor C(int r, int g, int b) { return QColor(r, g, b); }

inline const QColor Wood(150, 100, 56), DarkWood(104, 68, 38), Iron(110, 114, 124), Stone(150, 146, 138),
    Gold(226, 182, 58), Cloth(170, 40, 44), Leaf(70, 136, 50), Marker(204, 32, 36);

// A sphere-like fill: bright towards the light, dark away from it.
QBrush Lit(QPointF c, double r, QColor base);
QBrush Bevel(const QRectF& r, QColor base);
void Ball(QPainter& p, double x, double y, double r, QColor base);
void Box(QPainter& p, const QRectF& r, QColor base, double radius = 1.5);
void Line(QPainter& p, QPointF a, QPointF b, QColor c, double w);
void Poly(QPainter& p, std::initializer_list<QPointF> pts, const QBrush& fill);
// Digit strokes on a 4 x 6 grid, for room numbers.
void Digit(QPainter& p, int d, QRectF box, QColor c, double w);
// Hidden markers share one look: a red ring on a pale disc with a dark red glyph.
void MarkerRing(QPainter& p);
// A house seen from above: a pitched roof with its ridge along the longer side.
void Roof(QPainter& p, QRectF r, QColor tile);
void Tent(QPainter& p, QPointF c, double r, QColor cloth);
void Crate(QPainter& p, QRectF r);
void Tree(QPainter& p, double x, double y, double r);
void Flame(QPainter& p, QPointF c, double s);
void Stones(QPainter& p, std::initializer_list<std::array<double, 3>> s, QColor base);

// Draws symbol s of the sheet with the painter function, in the sheet's style.
struct Objects {
    QImage& sheet;
    const Style& st;
    void operator()(int s, const std::function<void(QPainter&)>& f) const { DrawObject(sheet, s, st, f); }
};

// Wall pieces, doors, stairs, furniture, openings, hidden markers, furnishings of halls and
// temples, room numbers and arrows, mechanisms, crate stacks, workshops.
void DrawWallPieces(QImage& sheet, const Style& st);
void DrawDoors(const Objects& obj);
void DrawStairs(const Objects& obj);
void DrawFurniture(const Objects& obj);
void DrawOpenings(const Objects& obj);
void DrawHiddenMarkers(const Objects& obj);
void DrawHallFurnishings(const Objects& obj);
void DrawRoomNumbersAndArrows(const Objects& obj);
void DrawMechanisms(const Objects& obj);
void DrawCrateStacks(const Objects& obj);
void DrawWorkshop(const Objects& obj);

// Debris and camp, plants and rocks, sign and fences, cave and magic, places on overland maps.
void DrawDebrisAndCamp(const Objects& obj);
void DrawPlantsAndRocks(const Objects& obj);
void DrawSignAndFences(const Objects& obj);
void DrawCaveAndMagic(const Objects& obj);
void DrawOverlandPlaces(const Objects& obj);

} // namespace gen
