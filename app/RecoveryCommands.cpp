// Nothing lost: recovery copies of modified documents, the offer to recover them at
// the next start, and the question before the window closes.
#include <QCloseEvent>
#include <QFileInfo>
#include <QStatusBar>
#include <exception>

#include "app/MainWindow.h"
#include "geoset/GeoSet.h"
#include "model/RecordFile.h"
#include "preview/Dialogs.h"
#include "tiles/Encoding.h"
#include "tiles/Tileset.h"

namespace qm {

namespace {
// Long enough that a drag of strokes makes one copy, short enough to lose little.
constexpr int RecoveryDelayMs = 3000;
// A user who never pauses still gets a copy this many delays after the first change.
constexpr int RecoveryMaxDelays = 4;
} // namespace

void Twinviewform::CreateRecovery() {
    recovery_ = std::make_unique<TRecoveryStore>(DefaultRecoveryFolder());
    // Not worth a message box in the middle of drawing; the status bar says it.
    recovery_->SetErrorHandler([this](const QString& error) {
        QMetaObject::invokeMethod(
            this, [this, error] { StatusBar1->showMessage(QStringLiteral(" No recovery copy: %1").arg(error)); },
            Qt::QueuedConnection);
    });
    recoveryTimer_.setSingleShot(true);
    recoveryTimer_.setInterval(RecoveryDelayMs);
    connect(&recoveryTimer_, &QTimer::timeout, this, [this] { WriteRecoveryCopies(); });
}

void Twinviewform::ScheduleRecovery() {
    if (!recoveryTimer_.isActive()) {
        recoveryPending_.start();
        recoveryTimer_.start();
    } else if (recoveryPending_.elapsed() < qint64(RecoveryMaxDelays) * recoveryTimer_.interval()) {
        recoveryTimer_.start(); // wait for a pause in the work
    }
}

void Twinviewform::WriteRecoveryCopies() {
    recoveryTimer_.stop();
    const TQuillmarch& a = *app_;
    if (a.MapDocument.Modified) {
        const TRecoveryInfo info{a.MapFileName, TilesetNameText(MapTilesetName(a.CurrentMap)), a.MapDocument.NeedsName,
                                 QDateTime::currentDateTime()};
        recovery_->Write(TRecoveryKind::Map, &a.CurrentMap, sizeof a.CurrentMap, info);
    }
    if (a.GeoSetDocument.Modified) {
        const TRecoveryInfo info{a.GeoSetFileName, TilesetNameText(GeoTilesetName(a.GeoSet)), false,
                                 QDateTime::currentDateTime()};
        recovery_->Write(TRecoveryKind::GeoSet, &a.GeoSet, sizeof a.GeoSet, info);
    }
}

void Twinviewform::OfferRecovery() {
    for (const TOrphanCopy& copy : recovery_->FindOrphans()) {
        if (!copy.Error.isEmpty()) {
            Dialogs().Error(this, QStringLiteral("Cannot recover unsaved work from \"%1\". %2 The file is kept.")
                                      .arg(copy.Path, copy.Error));
            continue;
        }
        const bool isMap = copy.Kind == TRecoveryKind::Map;
        const QString name = copy.Info.DocumentPath.isEmpty() ? QStringLiteral("Untitled")
                                                              : QFileInfo(copy.Info.DocumentPath).fileName();
        const QString when = copy.Info.Saved.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const TConfirm answer = Dialogs().Question(
            this,
            QStringLiteral("Recover unsaved %1 %2 from %3?")
                .arg(isMap ? QStringLiteral("map") : QStringLiteral("GeoSet"), name, when),
            QStringLiteral("Recover"), QStringLiteral("Discard"), QStringLiteral("Later"));
        if (answer == TConfirm::No) {
            TRecoveryStore::Discard(copy);
        } else if (answer == TConfirm::Yes) {
            try {
                if (RecoverCopy(copy)) TRecoveryStore::Discard(copy);
            } catch (const std::exception& e) {
                Dialogs().Error(this, MessageText(e));
            }
        }
    }
}

bool Twinviewform::RecoverCopy(const TOrphanCopy& copy) {
    TQuillmarch& a = *app_;
    QString tilesetError;
    if (copy.Kind == TRecoveryKind::Map) {
        if (!AskSaveChanges()) return false; // a second copy would replace unsaved work
        // The record (the trailer after it is not read), with the tileset found as for its map.
        OpenMapFile(copy.Path, copy.Info.DocumentPath.isEmpty() ? copy.Path : copy.Info.DocumentPath);
        a.MapFileName = copy.Info.DocumentPath;
        a.MapDialogDir = a.MapFileName.isEmpty() ? a.ProgramDir : FolderOf(a.MapFileName);
        a.MapDocument.Clean(copy.Info.NeedsName);
        a.MapDocument.Changed();
        UpdateCaption();
    } else {
        if (!AskSaveGeoSetChanges()) return false;
        try {
            LoadGeoSet(geoCtx_, copy.Path);
        } catch (const TTilesetError& e) {
            tilesetError = MessageText(e); // the GeoSet itself is in
        }
        a.GeoSetFileName = copy.Info.DocumentPath;
        MarkGeoSetClean();
        GeoSetChanged();
    }
    // This instance's own copy exists before the old one goes.
    WriteRecoveryCopies();
    recovery_->Flush();
    if (!tilesetError.isEmpty()) Dialogs().Error(this, tilesetError);
    return true;
}

void Twinviewform::closeEvent(QCloseEvent* e) {
    if (!AskSaveChanges() || !AskSaveGeoSetChanges()) {
        e->ignore();
        return;
    }
    recoveryTimer_.stop();
    recovery_->RemoveAll();
    QMainWindow::closeEvent(e);
}

} // namespace qm
