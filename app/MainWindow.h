#pragma once
// The main window: map grid, symbol column, menus, tool bar and the map commands.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include <QElapsedTimer>
#include <QTimer>

#include "app/ApplicationState.h"
#include "app/Recovery.h"
#include "editor/DrawGrid.h"
#include "editor/MapEdit.h"
#include "geoset/GeoSet.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QMenu;
class QToolBar;
class QToolButton;
class QStatusBar;
class QLabel;

namespace qm {

// The folder a file dialog starts in after `path` was chosen: its folder, ending in '/'.
QString FolderOf(const QString& path);

class TqmAboutBox;
class TSplashForm;
class TPaletteForm;
class TPrintOptions;
class TPrintPreview;
struct TGenerateOptions;
class TMapPageHandler;
class TGeoEditForm;

class Twinviewform : public QMainWindow {
    Q_OBJECT
public:
    // programDir: the program folder with its trailing separator; empty = the executable's.
    explicit Twinviewform(const QString& programDir = {}, QWidget* parent = nullptr);
    ~Twinviewform() override;

    TQuillmarch& State() { return *app_; }
    const TQuillmarch& State() const { return *app_; }

    // Windows created after this one at start-up; not owned.
    void SetAboutBox(TqmAboutBox* box) { aboutBox_ = box; }
    void SetSplash(TSplashForm* splash);
    void SetPaletteForm(TPaletteForm* form) { paletteForm_ = form; }
    void SetPrintOptions(TPrintOptions* dialog) { printOptions_ = dialog; }
    void SetGeoEditForm(TGeoEditForm* form) { geoEditForm_ = form; }
    // What the GeoSet commands and the maplet editor work on.
    TGeoSetContext& GeoContext() { return geoCtx_; }
    // The GeoSet commands the maplet editor's tool bar runs too.
    struct TGeoSetActions {
        QAction* New;
        QAction* Open;
        QAction* Save;
    };
    TGeoSetActions GeoSetActions() const { return {GeoNew, GeoOpen, GeoSave}; }

    // Runs a command; a failure is shown to the user and never leaves the event loop.
    void RunCommand(const std::function<void()>& command);

    // Event handlers and commands, named after their controls.
    void FormShow();
    void FormActivate();
    void FirstTimeSetup();
    void NewExecute();
    void OpenExecute();
    void SaveExecute();
    void SaveAsExecute();
    void FileExit1Execute();
    void HelpAbout1Execute();
    void Default1Click();
    void Custom1Click();
    void DrawGrid1DrawCell(QPainter& p, int col, int row, const QRect& rect, bool selected);
    void SymbolGridDrawCell(QPainter& p, int col, int row, const QRect& rect, bool selected);
    void SymbolGridSelectCell(int col, int row);
    // Shift held at the release: a smart tool stamps along the whole dragged rectangle.
    void DrawGrid1MouseUp(Qt::KeyboardModifiers mods = {});
    void LayerButtonClick();
    void ZoomInExecute();
    void ZoomOutExecute();
    void ShowHiddenClick();
    void SetBackground1Click();
    void CutExecute();
    void CopyExecute();
    void PasteExecute();
    void UndoExecute();
    void PrintExecute();
    void PrintSetupExecute();
    void GeoSet1Click();
    void GenerateRandomMap1Click();
    void RandomMaplet1Click();
    // File > Generate Map...: the dialog, then the generated map as one undoable change.
    void GenerateMap1Click();
    void ApplyGeneratedMap(const TGenerateOptions& options);
    void GeoNewExecute();
    void GeoOpenExecute();
    void GeoSaveExecute();
    void ExportDiskExecute();
    void ExportDiskTiledExecute();
    void ExportImageClipboardExecute();
    void ExportVttExecute();

    // Asks "Save changes to <name>?" (Save / Discard / Cancel) when the map is modified.
    // True: the caller may go on (saved, discarded, or nothing to save); false: the user
    // cancelled or the save failed (already reported).
    bool AskSaveChanges();
    // The same question for the GeoSet of the maplet editor.
    bool AskSaveGeoSetChanges();
    // Reads a map file as Open does (record, name, caption, view settings, tileset) and
    // makes the opened map the undo copy too, so Undo never brings back another
    // document. Asks nothing. A file that cannot be read throws TFileError with the map
    // unchanged.
    void OpenMapFile(const QString& path);
    // Shows the map in memory with its own settings: Show Hidden, zoom, and its tileset
    // when another one is in use. Returns why that tileset could not be loaded, or "".
    QString ApplyMapSettings();
    // Every command that changes the map record calls this once it has: the map is
    // marked modified, its recovery copy scheduled and the map grid repainted.
    void MapChanged();
    // The maplet editor changed the GeoSet: marked modified, recovery copy scheduled.
    void GeoSetChanged();
    // Offers the recovery copies left by instances that no longer run (start-up does).
    void OfferRecovery();
    // Recovery copies of this instance; written once the work pauses for the recovery delay
    // (3 s; SetRecoveryDelay changes it), at the latest four delays after the first change.
    TRecoveryStore& Recovery() { return *recovery_; }
    void SetRecoveryDelay(int ms) { recoveryTimer_.setInterval(ms); }
    // Hands the copies of whatever is modified now to the recovery writer; a failure
    // shows in the status bar.
    void WriteRecoveryCopies();
    void ExportTiledMap1Click();
    void ImportTiledMap1Click();

    // Where the pointer is: the status bar's right-hand panel, Ctrl + wheel zoom and the
    // optional cell lines over the map view.
    void DrawGrid1PointerCell(int col, int row);
    void DrawGrid1WheelZoom(int notches, const QPoint& pos);
    void ShowGridLinesClick();
    // The right-hand panel's text: "Col C, Row R" (1-based), and the selection's size
    // while a drag is under way.
    QString CellPanelText() const;

    // Symbol names: tool tips and type-ahead in the symbol column, the name under the
    // pointer in the status bar's right-hand panel.
    QString SymbolName(int symbol) const;
    void SymbolGridPointerCell(int col, int row);
    void SymbolGridTypedText(const QString& text);

    // Opening from outside (a path or file: URL given at start, a file dropped on the
    // window) goes through AskSaveChanges and OpenMapFile as Open does.
    // The map to open once the first-time set-up is done; empty for none.
    void SetStartFile(const QString& path) { startFile_ = path; }

    // Renders a tileset and brings icons and both grids up to date; a picture that
    // cannot be used throws TTilesetError after the view is refreshed.
    void LoadTileset(const QString& path);
    // A tileset was rendered elsewhere (a GeoSet brought one): new icons, both grids
    // repainted from scratch.
    void TilesetChanged();
    // Repaints the whole map grid after the map record changed.
    void RepaintMap();
    // Enables or disables "Generate Random Map" (cleared or loaded GeoSet).
    void SetGenerateRandomMapEnabled(bool on);

    // The image of the layer button: 16 automatic, 14 upper, 15 lower.
    int LayerImage() const { return layerImage_; }
    // The tool icon number an action, menu item or button shows, or -1.
    static int ImageIndexOf(const QObject* o);

protected:
    bool event(QEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void showEvent(QShowEvent* e) override;
    // Closing asks about unsaved changes first; a clean exit removes the recovery copies.
    void closeEvent(QCloseEvent* e) override;

private:
    // Controls, by their designer names (tests find them by these object names).
    TDrawGrid* DrawGrid1 = nullptr;
    TDrawGrid* SymbolGrid = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* CellPanel = nullptr; // right-hand section of the status bar
    QWidget* Panel1 = nullptr;

    QToolButton* ToolButton28 = nullptr;
    QToolButton* ButtonDraw = nullptr;
    QToolButton* ButtonErase = nullptr;
    QToolButton* ButtonWall = nullptr;
    QToolButton* ButtonWater = nullptr;
    QToolButton* ButtonFire = nullptr;
    QToolButton* ButtonHole = nullptr;
    QToolButton* ButtonSlime = nullptr;
    QToolButton* ButtonForest = nullptr;
    QToolButton* ButtonMountain = nullptr;
    QToolButton* ButtonDesert = nullptr;
    QToolButton* LayerButton = nullptr;
    QButtonGroup* ToolGroup = nullptr;

    // The print-preview component; its three events run the map page handler.
    std::unique_ptr<TPrintPreview> PrintPreview1;

    // The action list QuillmarchActions.
    QObject* QuillmarchActions = nullptr;
    QAction* New = nullptr;
    QAction* Open = nullptr;
    QAction* Save = nullptr;
    QAction* SaveAs = nullptr;
    QAction* Print = nullptr;
    QAction* PrintSetup = nullptr;
    QAction* ZoomIn = nullptr;
    QAction* ZoomOut = nullptr;
    QAction* Cut = nullptr;
    QAction* Copy = nullptr;
    QAction* Paste = nullptr;
    QAction* Undo = nullptr;
    QAction* GeoNew = nullptr;
    QAction* GeoOpen = nullptr;
    QAction* GeoSave = nullptr;
    QAction* ExportDisk = nullptr;
    QAction* ExportClipboard = nullptr;
    QAction* ExportDiskTiled = nullptr;
    QAction* ExportVtt = nullptr;

    // Menus and their items.
    QMenu* File1 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* Options1 = nullptr;
    QMenu* Help1 = nullptr;
    QMenu* Tileset1 = nullptr;
    QAction* Default1 = nullptr;
    QAction* Custom1 = nullptr;
    QAction* Geoset1 = nullptr;
    QAction* GenerateRandomMap1 = nullptr;
    QAction* GenerateMap1 = nullptr;
    QAction* ExportTiledMap1 = nullptr;
    QAction* ImportTiledMap1 = nullptr;
    QAction* FileExitItem = nullptr;
    QAction* ShowHidden = nullptr;
    QAction* RandomMaplet1 = nullptr;
    QAction* SetBackground1 = nullptr;
    QAction* ShowGridLines1 = nullptr; // off at start; the screen only
    QAction* HelpAboutItem = nullptr;

    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateGrids();
    void CreateDocumentCommands();
    void CreateRecovery();
    void AddTiledMapItems(QMenu* file);
    void AddGenerateMapItem(QMenu* file);
    QAction* MakeAction(const char* name, const QString& caption, int image, const QString& hint);
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QString& shortcut,
                     const QString& hint, QAction* action);
    QToolButton* AddButton(const char* name, QAction* action, int image, const QString& hint, bool tool);
    void AddSeparator(const char* name);
    void RefreshIcons();
    void UpdateCaption();
    void LoadTilesetForMap(const QString& path);
    QString MapDisplayName() const;
    bool SaveMap();   // false when cancelled
    bool SaveMapAs(); // false when cancelled
    void MarkMapClean(bool needsName = false);
    void MarkGeoSetClean();
    void ScheduleRecovery();
    bool RecoverCopy(const TOrphanCopy& copy);
    void ApplyZoom(int size);
    void RepaintBoth();
    void WriteMapTo(const QString& path);
    TTool CurrentTool() const;

    std::unique_ptr<TQuillmarch> app_;
    std::unique_ptr<TRecoveryStore> recovery_;
    QTimer recoveryTimer_;
    QElapsedTimer recoveryPending_; // since the first change not yet in a copy
    TqmAboutBox* aboutBox_ = nullptr;
    TSplashForm* splash_ = nullptr;
    TPaletteForm* paletteForm_ = nullptr;
    TPrintOptions* printOptions_ = nullptr;
    TGeoEditForm* geoEditForm_ = nullptr;
    std::unique_ptr<TMapPageHandler> mapPages_;
    TGeoSetContext geoCtx_;
    int layerImage_ = 16;
    std::vector<QObject*> imaged_; // actions, items and buttons that show a tool icon

    void CreateWhereAmI();
    void CreateSymbolNames();
    int symbolPointer_ = -1;                // symbol column row under the pointer, -1 none
    QString typedAhead_;                    // letters typed in the symbol column lately
    qint64 typedAt_ = -1;                   // when the last of them came, ms since the epoch
    int pointerCol_ = -1, pointerRow_ = -1; // 0-based cell under the pointer, -1 none
    bool dragging_ = false;                 // a selection drag on the map grid is under way
    QString startFile_;
};

} // namespace qm
