// Every way the program writes a file, against a read-only folder, a full disk and a
// disk failing part way: the message names the file and the system's reason, the
// previous file is untouched and nothing else is left in the folder.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <sstream>

#include "export/ExportPicture.h"
#include "geoset/GeoSet.h"
#include "model/GeoSetRecord.h"
#include "model/MapRecord.h"
#include "model/RecordFile.h"
#include "preview/PrintRun.h"
#include "preview/QtPrinter.h"
#include "print/MapPage.h"
#include "render/Render.h"
#include "render/RenderArgs.h"
#include "tests/harden/HardenSupport.h"
#include "tiles/Tileset.h"

using namespace qm;
using qmharden::TSmallDisk;

namespace {

// The whole map on one page through the print run, as quillmarch-render and the
// Print button print to a PDF file.
void PrintPdf(TPrinter& printer, const TMapRecord& map, const TRenderedTileset& ts) {
    SetPrinter(&printer);
    struct Restore {
        ~Restore() { SetPrinter(nullptr); }
    } restore;
    QImage cellBitmap;
    TMapPrintSource src;
    src.Map = &map;
    src.Tileset = &ts;
    src.CellBitmap = &cellBitmap;
    TPageDocument doc;
    TMapPageHandler handler([&src] { return src; });
    handler.Bind(doc);
    RunPrintJob(doc, printer, 1, 999);
}

struct TWriter {
    const char* name;
    const char* target;   // the file name the user chose
    const char* existing; // the file already there that must survive (tiled: the first quarter)
    std::function<void(const std::string& path)> write;
};

class WriteFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ClearMapRecord(map);
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) map.Cell(x, y) = {uint8_t(x + y), uint8_t(x * y % 40), 7};
        ClearGeoSetRecord(geo, "");
        geo.Maplet(3, 4).Cell(5, 6).Upper = 99;
        TMapRecord scratch{};
        QImage tileBitmap;
        RenderTileset(ts, scratch, QString(), tileBitmap);
    }

    static std::vector<TWriter> Writers() {
        auto picture = [](TPictureFormat f) {
            return [f](const std::string& path) { ExportMapPicture(path, f, map, ts, WholeMapArea, 8); };
        };
        return {
            {"map save", "m.map", "m.map", [](const std::string& p) { WriteMapFile(p, map); }},
            {"GeoSet save", "g.geo", "g.geo", [](const std::string& p) { SaveGeoSet(geo, QString::fromStdString(p)); }},
            {"BMP export", "p.bmp", "p.bmp", picture(TPictureFormat::Bmp)},
            {"JPEG export", "p.jpg", "p.jpg", picture(TPictureFormat::Jpeg)},
            {"PNG export", "p.png", "p.png", picture(TPictureFormat::Png)},
            {"tiled export", "t.png", "t-top-left.png",
             [](const std::string& p) {
                 ExportQuarterPictures(QString::fromStdString(p), TPictureFormat::Png, map, ts, 8);
             }},
            {"PDF print (quillmarch-render)", "r.pdf", "r.pdf",
             [](const std::string& p) {
                 TPdfPrinter printer(QString::fromStdString(p));
                 printer.SetResolution(150);
                 PrintPdf(printer, map, ts);
             }},
            {"PDF print (Print button)", "q.pdf", "q.pdf",
             [](const std::string& p) {
                 TQtPrinter printer;
                 printer.SetPdfFile(QString::fromStdString(p));
                 PrintPdf(printer, map, ts);
             }},
        };
    }

    // The message of the error that `write` throws; empty when it succeeded.
    static std::string FailureOf(const TWriter& w, const std::string& path) {
        try {
            w.write(path);
        } catch (const std::runtime_error& e) { // TFileError, or PrintException from a print job
            return e.what();
        }
        return {};
    }

    static void ExpectRefused(const TWriter& w, const std::string& dirPath, const std::string& message,
                              const std::string& reason) {
        // Tiled export names the quarter it was writing.
        const std::string named = w.target == std::string(w.existing) ? dirPath + "/" + w.target
                                                                      : dirPath + "/" + w.existing;
        EXPECT_EQ(message, "Cannot create file \"" + named + "\". " + reason);
    }

    static inline TMapRecord map;
    static inline TGeoSetRecord geo;
    static inline TRenderedTileset ts;
};

const std::vector<unsigned char> Previous = {'o', 'l', 'd', 0, 1, 2};

TEST_F(WriteFaults, ReadOnlyFolder) {
    for (const TWriter& w : Writers()) {
        SCOPED_TRACE(w.name);
        TSmallDisk disk;
        qmtest::WriteAll(disk.File(w.existing), Previous);
        if (!disk.MakeReadOnly()) GTEST_SKIP() << "no read-only folder can be made here: " << disk.Why();
        const auto before = disk.List();
        const std::string message = FailureOf(w, disk.File(w.target));
        ExpectRefused(w, disk.Path(), message, disk.Mounted() ? "Read-only file system" : "Permission denied");
        EXPECT_EQ(qmtest::ReadAll(disk.File(w.existing)), Previous);
        EXPECT_EQ(disk.List(), before);
    }
}

TEST_F(WriteFaults, FullDisk) {
    for (const TWriter& w : Writers()) {
        SCOPED_TRACE(w.name);
        TSmallDisk disk;
        if (!disk.Mounted()) GTEST_SKIP() << "no small disk can be made here: " << disk.Why();
        qmtest::WriteAll(disk.File(w.existing), Previous);
        disk.FillUp();
        const auto before = disk.List();
        const std::string message = FailureOf(w, disk.File(w.target));
        ExpectRefused(w, disk.Path(), message, "No space left on device");
        EXPECT_EQ(qmtest::ReadAll(disk.File(w.existing)), Previous);
        EXPECT_EQ(disk.List(), before);
    }
}

// A PDF job whose disk fails part way: whatever the byte, the job reports it and the old
// file stays.
TEST_F(WriteFaults, PdfFailingPartWay) {
    const std::vector<TWriter> writers = Writers();
    for (const TWriter& w : {writers[writers.size() - 2], writers.back()}) {
        for (long failAfter : {0L, 500L, 20000L}) {
            SCOPED_TRACE(std::string(w.name) + " " + std::to_string(failAfter));
            qmtest::TempDir dir;
            qmtest::WriteAll(dir.File(w.target), Previous);
            SetWriteFailureAfterForTesting(failAfter);
            const std::string message = FailureOf(w, dir.File(w.target));
            SetWriteFailureAfterForTesting(-1);
            EXPECT_EQ(message, "Cannot create file \"" + dir.File(w.target) + "\". Input/output error");
            EXPECT_EQ(qmtest::ReadAll(dir.File(w.target)), Previous);
            EXPECT_EQ(dir.List(), std::vector<std::string>{w.target});
        }
    }
}

// quillmarch-render --scale 1.00 MAP full/x.pdf on a full disk: exit status 1, the reason,
// the old file as it was and nothing else.
TEST_F(WriteFaults, RendererPdfOnAFullDisk) {
    qmtest::TempDir maps;
    WriteMapFile(maps.File("m.map"), map);
    TSmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "no small disk can be made here: " << disk.Why();
    qmtest::WriteAll(disk.File("x.pdf"), Previous);
    disk.FillUp();
    const auto before = disk.List();
    const TRenderParse parsed = ParseRenderArgs(
        {"--scale", "1.00", "--resolution", "100", maps.File("m.map"), disk.File("x.pdf")});
    ASSERT_EQ(parsed.Kind, TRenderParse::Run) << parsed.Message;
    std::ostringstream out, err;
    EXPECT_EQ(RunRender(parsed.Args, QString(), out, err), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "quillmarch-render: Cannot create file \"" + disk.File("x.pdf") + "\". No space left on device\n");
    EXPECT_EQ(qmtest::ReadAll(disk.File("x.pdf")), Previous);
    EXPECT_EQ(disk.List(), before);
}

// A PDF writer that stopped before the end of its file leaves the old file in place.
TEST_F(WriteFaults, UnfinishedPdfIsNotPutInPlace) {
    qmtest::TempDir dir;
    qmtest::WriteAll(dir.File("u.pdf"), Previous);
    {
        TPdfFile pdf(QString::fromStdString(dir.File("u.pdf")));
        pdf.write("%PDF-1.4\n1 0 obj\n");
        try {
            pdf.Commit();
            ADD_FAILURE() << "an unfinished PDF was committed";
        } catch (const PrintException& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot create file \"" + dir.File("u.pdf") + "\". The PDF was not finished.");
        }
    }
    EXPECT_EQ(qmtest::ReadAll(dir.File("u.pdf")), Previous);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"u.pdf"});
}

// The writers' own tests fail single files part way; the tiled export writes four, and
// a failure in any of them must leave none of the four behind.
TEST_F(WriteFaults, TiledExportFailingPartWay) {
    for (long failAfter : {0L, 500L, 20000L}) {
        SCOPED_TRACE(failAfter);
        qmtest::TempDir dir;
        qmtest::WriteAll(dir.File("t-top-left.png"), Previous);
        SetWriteFailureAfterForTesting(failAfter);
        const std::string message = FailureOf(Writers()[5], dir.File("t.png"));
        SetWriteFailureAfterForTesting(-1);
        EXPECT_EQ(message, "Cannot create file \"" + dir.File("t-top-left.png") + "\". Input/output error");
        EXPECT_EQ(qmtest::ReadAll(dir.File("t-top-left.png")), Previous);
        EXPECT_EQ(dir.List(), std::vector<std::string>{"t-top-left.png"});
    }
}

} // namespace
