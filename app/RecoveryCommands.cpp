// Nothing lost: recovery copies of modified documents, the offer to recover them at
// the next start, and the question before the window closes.
#include <QCloseEvent>
#include <QFileInfo>
#include <QStatusBar>
#include <exception>

#include "app/MainWindow.h"
#include "app/RecoveryWriter.h"
#include "base/Encoding.h"
#include "base/Paths.h"
#include "dialogs/Dialogs.h"
#include "geoset/GeoSet.h"
#include "model/RecordFile.h"
#include "tiles/Tileset.h"

namespace qm {

void Twinviewform::CreateRecovery() {
    recovery_ = std::make_unique<TRecoveryWriter>(DefaultRecoveryFolder(), app_->Document, app_->GeoSetDocument);
    // Not worth a message box in the middle of drawing; the status bar says it.
    recovery_->Store().SetErrorHandler([this](const QString& error) {
        QMetaObject::invokeMethod(
            this, [this, error] { StatusBar1->showMessage(QStringLiteral(" No recovery copy: %1").arg(error)); },
            Qt::QueuedConnection);
    });
}

void Twinviewform::SetRecoveryDelay(int ms) { recovery_->SetDelay(ms); }

void Twinviewform::OfferRecovery() {
    for (const TOrphanCopy& copy : recovery_->Store().FindOrphans()) {
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
        a.Document.OpenRecovered(
            copy.Path, copy.Info.DocumentPath, copy.Info.NeedsName,
            [&] {
                tilesetError = ApplyMapSettings(copy.Info.DocumentPath.isEmpty() ? copy.Path : copy.Info.DocumentPath);
            },
            copy.Info.KeyText.toStdString());
        const QString& name = a.Document.FileName();
        a.MapDialogDir = name.isEmpty() ? a.ProgramDir : FolderOf(name);
        if (!name.isEmpty()) a.MapFolderUsed = a.MapDialogDir;
    } else {
        if (!AskSaveGeoSetChanges()) return false;
        try {
            a.GeoSetDocument.Open(copy.Path, true); // the record, then the copy's own trailer
        } catch (const TTilesetError& e) {
            tilesetError = MessageText(e); // the GeoSet itself is in
        }
        a.GeoSetDocument.Recovered(copy.Info.DocumentPath);
    }
    // This instance's own copy exists before the old one goes.
    recovery_->WriteNow();
    recovery_->Store().Flush();
    if (!tilesetError.isEmpty()) Dialogs().Error(this, tilesetError);
    return true;
}

void Twinviewform::closeEvent(QCloseEvent* e) {
    if (!AskSaveChanges() || !AskSaveGeoSetChanges()) {
        e->ignore();
        return;
    }
    recovery_->Finish();
    QMainWindow::closeEvent(e);
}

} // namespace qm
