#pragma once
// A GeoSet context over its own state, with the default tileset rendered and test
// answers for the dialogs.
#include <QDir>
#include <QImage>
#include <QString>
#include <memory>

#include "geoset/GeoSet.h"
#include "preview/Dialogs.h"
#include "tests/support/ScriptedDialogs.h"

namespace qmtest {

struct GeoSetState {
    GeoSetState() {
        qm::RenderTileset(tileset, map, QString(), tileBitmap);
        ctx.GeoSet = &geo;
        ctx.GeoSetFileName = &fileName;
        ctx.Tileset = &tileset;
        ctx.CurrentMap = &map;
        ctx.TileBitmap = &tileBitmap;
        ctx.DialogDir = QDir::tempPath();
        ctx.SetGenerateEnabled = [this](bool on) { enabled = on ? 1 : 0; };
        ctx.TilesetChanged = [this] { ++tilesetChanges; };
        ctx.SelectorsChanged = [this] { ++selectorUpdates; };
        qm::ClearGeoSetRecord(geo, "");
        qm::SetDialogs(&dialogs);
    }
    ~GeoSetState() { qm::SetDialogs(nullptr); }

    qm::TGeoSetRecord geo;
    QString fileName;
    qm::TRenderedTileset tileset;
    qm::TMapRecord map{};
    QImage tileBitmap;
    qm::TGeoSetContext ctx;
    TScriptedDialogs dialogs;
    int enabled = -1; // -1 never set
    int tilesetChanges = 0;
    int selectorUpdates = 0;
};

} // namespace qmtest
