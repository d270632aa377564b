#include "geoset/GeoSetCommands.h"

#include <QFileInfo>

#include "dialogs/Dialogs.h"
#include "geoset/GeoSet.h"

namespace qm {

void GeoNewExecute(TGeoSetDocument& doc) { ClearGeoSet(doc); }

bool GeoOpenExecute(TGeoSetDocument& doc, QWidget* parent) {
    const QString path = Dialogs().OpenFileName(parent, QStringLiteral("Open GeoSet"), doc.DialogDir, GeoSetFilter);
    if (path.isEmpty()) return false;
    LoadGeoSet(doc, path);
    return true;
}

bool GeoSaveExecute(TGeoSetDocument& doc, QWidget* parent) {
    const QString offered = SaveDialogStart(doc.FileName().isEmpty() ? doc.DialogDir : doc.FileName());
    const QString path = Dialogs().SaveFileName(parent, QStringLiteral("Save GeoSet"), offered, GeoSetFilter,
                                                GeoSetSuffix);
    if (path.isEmpty()) return false;
    if (SameFile(path, doc.FileName()) && doc.FileChangedOnDisk()) {
        const TConfirm answer = AskOverwriteChangedFile(parent, doc.DisplayName());
        if (answer == TConfirm::No) return GeoSaveExecute(doc, parent);
        if (answer != TConfirm::Yes) return false;
    } else if (QFileInfo::exists(path) &&
               Dialogs().YesNoCancel(parent, QStringLiteral("OK to overwrite %1").arg(path)) != TConfirm::Yes) {
        return false;
    }
    SaveGeoSet(doc, path);
    return true;
}

} // namespace qm
