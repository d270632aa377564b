#include "Render.h"

#include <QFileInfo>
#include <QImage>

#include "export/ExportPicture.h"
#include "model/RecordFile.h"

namespace qm {

namespace {

bool IsFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

void RenderPicture(const TRenderArgs& args, const TMapRecord& map, const TRenderedTileset& ts) {
    TMapRecord shown = map;
    if (args.ShowHidden) shown.ShowHidden = *args.ShowHidden ? 1 : 0;
    const int zoom = args.Zoom ? *args.Zoom : map.Zoom;
    if (zoom < 1)
        throw TRenderError("The map \"" + args.MapPath + "\" has no zoom of its own (0); give --zoom N.");
    ExportMapPicture(args.OutputPath, args.PictureFormat, shown, ts, args.Region ? *args.Region : WholeMapArea, zoom);
}

} // namespace

QString ChooseTilesetFile(const TRenderArgs& args, const TMapRecord& map, const QString& programFolder) {
    if (!args.TilesetPath.empty()) {
        const QString path = QString::fromStdString(args.TilesetPath);
        if (!IsFile(path))
            throw TRenderError("Cannot use tileset \"" + args.TilesetPath + "\". " +
                               (QFileInfo::exists(path) ? "It is not a file." : "No such file."));
        return path;
    }
    const QString name = BareTilesetName(QString::fromLatin1(MapTilesetName(map)));
    if (name.isEmpty()) return QString();
    const QString besideMap = QFileInfo(QString::fromStdString(args.MapPath)).absolutePath() + "/" + name;
    if (IsFile(besideMap)) return besideMap;
    const QString inProgramFolder = programFolder + name;
    if (IsFile(inProgramFolder)) return inProgramFolder;
    return QString();
}

void LoadMapAndTileset(const TRenderArgs& args, const QString& programFolder, TMapRecord& map, TRenderedTileset& ts) {
    ClearMapRecord(map);
    try {
        ReadMapFile(args.MapPath, map);
    } catch (const TFileError& e) {
        throw TRenderError(e.what());
    }
    const QString tileset = ChooseTilesetFile(args, map, programFolder);
    // Rendering rewrites the record's tileset name; the map keeps its own on disk.
    TMapRecord scratch = map;
    QImage tileBitmap;
    try {
        RenderTileset(ts, scratch, tileset, tileBitmap, nullptr);
    } catch (const TTilesetError& e) {
        throw TRenderError("Cannot use tileset \"" + tileset.toStdString() + "\". " + e.what());
    }
}

int RunRender(const TRenderArgs& args, const QString& programFolder, std::ostream& out, std::ostream& err) {
    try {
        TMapRecord map;
        TRenderedTileset ts;
        LoadMapAndTileset(args, programFolder, map, ts);
        if (args.Pdf)
            throw TRenderError("PDF output is not available yet.");
        RenderPicture(args, map, ts);
        out << args.OutputPath << "\n";
        return 0;
    } catch (const std::exception& e) {
        err << "quillmarch-render: " << e.what() << "\n";
        return 1;
    }
}

} // namespace qm
