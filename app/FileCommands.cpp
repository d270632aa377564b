// Start-up and the map file commands of the main window.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QStatusBar>
#include <exception>

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/RecoveryWriter.h"
#include "base/Encoding.h"
#include "base/Paths.h"
#include "dialogs/Dialogs.h"
#include "geoset/GeoSet.h"
#include "model/MapKey.h"
#include "model/RecordFile.h"
#include "model/ShortString.h"
#include "tiles/TilesetChooser.h"
#include "tiles/TilesetLookup.h"
#include "tiles/TilesetProgressWindow.h"

namespace qm {

namespace {
const QString MapFilter = QStringLiteral("Quillmarch Map Files (*.map)");
const QString MapSuffix = QStringLiteral("map");
const QString Title = QStringLiteral("QuillMarch");
} // namespace

void Twinviewform::FormShow() { UpdateCaption(); }

void Twinviewform::FormActivate() {
    if (!app_->FirstActivation) return;
    app_->FirstActivation = false;
    FirstTimeSetup();
}

void Twinviewform::FirstTimeSetup() {
    TQuillmarch& a = *app_;
    // A default tileset that fails to render leaves the program usable without symbols.
    QString renderError;
    try {
        LoadTileset(QString());
    } catch (const std::exception& e) {
        renderError = MessageText(e);
    }
    a.Document.New(TilesetNameBytes(a.Tileset.CurrentTilesetName), DrawGrid1->DefaultColWidth(), true);

    QString geoError;
    try {
        GeoSetStartup(a.GeoSetDocument, a.ProgramDir);
    } catch (const std::exception& e) {
        geoError = MessageText(e);
    }

    a.MapDialogDir = a.PictureDialogDir = a.ProgramDir;
    a.GeoSetDocument.DialogDir = a.ProgramDir;
    ShowHidden->setChecked(a.Document.CurrentMap.ShowHidden != 0);
    RepaintBoth();
    update();
    if (!renderError.isEmpty()) Dialogs().Error(this, renderError);
    if (!geoError.isEmpty()) Dialogs().Error(this, geoError);
    OfferRecovery();

    // A map named at start opens once everything else is ready; one that cannot be read
    // is reported and the empty map stays.
    if (!app_->StartFile.isEmpty()) {
        const QString path = app_->StartFile;
        app_->StartFile.clear();
        RunCommand([this, path] {
            if (AskSaveChanges()) OpenMapFile(path);
        });
    }
}

void Twinviewform::UpdateCaption() {
    const TMapDocument& doc = app_->Document;
    const QString name = doc.FileName().isEmpty() ? QString() : QStringLiteral(" - ") + doc.DisplayName();
    setWindowTitle(Title + name + QStringLiteral("[*]"));
    setWindowModified(doc.Modified());
}

void Twinviewform::MapDocumentChanged(TDocumentEvent e) {
    // A step shown again brings its own view settings and tileset.
    QString tilesetError;
    if (e == TDocumentEvent::Restored) tilesetError = ApplyMapSettings();
    KeyChanged();
    UpdateCaption();
    if (!app_->Document.Modified()) {
        if (recovery_) recovery_->Store().Remove(TRecoveryKind::Map);
    } else if (e != TDocumentEvent::FileChanged) {
        if (recovery_) recovery_->Changed();
    }
    RepaintMap();
    UpdateHistory();
    if (!tilesetError.isEmpty()) Dialogs().Error(this, tilesetError);
}

bool Twinviewform::AskSaveChanges() {
    if (!app_->Document.Modified()) return true;
    const TConfirm answer = AskSaveChangesTo(this, app_->Document.DisplayName());
    if (answer == TConfirm::No) return true;
    if (answer != TConfirm::Yes) return false;
    try {
        return SaveMap();
    } catch (const std::exception& e) {
        Dialogs().Error(this, MessageText(e));
        return false;
    }
}

void Twinviewform::NewExecute() {
    if (!AskSaveChanges()) return;
    TQuillmarch& a = *app_;
    ShowHidden->setChecked(true);
    a.Document.New(TilesetNameBytes(a.Tileset.CurrentTilesetName), DrawGrid1->DefaultColWidth());
}

void Twinviewform::OpenExecute() {
    if (!AskSaveChanges()) return;
    const QString path = Dialogs().OpenFileName(this, QStringLiteral("Open"), app_->MapDialogDir, MapFilter);
    if (path.isEmpty()) return;
    OpenMapFile(path);
}

void Twinviewform::OpenMapFile(const QString& path, const QString& documentPath) {
    TQuillmarch& a = *app_;
    a.MapDialogDir = a.MapFolderUsed = FolderOf(documentPath.isEmpty() ? path : documentPath);
    // The map is open even when its tileset picture cannot be used; say so afterwards.
    QString tilesetError;
    a.Document.Open(path, [&] { tilesetError = ApplyMapSettings(documentPath.isEmpty() ? path : documentPath); });
    // Anything but one whole record was not written by us: the document asks for a name.
    const bool foreign = a.Document.NeedsName();
    const qint64 size = QFileInfo(path).size();
    if (!tilesetError.isEmpty()) Dialogs().Error(this, tilesetError);
    if (!a.Document.KeyError().isEmpty())
        Dialogs().Error(this, a.Document.KeyError() + QStringLiteral(" The map opens with an empty key."));
    if (foreign)
        Dialogs().Inform(this, QStringLiteral("%1 is not a Quillmarch map (%2 bytes); it was read as one. Save will "
                                              "ask for a new name.")
                                   .arg(QFileInfo(path).fileName())
                                   .arg(size));
}

QString Twinviewform::ApplyMapSettings(const QString& mapPath) {
    TQuillmarch& a = *app_;
    const TMapRecord& map = a.Document.CurrentMap;
    ShowHidden->setChecked(map.ShowHidden != 0);
    ApplyZoom(map.Zoom);
    const std::string name = MapTilesetName(map);
    // The same name is rendered again only when it was not found before and now is.
    const bool same = SameNameIgnoringCase(name, TilesetNameBytes(a.Tileset.CurrentTilesetName));
    if (same && (name.empty() || !a.Tileset.SourcePath.isEmpty())) return {};
    const QString bare = BareTilesetName(TilesetNameText(name));
    const QString found = FindMapTileset(bare, mapPath, a.ProgramDir);
    try {
        // A name found nowhere shows the built-in art and stays in the map for Save.
        if (!same || !found.isEmpty()) LoadTileset(found.isEmpty() ? bare : found);
    } catch (const std::exception& e) {
        return MessageText(e);
    }
    if (found.isEmpty() && !bare.isEmpty())
        StatusBar1->showMessage(QStringLiteral("Tileset %1 not found; showing the built-in tileset").arg(bare));
    return {};
}

bool Twinviewform::SaveMap() {
    TMapDocument& doc = app_->Document;
    if (doc.FileName().isEmpty() || doc.NeedsName()) return SaveMapAs();
    if (doc.FileChangedOnDisk()) {
        const TConfirm answer = AskOverwriteChangedFile(this, doc.DisplayName());
        if (answer == TConfirm::No) return SaveMapAs();
        if (answer != TConfirm::Yes) return false;
    }
    if (!ConfirmKeyReplace(doc.FileName())) return false;
    doc.Save(doc.FileName());
    return true;
}

bool Twinviewform::ConfirmKeyReplace(const QString& path) {
    TMapDocument& doc = app_->Document;
    if (doc.KeyError().isEmpty() || !SameFile(path, doc.FileName())) return true;
    const QString name = QFileInfo(doc.KeyFileName()).fileName();
    if (Dialogs().YesNoCancel(this,
                              QStringLiteral("%1 could not be read; Save will replace it. Save anyway?").arg(name)) !=
        TConfirm::Yes)
        return false;
    doc.AcceptKeyLoss();
    return true;
}

bool Twinviewform::SaveMapAs() {
    TQuillmarch& a = *app_;
    // The map's own name in its folder (or the folder of this run's maps) is proposed.
    const QString& mapFile = a.Document.FileName();
    const QString offered = ProposedSaveFile(mapFile, MapSuffix,
                                             {mapFile.isEmpty() ? QString() : FolderOf(mapFile), a.MapFolderUsed});
    const QString path = Dialogs().SaveFileName(this, QStringLiteral("Save As"), SaveDialogStart(offered), MapFilter,
                                                MapSuffix);
    if (path.isEmpty()) return false;
    a.MapDialogDir = a.MapFolderUsed = FolderOf(path);
    if (SameFile(path, a.Document.FileName()) && a.Document.FileChangedOnDisk()) {
        // Its own file, replaced by someone else meanwhile: the sharper question.
        const TConfirm answer = AskOverwriteChangedFile(this, a.Document.DisplayName());
        if (answer == TConfirm::No) return SaveMapAs();
        if (answer != TConfirm::Yes) return false;
    } else {
        // The key file there is replaced or removed with the map: ask about both.
        QStringList there;
        const QString keyPath = QString::fromStdString(KeyPathFor(PathBytes(path)));
        if (QFileInfo::exists(path)) there << path;
        if (QFileInfo::exists(keyPath)) there << keyPath;
        if (!there.isEmpty() &&
            Dialogs().YesNoCancel(
                this, QStringLiteral("OK to overwrite %1").arg(there.join(QStringLiteral(" and ")))) != TConfirm::Yes)
            return false;
    }
    if (!ConfirmKeyReplace(path)) return false;
    a.Document.Save(path);
    return true;
}

void Twinviewform::SaveExecute() { SaveMap(); }

void Twinviewform::SaveAsExecute() { SaveMapAs(); }

// Closing the window asks about unsaved changes (closeEvent).
void Twinviewform::FileExit1Execute() { close(); }

void Twinviewform::HelpAbout1Execute() {
    if (aboutBox_) aboutBox_->exec();
}

void Twinviewform::Default1Click() { LoadTilesetForMap(QString()); }

void Twinviewform::Custom1Click() {
    if (!paletteForm_) return;
    paletteForm_->SetDirectory(app_->ProgramDir);
    paletteForm_->Reread();
    if (paletteForm_->exec() != QDialog::Accepted) return;
    LoadTilesetForMap(paletteForm_->SelectedPath());
}

// A tileset chosen for the map rewrites its tileset name: that is a change to the map,
// also when the picture then turns out unusable.
void Twinviewform::LoadTilesetForMap(const QString& path) {
    app_->Document.Edit(
        QStringLiteral("Tileset"), [&](TMapRecord&) { LoadTileset(path); }, TSnapshot::Keep);
}

void Twinviewform::TilesetChanged() {
    // The symbol table follows the tileset; a broken side file leaves only the terrain roles.
    const TRenderedTileset& ts = app_->Tileset;
    app_->Symbols = ts.Roles ? *ts.Roles : BuiltInSymbolTable();
    if (!ts.RolesError.empty()) Dialogs().Error(this, MessageText(ts.RolesError));
    RefreshIcons();
    RepaintBoth();
}

void Twinviewform::LoadTileset(const QString& path) {
    TQuillmarch& a = *app_;
    QString error;
    try {
        RenderTileset(a.Tileset, a.Document.CurrentMap, path, a.TileBitmap,
                      splash_ ? splash_->Listener() : TProgressFn());
    } catch (const TTilesetError& e) {
        error = MessageText(e);
    } catch (...) {
        if (splash_) splash_->hide();
        throw;
    }
    if (splash_) {
        splash_->hide();
        // Showing the progress window may have moved activation to it; once the
        // window system has said so, the main window takes it back.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isVisible() && QApplication::activeWindow() != this) activateWindow();
            },
            Qt::QueuedConnection);
    }
    TilesetChanged();
    if (!error.isEmpty()) throw TTilesetError(MessageBytes(error));
}

} // namespace qm
