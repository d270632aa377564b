#pragma once
// A GeoSet document over its own tileset and map, with the default tileset rendered and test
// answers for the dialogs.
#include <QDir>
#include <QImage>
#include <QString>
#include <memory>

#include "dialogs/Dialogs.h"
#include "geoset/GeoSet.h"
#include "tests/support/ScriptedDialogs.h"

namespace qmtest {

struct GeoSetState {
    GeoSetState() {
        qm::RenderTileset(tileset, map, QString(), tileBitmap);
        doc.DialogDir = QDir::tempPath();
        // As the application does: the map takes the GeoSet's tileset, the views follow
        // whether or not it could be used.
        doc.SetUseTileset([this](const QString& name) {
            struct Changed {
                int& n;
                ~Changed() { ++n; }
            } changed{tilesetChanges};
            qm::RenderTileset(tileset, map, name, tileBitmap);
        });
        doc.Listen([this](qm::TGeoSetEvent e) {
            if (e != qm::TGeoSetEvent::Replaced) return;
            enabled = doc.Loaded() ? 1 : 0;
            ++selectorUpdates;
        });
        qm::ClearGeoSetRecord(geo, "");
        qm::SetDialogs(&dialogs);
    }
    ~GeoSetState() { qm::SetDialogs(nullptr); }

    qm::TRenderedTileset tileset;
    qm::TGeoSetDocument doc{tileset};
    qm::TGeoSetRecord& geo = doc.GeoSet;
    const QString& fileName() const { return doc.FileName(); }
    qm::TMapRecord map{};
    QImage tileBitmap;
    TScriptedDialogs dialogs;
    int enabled = -1; // -1 never set
    int tilesetChanges = 0;
    int selectorUpdates = 0;
};

} // namespace qmtest
