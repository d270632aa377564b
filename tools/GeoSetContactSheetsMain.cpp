// Renders, for every shipped GeoSet, maps generated from it and a contact sheet of all its
// maplets to PNG pictures for looking at: gen_geoset_preview <out-folder> [cell-pixels] [maps]
// writes THEME-map1.png ..., THEME-maplets.png and editor.png.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <memory>

#include "base/Encoding.h"
#include "compose/Compose.h"
#include "editor/DrawGrid.h"
#include "geoset/GeoSet.h"
#include "geoset/MapletEditor.h"
#include "geoset/RandomMap.h"
#include "tiles/Tileset.h"
#include "tools/GeoSetGenerator.h"
#include "tools/SaveFile.h"

using namespace qm;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_geoset_preview <out-folder> [cell-pixels] [maps]\n");
        return 2;
    }
    const QString out = qm::PathFromBytes(argv[1]);
    const int px = argc > 2 ? std::atoi(argv[2]) : 16;
    const int maps = argc > 3 ? std::atoi(argv[3]) : 4;
    QDir().mkpath(out);

    static TRenderedTileset ts;
    static TMapRecord map;
    static TGeoSetRecord geo;
    QImage tileBitmap, cell;
    RenderTileset(ts, map, QString(), tileBitmap, nullptr);
    for (gen::Theme theme : gen::AllThemes) {
        const QString name = QString::fromLatin1(gen::ThemeName(theme));
        gen::BuildGeoSet(theme, geo);
        for (int n = 1; n <= maps; ++n) {
            ClearMapRecord(map);
            TGeoRandom rng(n);
            GenerateRandomMap(map, geo, rng);
            QImage pic(72 * px, 72 * px, QImage::Format_RGB32);
            QPainter p(&pic);
            for (int c = 0; c < 72; ++c)
                for (int r = 0; r < 72; ++r) {
                    ComposeMapCell(cell, map, ts, c, r);
                    DrawScaledCell(p, QRect(c * px, r * px, px, px), cell);
                }
            p.end();
            if (!gen::SavePng(pic, QString("%1/%2-map%3.png").arg(out, name).arg(n))) return 1;
        }

        // All maplets: positions in a 3 x 3 arrangement, six sections side by side.
        const int m = 12 * px, gap = px;
        QImage sheet(3 * (6 * (m + gap)), 3 * (m + gap) * 1, QImage::Format_RGB32);
        sheet.fill(Qt::darkGray);
        QPainter p(&sheet);
        for (int pos = 1; pos <= 9; ++pos)
            for (int s = 1; s <= 6; ++s) {
                const int ox = ((pos - 1) % 3) * 6 * (m + gap) + (s - 1) * (m + gap);
                const int oy = ((pos - 1) / 3) * (m + gap);
                for (int x = 1; x <= 12; ++x)
                    for (int y = 1; y <= 12; ++y) {
                        DrawMapletCell(cell, ts, geo, pos, s, x, y);
                        DrawScaledCell(p, QRect(ox + (x - 1) * px, oy + (y - 1) * px, px, px), cell);
                    }
            }
        p.end();
        if (!gen::SavePng(sheet, QString("%1/%2-maplets.png").arg(out, name))) return 1;
    }
    gen::BuildDefaultGeoSet(geo);

    // The maplet editor as the user sees it.
    auto doc = std::make_unique<TGeoSetDocument>(ts);
    doc->GeoSet = geo;
    QAction geoNew("New"), geoOpen("Open"), geoSave("Save");
    geoNew.setIcon(QIcon(QPixmap::fromImage(ts.ToolPalette[0])));
    geoOpen.setIcon(QIcon(QPixmap::fromImage(ts.ToolPalette[1])));
    geoSave.setIcon(QIcon(QPixmap::fromImage(ts.ToolPalette[2])));
    TGeoEditForm form(*doc, cell, &geoNew, &geoOpen, &geoSave);
    form.show();
    form.GeoGrid->SetSelection({2, 3, 5, 4});
    return gen::SavePng(form.grab().toImage(), out + "/editor.png") ? 0 : 1;
}
