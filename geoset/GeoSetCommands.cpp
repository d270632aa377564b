#include "geoset/GeoSetCommands.h"

#include <QFileInfo>

#include "preview/Dialogs.h"

namespace qm {

void GeoNewExecute(TGeoSetContext& ctx) {
    ClearGeoSet(ctx);
    if (ctx.SelectorsChanged) ctx.SelectorsChanged();
}

bool GeoOpenExecute(TGeoSetContext& ctx) {
    const QString path = Dialogs().OpenFileName(ctx.DialogParent, QStringLiteral("Open GeoSet"), ctx.DialogDir,
                                                GeoSetFilter);
    if (path.isEmpty()) return false;
    LoadGeoSet(ctx, path);
    return true;
}

bool GeoSaveExecute(TGeoSetContext& ctx) {
    const QString offered = SaveDialogStart(ctx.GeoSetFileName->isEmpty() ? ctx.DialogDir : *ctx.GeoSetFileName);
    const QString path = Dialogs().SaveFileName(ctx.DialogParent, QStringLiteral("Save GeoSet"), offered, GeoSetFilter,
                                                GeoSetSuffix);
    if (path.isEmpty()) return false;
    if (QFileInfo::exists(path) &&
        Dialogs().YesNoCancel(ctx.DialogParent, QStringLiteral("OK to overwrite %1").arg(path)) != TConfirm::Yes)
        return false;
    SaveGeoSet(*ctx.GeoSet, path);
    *ctx.GeoSetFileName = path;
    return true;
}

} // namespace qm
