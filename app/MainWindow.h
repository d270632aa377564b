#pragma once
// The main window: map grid, symbol column, menus, tool bar and status bar, wired to the
// map document and the rules. What a command does is decided by the widget-free parts it
// calls (the map document, the editing rules, the tool uses); a handler here reads the
// controls, calls them and shows the outcome.
#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "app/ApplicationState.h"
#include "compose/KeyLabels.h"
#include "editor/DrawGrid.h"
#include "editor/MapDocument.h"
#include "editor/MapEdit.h"
#include "editor/ToolUse.h"
#include "editor/WhereAmI.h"

class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace qm {

class THistoryDock;
class TKeyDock;
class TGeoEditForm;
struct TGenLevel;
class TMapPageHandler;
class TPaletteForm;
class TPrintOptions;
class TPrintPreview;
class TRecoveryWriter;
class TSplashForm;
class TqmAboutBox;
struct TOrphanCopy;

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
    void SetSplash(TSplashForm* splash) { splash_ = splash; }
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
    TGeoSetActions GeoSetActions() const;
    // The map to open once the first-time set-up is done (a path or file: URL given at
    // start); it goes through the question about unsaved changes as Open does.
    void SetStartFile(const QString& path) { app_->StartFile = path; }

    // Reads a map file as Open does (record, name, caption, view settings, tileset) and
    // makes the opened map the undo copy too, so Undo never brings back another
    // document. A file that is not one whole record long is said to be so, and Save asks
    // for a name. `documentPath`, when the record is read from elsewhere (a recovery
    // copy), names the map it belongs to. A file that cannot be read throws TFileError
    // with the map unchanged.
    void OpenMapFile(const QString& path, const QString& documentPath = {});
    // Picking a symbol in the symbol column: it becomes the map's current symbol and the
    // Draw tool is chosen.
    void SymbolGridSelectCell(int col, int row);
    // Every menu shortcut and mouse gesture, made from the command table (keys as shown,
    // what they do); Help > "Keyboard Shortcuts" lists them.
    QList<QPair<QString, QString>> ShortcutList() const;
    // Recovery copies are written once the work pauses for this long (3 s by default).
    void SetRecoveryDelay(int ms);

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
    // Event handlers and commands, named after their controls; the command table wires them.
    void FormShow();
    void FormActivate();
    void FirstTimeSetup();
    void NewExecute();
    void OpenExecute();
    void SaveExecute();
    void SaveAsExecute();
    void FileExit1Execute();
    void HelpAbout1Execute();
    void KeyboardShortcutsClick();
    void Default1Click();
    void Custom1Click();
    void DrawGrid1DrawCell(QPainter& p, int col, int row, const QRect& rect, bool selected);
    void SymbolGridDrawCell(QPainter& p, int col, int row, const QRect& rect, bool selected);
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
    void SaveGeneratedLevels(std::vector<TGenLevel> levels);
    void GeoNewExecute();
    void GeoOpenExecute();
    void GeoSaveExecute();
    void ExportDiskExecute();
    void ExportDiskTiledExecute();
    void ExportImageClipboardExecute();
    void ExportVttExecute();
    void ExportFoundryExecute();
    void ExportTiledMap1Click();
    void ImportTiledMap1Click();
    // Walking through the map document's steps; History... shows them in a dock.
    void StepBackwardExecute();
    void StepForwardExecute();
    void HistoryClick();
    void RoomItemClick();
    void DoorItemClick();
    void FillItemClick();
    // The map key: the Label tool, the "Key" dock, Delete for the picked label.
    void LabelItemClick();
    void KeyClick();
    void DeleteLabelExecute();
    // File > Open Level Above / Below: the neighbouring level of a stack the key names.
    void OpenLevelAboveClick();
    void OpenLevelBelowClick();
    void OpenLevel(const char* field);
    void UpdateLevelItems();
    // Where the pointer is: the status bar's right-hand panel, Ctrl + wheel zoom and the
    // optional cell lines over the map view; symbol names and type-ahead in the column.
    void DrawGrid1PointerCell(int col, int row);
    void DrawGrid1WheelZoom(int notches, const QPoint& pos);
    void ShowGridLinesClick();
    void SymbolGridPointerCell(int col, int row);
    void SymbolGridTypedText(const QString& text);
    // Finding symbols: the Find Symbol box narrows the column to the symbols its words
    // find (Ctrl+F goes there); Ctrl + click with Draw takes the symbol in a map cell.
    void FindSymbolExecute();
    void FindSymbolChanged(const QString& text);
    void FindSymbolAccepted();
    bool PickSymbolFromMap(int col, int row);
    // The symbol a row of the column shows (-1 none), and the row that shows a symbol (-1
    // while the column is narrowed to others).
    int SymbolAtRow(int row) const;
    int RowOfSymbol(int symbol) const;
    // Selects and shows `symbol` in the column (widening it when narrowed to others) and
    // picks it as a click would.
    void ShowAndPickSymbol(int symbol);

    // Runs a command; a failure is shown to the user and never leaves the event loop.
    void RunCommand(const std::function<void()>& command);
    // Asks "Save changes to <name>?" (Save / Discard / Cancel) when the map is modified.
    // True: the caller may go on (saved, discarded, or nothing to save); false: the user
    // cancelled or the save failed (already reported).
    bool AskSaveChanges();
    // The same question for the GeoSet of the maplet editor.
    bool AskSaveGeoSetChanges();
    bool SaveMap();   // false when cancelled
    bool SaveMapAs(); // false when cancelled
    // A key file that could not be read is replaced only after asking.
    bool ConfirmKeyReplace(const QString& path);
    // Shows the map in memory with its own settings: Show Hidden, zoom, and its tileset
    // when another one is in use (see FindMapTileset; `mapPath` is the map's file).
    // Returns why that tileset could not be loaded, or "".
    QString ApplyMapSettings(const QString& mapPath = {});
    // A map command: one edit of the map document, a step named stepName; the grid is
    // repainted also when nothing changed.
    void EditMapAndKey(const QString& stepName, const std::function<void(TMapRecord&, TMapKey&)>& change);
    void EditMap(const QString& stepName, const std::function<void(TMapRecord&)>& change,
                 TSnapshot snapshot = TSnapshot::Take);
    // Renders a tileset and brings icons and both grids up to date; a picture that
    // cannot be used throws TTilesetError after the view is refreshed.
    void LoadTileset(const QString& path);
    void LoadTilesetForMap(const QString& path);
    // A tileset was rendered elsewhere (a GeoSet brought one): new icons, both grids
    // repainted from scratch.
    void TilesetChanged();
    // The area a picture or tabletop export takes: a selection of more than one cell is
    // asked about ("Selection" / "Whole Map"); false when the user cancelled.
    bool AskExportArea(TGridRect& area);
    // The map as Export Image or Copy Image draws it: the players' copy or the game
    // master's, as the picture copy dialog says; false when cancelled.
    // `labels` is set to the key when its numbers are to be drawn.
    bool AskPictureCopy(const QString& caption, TMapRecord& shown, const TMapKey*& labels);
    // Where an export dialog starts: the map's name with `suffix` in the last export
    // folder of the run, else the map's folder, else the documents folder.
    QString ExportProposal(const QString& suffix) const;
    // Offers the recovery copies left by instances that no longer run (start-up does).
    void OfferRecovery();
    bool RecoverCopy(const TOrphanCopy& copy);
    // The map document changed: caption, recovery copy, repaint.
    void MapDocumentChanged(TDocumentEvent e);
    // The GeoSet document changed: "Generate Random Map", recovery copy.
    void GeoSetDocumentChanged(TGeoSetEvent e);
    // The maplet editor while it shows, else this window.
    QWidget* GeoDialogParent();

    // The tool gesture the controls describe: at the release (the grid's current cell)
    // or for a hint (the cell under the pointer).
    TToolGesture Gesture(Qt::KeyboardModifiers mods, bool atPointer) const;
    TToolContext ToolContext() const;
    TTool CurrentTool() const;
    // Enables the tools the tileset in use has something for; a disabled one says why.
    void UpdateDrawingTools();
    void ShowDrawingToolStatus();
    QString CellPanelText() const;
    QString SymbolName(int symbol) const;
    void ApplyZoom(int size);
    void RepaintMap();
    void RepaintBoth();
    void RefreshIcons();
    void UpdateCaption();
    void UpdateHistory(); // step items enabled, history list current

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
    void CreateDrawingTools();
    void CreateGrids();
    void CreateDocumentCommands();
    void CreateRecovery();
    void CreateHistory();
    void CreateKey();
    // The label becomes the picked one (0: none), in the dock too; `scroll` brings it into view.
    void PickLabel(int number, bool scroll);
    // The Label tool's use at a release; false when another tool is checked.
    bool LabelToolMouseUp();
    QString LabelToolHint() const;
    void DrawCellLabel(QPainter& p, int col, int row, const QRect& rect);
    void KeyChanged();
    void CreateWhereAmI();
    void CreateSymbolNames();
    void CreateFindSymbol();

    // The property that holds the tool icon number of an action, item or button.
    static constexpr const char* ImageProperty = "ImageIndex";

    // Controls, by their designer names (tests find them by these object names); the
    // menus and the actions no code reads are found by name only.
    TDrawGrid* DrawGrid1 = nullptr;
    TDrawGrid* SymbolGrid = nullptr;
    QLineEdit* FindSymbolBox = nullptr; // above SymbolGrid
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
    QToolButton* ButtonRoom = nullptr;
    QToolButton* ButtonDoor = nullptr;
    QToolButton* ButtonFill = nullptr;
    QToolButton* ButtonLabel = nullptr;
    QToolButton* LayerButton = nullptr;
    QButtonGroup* ToolGroup = nullptr;
    QObject* QuillmarchActions = nullptr; // the action list
    QMenu* Tools1 = nullptr;
    QAction* GenerateRandomMap1 = nullptr;
    QAction* ShowHidden = nullptr;
    QAction* ShowGridLines1 = nullptr; // off at start; the screen only
    QAction* StepBackward1 = nullptr;
    QAction* StepForward1 = nullptr;
    QAction* OpenLevelAbove1 = nullptr;
    QAction* OpenLevelBelow1 = nullptr;
    THistoryDock* HistoryDock1 = nullptr;
    TKeyDock* KeyDock1 = nullptr;
    // The print-preview component; its three events run the map page handler.
    std::unique_ptr<TPrintPreview> PrintPreview1;

    // Windows created at start-up beside this one; not owned.
    TqmAboutBox* aboutBox_ = nullptr;
    TSplashForm* splash_ = nullptr;
    TPaletteForm* paletteForm_ = nullptr;
    TPrintOptions* printOptions_ = nullptr;
    TGeoEditForm* geoEditForm_ = nullptr;

    // What the controls are wired to.
    std::unique_ptr<TQuillmarch> app_;
    std::unique_ptr<TRecoveryWriter> recovery_;
    std::unique_ptr<TMapPageHandler> mapPages_;

    // What the controls show.
    int layerImage_ = 16;
    std::vector<QObject*> imaged_; // actions, items and buttons that show a tool icon
    TPointer pointer_;
    TTypeAhead typeAhead_;
    std::vector<int> shownSymbols_; // the symbol column's rows while narrowed
    bool narrowed_ = false;         // else every symbol shows, row = symbol
    QString toolStatus_;            // what the status bar says about the tool under the pointer
    int pickedLabel_ = 0;           // the label the Label tool or the Key dock picked
    TLabelIndex labelIndex_{};      // which label each cell shows
};

} // namespace qm
