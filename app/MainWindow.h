#pragma once
// The main window: map grid, symbol column, menus, tool bar and the map commands.
#include <QElapsedTimer>
#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "app/ApplicationState.h"
#include "app/Recovery.h"
#include "editor/DrawGrid.h"
#include "editor/MapDocument.h"
#include "editor/MapEdit.h"
#include "geoset/GeoSet.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace qm {

// The folder a file dialog starts in after `path` was chosen: its folder, ending in '/'.
QString FolderOf(const QString& path);
// The user's own tilesets: $XDG_DATA_HOME/Quillmarch/tilesets/.
QString UserTilesetFolder();
// Where a map's tileset `name` (a bare file name) is: the working folder, the folder of
// the map file `mapPath`, the program folder, then the user's tileset folder. "" when
// none has it.
QString FindMapTileset(const QString& name, const QString& mapPath, const QString& programDir);

class TqmAboutBox;
class TSplashForm;
class TPaletteForm;
class TPrintOptions;
class TPrintPreview;
struct TGenerateOptions;
class TMapPageHandler;
class TGeoEditForm;
class THistoryDock;

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
    TGeoSetDocument& GeoSetDocument() { return app_->GeoSetDocument; }
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
    // Help > "Keyboard Shortcuts": every menu shortcut and mouse gesture, made from the
    // command table (keys as shown, what they do).
    void KeyboardShortcutsClick();
    QList<QPair<QString, QString>> ShortcutList() const;
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
    // document. A file that is not one whole record long is said to be so, and Save asks
    // for a name. `documentPath`, when the record is read from elsewhere (a recovery
    // copy), names the map it belongs to. A file that cannot be read throws TFileError
    // with the map unchanged.
    void OpenMapFile(const QString& path, const QString& documentPath = {});
    // Shows the map in memory with its own settings: Show Hidden, zoom, and its tileset
    // when another one is in use (see FindMapTileset; `mapPath` is the map's file).
    // Returns why that tileset could not be loaded, or "".
    QString ApplyMapSettings(const QString& mapPath = {});
    // A map command: one edit of the map document, a step named stepName; the grid is
    // repainted also when nothing changed.
    void EditMap(const QString& stepName, const std::function<void(TMapRecord&)>& change,
                 TSnapshot snapshot = TSnapshot::Take);
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
    // Walking through the map document's steps; History... shows them in a dock.
    void StepBackwardExecute();
    void StepForwardExecute();
    void HistoryClick();

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
    // The property that holds the tool icon number of an action, item or button.
    static constexpr const char* ImageProperty = "ImageIndex";

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
    QAction* StepBackward1 = nullptr;
    QAction* StepForward1 = nullptr;
    QAction* History1 = nullptr;
    THistoryDock* HistoryDock1 = nullptr;

    // The drawing tools beside the eleven: Room, Door and Fill buttons and their "Tools"
    // menu; smart erase is Alt with a smart tool. Each use is one step of its tool's name.
    QToolButton* ButtonRoom = nullptr;
    QToolButton* ButtonDoor = nullptr;
    QToolButton* ButtonFill = nullptr;
    QMenu* Tools1 = nullptr;
    QString toolStatus_; // what the status bar says about the tool under the pointer
    // Icons and status of the Room, Door and Fill buttons the tables made.
    void CreateDrawingTools();
    void RoomItemClick();
    void DoorItemClick();
    void FillItemClick();
    // Enables the tools the tileset in use has something for; a disabled one says why.
    void UpdateDrawingTools();
    // Runs a drawing tool or smart erase on the mouse release; false when none is meant.
    bool DrawingToolMouseUp(Qt::KeyboardModifiers mods);
    QString DrawingToolStatus() const;
    void ShowDrawingToolStatus();
    // The change as one step: undo snapshot first, the map marked modified when it changed.
    bool ApplyToolStep(const QString& step, const std::function<bool(TMapRecord&)>& change);
    void RoomToolUse(const TGridRect& sel, bool keepInside);
    void DoorToolUse(int col, int row);
    void FillToolUse(int col, int row, const TGridRect& sel);
    void SmartEraseUse(const TGridRect& sel, int base);

    // One row of the command table: a menu, a separator ("-"), or a command that is a
    // menu item, an entry of the action list, or both (the item then runs the action).
    struct TCommandRow {
        enum : unsigned { Menu = 1, Checkable = 2, Checked = 4, Disabled = 8 };
        const char* menu = "";   // the menu it goes in; "" = the menu bar (menus), none (actions)
        const char* item = "";   // object name of the menu item or menu; "" = action list only
        const char* action = ""; // object name in the action list; "" = none
        const char* caption = "";
        const char* shortcut = "";
        const char* hint = "";
        int image = -1; // tool icon, -1 none
        void (Twinviewform::*run)() = nullptr;
        QAction* Twinviewform::*keep = nullptr; // the member that holds the action, else the item
        unsigned flags = 0;
    };
    // A mouse gesture or key beyond the menus, for the shortcut list.
    struct TGestureRow {
        const char* keys;
        const char* what;
    };
    // A tool bar button showing an action of the list, or a tool; neither = a gap.
    struct TButtonRow {
        const char* name;
        const char* action = nullptr;
        int image = -1;
        const char* hint = "";
        QToolButton* Twinviewform::*keep = nullptr;
        bool tool = true; // a button without an action joins the tool group
    };
    static std::span<const TCommandRow> CommandRows();
    static std::span<const TGestureRow> GestureRows();
    static std::span<const TButtonRow> ButtonRows();
    void CreateCommands();
    QAction* AddCommand(const TCommandRow& row);
    QAction* AddMenuEntry(const TCommandRow& row, QAction* action);
    void SetImage(QAction* a, int image);
    void Wire(QAction* a, void (Twinviewform::*run)());
    void CreateToolBar();
    void AddButtons();
    void CreateGrids();
    void CreateDocumentCommands();
    void CreateRecovery();
    void CreateHistory();
    void UpdateHistory(); // step items enabled, history list current
    void RefreshIcons();
    void UpdateCaption();
    // The map document changed: caption, recovery copy, repaint.
    void MapDocumentChanged(TDocumentEvent e);
    void LoadTilesetForMap(const QString& path);
    bool SaveMap();   // false when cancelled
    bool SaveMapAs(); // false when cancelled
    // The GeoSet document changed: "Generate Random Map", recovery copy.
    void GeoSetDocumentChanged(TGeoSetEvent e);
    // The maplet editor while it shows, else this window.
    QWidget* GeoDialogParent();
    void ScheduleRecovery();
    // The area a picture or tabletop export takes: a selection of more than one cell is
    // asked about ("Selection" / "Whole Map"); false when the user cancelled.
    bool AskExportArea(TGridRect& area);
    bool RecoverCopy(const TOrphanCopy& copy);
    void ApplyZoom(int size);
    void RepaintBoth();
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
