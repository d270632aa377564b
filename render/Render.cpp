#include "render/Render.h"

#include <QFileInfo>
#include <QImage>
#include <QPageLayout>

#include "base/Encoding.h"
#include "export/ExportPicture.h"
#include "export/FoundryScene.h"
#include "export/VttExport.h"
#include "model/RecordFile.h"
#include "preview/PrintRun.h"
#include "preview/Printer.h"
#include "print/BattleMat.h"
#include "print/MapPage.h"
#include "tiles/TilesetLookup.h"

namespace qm {

namespace {

bool IsFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

void RenderPicture(const TRenderArgs& args, const TMapRecord& map, const TRenderedTileset& ts, const TMapKey* key) {
    TMapRecord shown = map;
    if (args.ShowHidden) shown.ShowHidden = *args.ShowHidden ? 1 : 0;
    const int zoom = args.Zoom ? *args.Zoom : map.Zoom;
    if (zoom < 1) throw TRenderError("The map \"" + args.MapPath + "\" has no zoom of its own (0); give --zoom N.");
    ExportMapPicture(args.OutputPath, args.PictureFormat, shown, ts, args.Region ? *args.Region : WholeMapArea, zoom,
                     {}, args.Rock, args.Labels ? key : nullptr);
}

void RenderVtt(const TRenderArgs& args, const TMapRecord& map, const TRenderedTileset& ts, const TMapKey* key) {
    // Walls and doors come from the roles table: without it there is nothing to export.
    if (!ts.RolesError.empty()) throw std::runtime_error(ts.RolesError);
    const SymbolTable& symbols = *ts.Roles;
    TVttOptions options;
    options.PixelsPerCell = args.PixelsPerGrid;
    options.Target = args.VttTarget;
    options.IncludeHidden = args.ShowHidden.value_or(false);
    options.Rock = args.Rock;
    options.RoomNumbers = args.Labels;
    options.Key = key;
    ExportVttMap(args.OutputPath, map, ts, symbols, args.Region ? *args.Region : WholeMapArea, options);
}

// The scene's name is the map's, not the output file's.
void RenderFoundry(const TRenderArgs& args, const TMapRecord& map, const TRenderedTileset& ts, const TMapKey* key) {
    if (!ts.RolesError.empty()) throw std::runtime_error(ts.RolesError);
    TFoundryOptions options;
    options.PixelsPerCell = args.PixelsPerGrid;
    options.IncludeHidden = args.ShowHidden.value_or(false);
    options.PictureFolder = args.FoundryFolder;
    const std::string& from = args.MapPath;
    const size_t slash = from.find_last_of('/');
    options.Name = from.substr(slash == std::string::npos ? 0 : slash + 1);
    if (const size_t dot = options.Name.find_last_of('.'); dot != std::string::npos && dot > 0)
        options.Name.resize(dot);
    // The key's entries become map notes, for the game master's eyes only.
    if (key) options.Notes = FoundryNotes(*key);
    ExportFoundryScene(args.OutputPath, map, ts, *ts.Roles, args.Region ? *args.Region : WholeMapArea, options);
}

void RenderPdf(const TRenderArgs& args, const TMapRecord& map, const TRenderedTileset& ts, const TMapKey* key) {
    const QString out = PathFromBytes(args.OutputPath);
    // Found out before a single page is drawn rather than when the file is put in place.
    if (QFileInfo(out).isDir()) throw TFileError(CannotCreateMessage(args.OutputPath, "Is a directory"));
    TPdfPrinter printer(out);
    printer.SetResolution(args.Resolution);
    const QPageSize paper(args.Paper == TRenderPaper::A4      ? QPageSize::A4
                          : args.Paper == TRenderPaper::Legal ? QPageSize::Legal
                                                              : QPageSize::Letter);
    // The same quarter inch of unprintable edge the program's printer has.
    printer.SetPageLayout(
        QPageLayout(paper, QPageLayout::Portrait, QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    QImage cellBitmap;
    TMapPrintSource src;
    src.Map = &map;
    src.Tileset = &ts;
    src.CellBitmap = &cellBitmap;
    src.MapFileName = PathFromBytes(args.MapPath);
    src.Settings = args.Print;
    src.Selection = args.PrintArea;
    src.Key = key;

    const QSize sheet = printer.PhysicalPageSize();
    if (!SourceLayout(src, TPrintedMap(&map, src.Settings.Mat.Hidden).Map(), sheet.width(), sheet.height(),
                      printer.XRes(), printer.YRes()))
        throw TRenderError("Nothing is drawn in the print area of the map \"" + args.MapPath +
                           "\": there is nothing to print.");

    TPageDocument doc;
    TMapPageHandler handler([&src] { return src; });
    handler.Bind(doc);
    RunPrintJob(doc, printer, args.FromPage, args.ToPage); // its exceptions carry messages fit to show as they are
    if (!QFileInfo(out).isFile())
        throw TRenderError("Cannot create file \"" + args.OutputPath + "\". Nothing was printed.");
}

} // namespace

QString ChooseTilesetFile(const TRenderArgs& args, const TMapRecord& map, const QString& programFolder) {
    if (!args.TilesetPath.empty()) {
        const QString path = PathFromBytes(args.TilesetPath);
        if (!IsFile(path))
            throw TRenderError("Cannot use tileset \"" + args.TilesetPath + "\". " +
                               (QFileInfo::exists(path) ? "It is not a file." : "No such file."));
        return path;
    }
    const QString name = BareTilesetName(TilesetNameText(MapTilesetName(map)));
    if (name.isEmpty()) return QString();
    const QString besideMap = QFileInfo(PathFromBytes(args.MapPath)).absolutePath() + "/" + name;
    if (IsFile(besideMap)) return besideMap;
    const QString inProgramFolder = programFolder + name;
    if (IsFile(inProgramFolder)) return inProgramFolder;
    const QString inUserFolder = UserTilesetFolder() + name; // where the program finds it too
    if (IsFile(inUserFolder)) return inUserFolder;
    return QString();
}

SymbolTable RolesOrTerrainOnly(const TRenderedTileset& ts, std::ostream& err) {
    if (!ts.RolesError.empty()) err << "quillmarch-render: " << ts.RolesError << "\n";
    return ts.Roles ? *ts.Roles : TerrainSymbolTable();
}

void LoadMapAndTileset(const TRenderArgs& args, const QString& programFolder, TMapRecord& map, TRenderedTileset& ts) {
    ClearMapRecord(map);
    uint64_t length = 0;
    try {
        ReadRecordPrefix(args.MapPath, &map, sizeof map, length);
    } catch (const TFileError& e) {
        throw TRenderError(e.what());
    }
    // Nobody is there to read a notice: a file that is not one map record ends the run.
    if (length != sizeof map && !args.AcceptAnySize)
        throw TRenderError(NotARecordMessage(args.MapPath, "map", length) +
                           "; give --accept-any-size to read it anyway.");
    const QString tileset = ChooseTilesetFile(args, map, programFolder);
    // Rendering rewrites the record's tileset name; the map keeps its own on disk.
    TMapRecord scratch = map;
    QImage tileBitmap;
    try {
        RenderTileset(ts, scratch, tileset, tileBitmap, nullptr);
    } catch (const TTilesetError& e) {
        throw TRenderError(e.what()); // names the file and the reason
    }
}

TMapKey LoadKeyFor(const TRenderArgs& args) {
    if (!args.Labels && !args.Print.KeyPages && args.Job != TRenderJob::Foundry) return {};
    try {
        return ReadKeyFile(KeyPathFor(args.MapPath));
    } catch (const TFileError& e) {
        throw TRenderError(e.what());
    }
}

void WriteRendered(const TRenderArgs& args, const TMapRecord& map, const TRenderedTileset& ts, const TMapKey* key) {
    if (args.Job == TRenderJob::Pdf) RenderPdf(args, map, ts, key);
    else if (args.Job == TRenderJob::Vtt) RenderVtt(args, map, ts, key);
    else if (args.Job == TRenderJob::Foundry) RenderFoundry(args, map, ts, key);
    else RenderPicture(args, map, ts, key);
}

void PrintWritten(const TRenderArgs& args, std::ostream& out) {
    out << args.OutputPath << "\n";
    if (args.Job == TRenderJob::Foundry) out << FoundryPicturePath(args.OutputPath) << "\n";
}

int RunRender(const TRenderArgs& args, const QString& programFolder, std::ostream& out, std::ostream& err) {
    try {
        if (args.Generate) {
            RunGenerated(args, out, err);
            return 0;
        }
        if (args.Job == TRenderJob::TiledExport || args.Job == TRenderJob::TiledImport) {
            RunTiledJob(args, programFolder, out, err);
            return 0;
        }
        TMapRecord map;
        TRenderedTileset ts;
        LoadMapAndTileset(args, programFolder, map, ts);
        const TMapKey key = LoadKeyFor(args);
        WriteRendered(args, map, ts, &key);
        PrintWritten(args, out);
        return 0;
    } catch (const std::exception& e) {
        err << "quillmarch-render: " << e.what() << "\n";
        return 1;
    }
}

} // namespace qm
