// Prints a map at 1.00" per cell through a real CUPS server into a cups-pdf queue and
// measures the cell pitch on the rasterised result. Needs root (cupsd and the cups-pdf
// backend run as root); skips with a message otherwise.
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dialogs/Dialogs.h"
#include "preview/PrintPreview.h"
#include "preview/Printer.h"
#include "preview/QtPrinter.h"
#include "print/MapPage.h"
#include "tests/TestSupport.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/ScriptedDialogs.h"

using namespace qm;

namespace {

const char* const Cupsd = "/usr/sbin/cupsd";
const char* const CupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";
const char* const CupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

bool RunTool(const QString& program, const QStringList& args, QString* out = nullptr, int ms = 30000) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished(2000);
        return false;
    }
    if (out) *out = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Where cups-pdf puts a job of this user: its "Out" setting, ${HOME}/PDF on Debian.
QString CupsPdfOutDir() {
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : conf.readAll().split('\n')) {
            const QString l = QString::fromLocal8Bit(line).trimmed();
            if (l.startsWith(QLatin1String("Out "))) out = l.mid(4).trimmed();
        }
    }
    const passwd* pw = getpwuid(geteuid());
    out.replace(QLatin1String("${HOME}"), pw ? QString::fromLocal8Bit(pw->pw_dir) : QDir::homePath());
    out.replace(QLatin1String("${USER}"), pw ? QString::fromLocal8Bit(pw->pw_name) : QStringLiteral("root"));
    return out;
}

// A cupsd of its own, with its configuration, spool and socket in a temporary folder.
class TPrivateCups {
public:
    explicit TPrivateCups(const std::string& dir) : dir_(QString::fromStdString(dir)) {}
    ~TPrivateCups() {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(10000)) {
                cupsd_.kill();
                cupsd_.waitForFinished(5000);
            }
        }
    }
    QString Socket() const { return dir_ + "/cups.sock"; }
    QString Dir() const { return dir_; }

    // Empty on success, else what went wrong.
    QString Start() {
        for (const char* sub : {"spool", "tmp", "cache", "state"}) QDir(dir_).mkpath(QString::fromLatin1(sub));
        // The filters run as the lp user and write their temporary files here.
        chmod((dir_ + "/tmp").toLocal8Bit().constData(), 01777);
        QFile::setPermissions(dir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        Write("cups-files.conf", QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\n"
                                                "CacheDir %1/cache\nStateDir %1/state\nErrorLog %1/error_log\n"
                                                "AccessLog %1/access_log\nPageLog %1/page_log\n"
                                                "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\nSystemGroup root\n")
                                     .arg(dir_));
        Write("cupsd.conf", QStringLiteral("Listen %1\nLogLevel debug\nWebInterface No\nBrowsing Off\n"
                                           "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                                           "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                           "    Allow all\n  </Limit>\n</Policy>\n")
                                .arg(Socket()));
        cupsd_.setProcessChannelMode(QProcess::MergedChannels);
        cupsd_.start(QString::fromLatin1(Cupsd), {"-f", "-c", dir_ + "/cupsd.conf", "-s", dir_ + "/cups-files.conf"});
        if (!cupsd_.waitForStarted(10000)) return QStringLiteral("cupsd did not start");
        QElapsedTimer t;
        t.start();
        while (!QFileInfo::exists(Socket())) {
            if (t.elapsed() > 15000 || cupsd_.state() == QProcess::NotRunning)
                return QStringLiteral("cupsd opened no socket: ") + QString::fromLocal8Bit(cupsd_.readAll());
            QThread::msleep(100);
        }
        // Like a real printer: Letter under the name Qt asks for (AnsiA), a quarter inch it
        // cannot print on around it, and the queue set to fit every job into what it can print.
        QFile ppd(QString::fromLatin1(CupsPdfPpd));
        if (!ppd.open(QIODevice::ReadOnly)) return QStringLiteral("cannot read ") + CupsPdfPpd;
        QByteArray text = ppd.readAll();
        const QByteArray full = "*ImageableArea Letter/US Letter: \"0 0 612 792\"";
        if (!text.contains(full)) return QStringLiteral("no Letter paper in ") + CupsPdfPpd;
        text.replace(full, "*ImageableArea Letter/US Letter: \"18 18 594 774\"");
        text.replace("Letter/US Letter", "AnsiA/US Letter");
        Write("margins.ppd", QString::fromLatin1(text));
        QString out;
        if (!RunTool("/usr/sbin/lpadmin",
                     {"-h", Socket(), "-p", "QmPdf", "-E", "-v", "cups-pdf:/", "-P", dir_ + "/margins.ppd", "-o",
                      "print-scaling-default=fit"},
                     &out))
            return QStringLiteral("lpadmin failed: ") + out;
        return {};
    }

    // True once no job is pending, within `ms`; `pending` says what was left.
    bool WaitIdle(int ms, QString& pending) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            if (RunTool("/usr/bin/lpstat", {"-h", Socket(), "-o"}, &pending, 10000) && pending.trimmed().isEmpty())
                return true;
            QThread::msleep(250);
        }
        return false;
    }

    // The log lines about jobs.
    std::string JobLog() const {
        std::string out;
        for (const QByteArray& line : ErrorLog().split('\n'))
            if (line.contains("[Job ")) out += line.left(300).toStdString() + "\n";
        return out.size() > 6000 ? out.substr(out.size() - 6000) : out;
    }

    QByteArray ErrorLog() const {
        QFile f(dir_ + "/error_log");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    void Write(const char* name, const QString& text) {
        QFile f(dir_ + "/" + QString::fromLatin1(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(text.toLocal8Bit());
    }
    QString dir_;
    QProcess cupsd_;
};

// Centres of the dark runs along row y.
std::vector<double> DarkRuns(const QImage& im, int y) {
    std::vector<double> centres;
    int start = -1;
    for (int x = 0; x <= im.width(); ++x) {
        const bool dark = x < im.width() && qGray(im.pixel(x, y)) < 128;
        if (dark && start < 0) start = x;
        if (!dark && start >= 0) {
            centres.push_back((start + x - 1) / 2.0);
            start = -1;
        }
    }
    return centres;
}

TEST(CupsPrintTest, OneInchCellsKeepTheirPitchThroughACupsPdfQueue) {
    if (geteuid() != 0) GTEST_SKIP() << "starting cupsd with the cups-pdf backend needs root";
    for (const char* f : {Cupsd, CupsPdfBackend, CupsPdfPpd})
        if (!QFileInfo::exists(QString::fromLatin1(f)))
            GTEST_SKIP() << f << " is missing (packages cups, printer-driver-cups-pdf)";

    qmtest::TempDir dir;
    TPrivateCups cups(dir.Path());
    const QString failed = cups.Start();
    ASSERT_TRUE(failed.isEmpty()) << failed.toStdString();
    // This program talks to no other CUPS server: set before the first printer is made.
    qputenv("CUPS_SERVER", cups.Socket().toLocal8Bit());

    TRenderedTileset ts;
    ts.TileSize = 8;
    ts.Generation = 1;
    for (auto& im : ts.DesktopPalette) {
        im = QImage(8, 8, QImage::Format_ARGB32_Premultiplied);
        im.fill(Qt::white);
    }
    ts.HiddenFlags.fill(0);
    ts.LayerFlags.fill(0);
    auto map = std::make_unique<TMapRecord>();
    ClearMapRecord(*map);
    QImage cellBitmap;
    TMapPrintSource src;
    src.Map = map.get();
    src.Tileset = &ts;
    src.CellBitmap = &cellBitmap;
    src.Settings.ScaleIndex = 4; // 1.00"
    src.Settings.WholeMap = false;
    src.Selection = {0, 0, 6, 8}; // 7 x 9 cells: one page
    src.Settings.GridStyle = gsAlignedSquares;
    src.Settings.PrintTitle = false;

    const QString outDir = CupsPdfOutDir();
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    {
        TQtPrinter qt;
        ASSERT_EQ(qt.QtPrinter()->outputFormat(), QPrinter::NativeFormat) << "no CUPS printer seen";
        qt.QtPrinter()->setPrinterName(QStringLiteral("QmPdf"));
        ASSERT_EQ(qt.QtPrinter()->printerName(), QStringLiteral("QmPdf"));
        qmtest::TScriptedDialogs dialogs;
        SetPrinter(&qt);
        SetDialogs(&dialogs);
        TMapPageHandler handler([&] { return src; });
        TPrintPreview preview;
        handler.Bind(preview);
        preview.PrintDocument(); // the Print button's run
        const QStringList options = CupsJobOptions(*qt.QtPrinter());
        EXPECT_TRUE(options.contains("print-scaling")) << options.join(' ').toStdString();
        SetPrinter(nullptr);
        SetDialogs(nullptr);
    }
    QString pending;
    ASSERT_TRUE(cups.WaitIdle(90000, pending))
        << "the job did not finish within 90 s: " << pending.toStdString() << "\n"
        << cups.JobLog();
    // The server saw the job ask for no scaling.
    EXPECT_TRUE(cups.ErrorLog().contains("print-scaling=none")) << cups.JobLog();

    QString pdf;
    QDirIterator it(outDir, {"*.pdf"}, QDir::Files);
    while (it.hasNext()) {
        const QString f = it.next();
        if (QFileInfo(f).lastModified() >= before) pdf = f;
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from cups-pdf in " << outDir.toStdString() << "\n" << cups.JobLog();
    const QString kept = QString::fromStdString(dir.File("printed.pdf"));
    QFile::copy(pdf, kept);
    QFile::remove(pdf);

    const QString png = QString::fromStdString(dir.File("page"));
    ASSERT_TRUE(RunTool(
        "pdftoppm",
        {"-png", "-gray", "-aa", "no", "-aaVector", "no", "-r", "300", "-f", "1", "-l", "1", "-singlefile", kept, png},
        nullptr, 60000));
    QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    // Eight vertical grid lines 1" apart; the row half an inch into the first cell row
    // crosses all of them, whatever offset the queue's paper gave the page.
    int crossings = 0;
    double pitch = 0;
    for (int y = 0; y < page.height(); y += 10) {
        const auto runs = DarkRuns(page, y);
        if (runs.size() != 8) continue;
        pitch = (runs.back() - runs.front()) / 7.0;
        ++crossings;
        break;
    }
    ASSERT_GT(crossings, 0) << "no row of the printed page crosses the eight grid lines";
    EXPECT_NEAR(pitch, 300.0, 1.5) << "cell pitch at 300 dpi";
}

} // namespace
