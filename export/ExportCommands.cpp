#include "export/ExportCommands.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProgressDialog>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/Encoding.h"
#include "dialogs/Dialogs.h"
#include "export/ExportPicture.h"
#include "export/FoundryOptionsDialog.h"
#include "export/PictureBands.h"
#include "export/PictureRockDialog.h"
#include "export/VttExport.h"
#include "export/VttOptionsDialog.h"

namespace qm {

const char* const SavePictureFilter = "Bitmaps (*.bmp);;JPEG Image File (*.jpg);;PNG Image File (*.png)";

namespace {

// A progress window that appears only when an export takes longer than a moment;
// its Cancel stops the export and nothing is left behind.
class TExportProgress {
public:
    TExportProgress(QWidget* parent, const QString& label)
        : dlg_(std::make_unique<QProgressDialog>(label, "Cancel", 0, 1, parent)) {
        dlg_->setWindowTitle("Exporting Image");
        dlg_->setWindowModality(Qt::WindowModal);
        dlg_->setMinimumDuration(400);
        dlg_->setAutoClose(false);
        dlg_->setAutoReset(false);
        dlg_->setValue(0);
    }
    ~TExportProgress() { dlg_->close(); }

    TProgressFn Fn() {
        return [this](int done, int total) {
            if (dlg_->maximum() != total) dlg_->setMaximum(total);
            dlg_->setValue(done); // processes events while the window is shown
            return !dlg_->wasCanceled();
        };
    }

private:
    std::unique_ptr<QProgressDialog> dlg_;
};

QString AskFile(QWidget* parent, const QString& caption, const QString& startFolder, QString& filter) {
    return Dialogs().SaveFileName(parent, caption, startFolder, SavePictureFilter, QString(), &filter);
}

// The picture exports ask with a question mark, as they always have.
const char* const PictureOverwriteQuestion = "OK to overwrite %1?";

} // namespace

const char* const SaveVttFilter = "Universal VTT (*.dd2vtt *.uvtt *.df2vtt)";

bool MayReplace(QWidget* parent, const QStringList& paths, const char* question) {
    QStringList existing;
    for (const QString& p : paths)
        if (QFileInfo::exists(p)) existing << p;
    return existing.isEmpty() ||
           Dialogs().YesNoCancel(parent, QString::fromLatin1(question).arg(existing.join(QStringLiteral(", ")))) ==
               TConfirm::Yes;
}

QString ExportDiskExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts,
                          const TGridRect& selection, int zoom, const QString& startFolder, const TMapKey* labels) {
    int rock = 0;
    if (!AskPictureRock(parent, "Export Image", map, ts, rock)) return QString();
    QString filter;
    const QString path = AskFile(parent, "Export Image", startFolder, filter);
    if (path.isEmpty() || !MayReplace(parent, {path}, PictureOverwriteQuestion)) return QString();
    TExportProgress progress(parent, "Exporting " + QFileInfo(path).fileName());
    try {
        ExportMapPicture(PathBytes(path), FormatForFile(path, filter), map, ts, ExportArea(selection), zoom,
                         progress.Fn(), rock, labels);
    } catch (const TExportCancelled&) {
        return QString();
    }
    return path;
}

QStringList ExportDiskTiledExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts, int zoom,
                                   const QString& startFolder) {
    int rock = 0;
    if (!AskPictureRock(parent, "Export Tiled Map Images", map, ts, rock)) return {};
    QString filter;
    const QString path = AskFile(parent, "Export Tiled Map Images", startFolder, filter);
    if (path.isEmpty()) return {};
    const auto names = QuarterFileNames(path);
    if (!MayReplace(parent, QStringList(names.begin(), names.end()), PictureOverwriteQuestion)) return {};
    TExportProgress progress(parent, "Exporting " + QFileInfo(path).fileName() + " in four parts");
    try {
        return ExportQuarterPictures(path, FormatForFile(path, filter), map, ts, zoom, progress.Fn(), rock);
    } catch (const TExportCancelled&) {
        return {};
    }
}

bool ExportImageClipboardExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts,
                                 const TGridRect& selection, int zoom, const TMapKey* labels) {
    int rock = 0;
    if (!AskPictureRock(parent, "Copy Image", map, ts, rock)) return false;
    const TPictureSource src = MapPictureSource(map, ts, ExportArea(selection), zoom, rock, labels);
    if (src.Width <= 0 || src.Height <= 0)
        throw std::runtime_error("Cannot copy the picture: a cell size of " + std::to_string(zoom) +
                                 " pixels gives no picture.");
    // The clipboard takes the whole picture in memory at once, unlike the file writers.
    const std::string size = std::to_string(src.Width) + " x " + std::to_string(src.Height);
    if (qint64(src.Width) * src.Height > MaxClipboardPixels)
        throw std::runtime_error("Cannot copy the picture: it is " + size +
                                 " pixels, more than the clipboard takes (64 million pixels). Zoom out or "
                                 "select a smaller region.");
    QImage picture(src.Width, src.Height, QImage::Format_RGB32);
    if (picture.isNull())
        throw std::runtime_error("Cannot copy the picture: not enough memory for " + size + " pixels.");
    TExportProgress progress(parent, "Copying the picture to the clipboard");
    try {
        DrawBandsInto(picture, src, progress.Fn());
    } catch (const TExportCancelled&) {
        return false;
    }
    QGuiApplication::clipboard()->setImage(picture);
    return true;
}

QString ExportVttExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts, const SymbolTable& symbols,
                         const TGridRect& selection, const QString& startFolder, const TMapKey* key) {
    // The dialog's choices last for the run.
    static TVttOptions last;
    last.Key = key && !key->Entries.empty() ? key : nullptr;
    TVttOptionsDialog dlg(parent, last);
    if (dlg.exec() != QDialog::Accepted) return QString();
    last = dlg.Options();
    last.Key = key && !key->Entries.empty() ? key : nullptr;
    const QString path = Dialogs().SaveFileName(parent, "Export Virtual Tabletop Map", startFolder, SaveVttFilter,
                                                QStringLiteral("dd2vtt"));
    if (path.isEmpty() || !MayReplace(parent, {path})) return QString();
    TVttOptions options = last;
    for (;;) {
        TExportProgress progress(parent, "Exporting " + QFileInfo(path).fileName());
        try {
            ExportVttMap(PathBytes(path), map, ts, symbols, ExportArea(selection), options, progress.Fn());
            return path;
        } catch (const TExportCancelled&) {
            return QString();
        } catch (const TVttLimitError& e) {
            // Too large for the tabletop: offer the largest cell size it takes.
            if (e.FittingPixelsPerCell < MinVttPixelsPerCell || e.FittingPixelsPerCell >= options.PixelsPerCell) throw;
            const QString ask = QString::fromStdString(e.what()) +
                                QStringLiteral("\n\nExport at %1 pixels per cell, the largest size that fits?")
                                    .arg(e.FittingPixelsPerCell);
            if (Dialogs().YesNoCancel(parent, ask) != TConfirm::Yes) return QString();
            options.PixelsPerCell = e.FittingPixelsPerCell;
        }
    }
}

const char* const SaveFoundryFilter = "Foundry VTT Scene (*.json)";

QString ExportFoundryExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts,
                             const SymbolTable& symbols, const TGridRect& selection, const QString& startFolder,
                             const QString& mapName, const std::vector<TFoundryNote>& notes) {
    // The dialog's choices last for the run.
    static TFoundryOptions last;
    TFoundryOptionsDialog dlg(parent, last);
    if (dlg.exec() != QDialog::Accepted) return QString();
    last = dlg.Options();
    const QString path = Dialogs().SaveFileName(parent, "Export Foundry Scene", startFolder, SaveFoundryFilter,
                                                QStringLiteral("json"));
    if (path.isEmpty()) return QString();
    const QString picture = QString::fromStdString(FoundryPicturePath(PathBytes(path)));
    if (!MayReplace(parent, {path, picture})) return QString();
    TFoundryOptions options = last;
    options.Name = mapName.isEmpty() ? std::string("Untitled") : mapName.toStdString();
    options.Notes = notes;
    TExportProgress progress(parent, "Exporting " + QFileInfo(path).fileName());
    try {
        ExportFoundryScene(PathBytes(path), map, ts, symbols, ExportArea(selection), options, progress.Fn());
    } catch (const TExportCancelled&) {
        return QString();
    }
    return path;
}

} // namespace qm
