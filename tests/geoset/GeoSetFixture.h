#pragma once
// A GeoSet context over its own state, with the default tileset rendered and test
// answers for the dialogs.
#include <QDir>
#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>

#include "geoset/GeoSet.h"
#include "preview/Dialogs.h"

namespace qmtest {

class FakeDialogs : public qm::TDialogs {
public:
    QString openAnswer, saveAnswer;
    qm::TConfirm confirm = qm::TConfirm::Yes;
    QStringList confirmTexts;
    QString offered, filter, suffix;

    QString OpenFileName(QWidget*, const QString&, const QString& dir, const QString& f) override {
        offered = dir;
        filter = f;
        return openAnswer;
    }
    QString SaveFileName(QWidget*, const QString&, const QString& dir, const QString& f, const QString& s,
                         QString*) override {
        offered = dir;
        filter = f;
        suffix = s;
        return saveAnswer;
    }
    qm::TConfirm YesNoCancel(QWidget*, const QString& text) override {
        confirmTexts << text;
        return confirm;
    }
    void Error(QWidget*, const QString&) override {}
};

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
    FakeDialogs dialogs;
    int enabled = -1; // -1 never set
    int tilesetChanges = 0;
    int selectorUpdates = 0;
};

} // namespace qmtest
