#pragma once
// Glyphs and cursors of the preview window, drawn by our own code.
#include <QCursor>
#include <QPixmap>

namespace qm {

constexpr int crZoom = 40;
constexpr int crHand = 41;

// The application's cursor table: ids to cursors; an unknown id is the arrow.
void RegisterCursor(int id, const QCursor& cursor);
QCursor CursorById(int id);

// "ZOOM_CURSOR": magnifier with cross hairs, hot spot (10, 10).
QCursor MakeZoomCursor();
// "HAND_CURSOR": open hand, hot spot (7, 14).
QCursor MakeHandCursor();

enum class TGlyph { ZoomTool, HandTool, FirstPage, PrevPage, NextPage, LastPage, PageNumber };
QPixmap Glyph(TGlyph g);

} // namespace qm
