// Recovery copies: written while a document is modified, gone after a clean exit,
// offered after a crash (a real process killed with SIGKILL), and never deleted when
// they cannot be read.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/Recovery.h"
#include "model/RecordFile.h"
#include "tests/app/AppFixture.h"

using namespace qmtest;

namespace {

class RecoveryTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome.Path()));
        oldName = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("Quillmarch")); // as the program names itself
    }
    void TearDown() override {
        AppTest::TearDown();
        qputenv("XDG_DATA_HOME", oldDataHome);
        QCoreApplication::setApplicationName(oldName);
    }
    QString Folder() const { return qm::DefaultRecoveryFolder(); }
    // Copies and locks; AllFiles also the temporary files of writes in progress.
    QStringList Files() const { return QDir(Folder()).entryList(QDir::Files, QDir::Name); }
    QStringList AllFiles() const { return QDir(Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    void Draw(int c, int r) {
        win->SymbolGridSelectCell(0, 17);
        QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(c, r));
    }
    bool WaitForCopy(const char* suffix) {
        return QTest::qWaitFor(
            [&] { return !Files().filter(QRegularExpression(QString("\\.%1$").arg(suffix))).isEmpty(); }, 10000);
    }
    // A copy left behind by an instance that has ended: its store is gone, its lock free.
    QString PlantOrphan(const qm::TMapRecord& m, const QString& documentPath) {
        qm::TRecoveryStore dead(Folder());
        dead.Write(qm::TRecoveryKind::Map, &m, sizeof m, {documentPath, "", false, QDateTime::currentDateTime()});
        return dead.FileFor(qm::TRecoveryKind::Map);
    }

    TempDir dataHome;
    QByteArray oldDataHome;
    QString oldName;
};

std::vector<unsigned char> Bytes(const void* p, size_t n) {
    auto b = static_cast<const unsigned char*>(p);
    return {b, b + n};
}

TEST_F(RecoveryTest, CopyOfAKilledRunIsRecoveredByteForByte) {
    qm::TMapRecord start;
    qm::ResetMap(start, "", 32);
    start.Cell(1, 1).Upper = 44;
    qm::WriteMapFile(work.File("keep.map"), start);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QString::fromStdString(dataHome.Path()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QM_RECOVERY_CHILD,
                {ProgramDir(), WorkFile("keep.map"), WorkFile("expect.map"), WorkFile("expect.geo")});
    ASSERT_TRUE(child.waitForStarted(10000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return child.readAllStandardOutput().contains("ready") || child.state() == QProcess::NotRunning; },
        60000));
    ASSERT_EQ(child.state(), QProcess::Running);
    ASSERT_TRUE(WaitForCopy("map"));
    ASSERT_TRUE(WaitForCopy("geo"));
    ASSERT_EQ(::kill(pid_t(child.processId()), SIGKILL), 0);
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    const QStringList left = Files();
    ASSERT_EQ(left.size(), 3) << left.join(" ").toStdString(); // map, GeoSet and lock

    dialogs.ConfirmAnswers = {qm::TConfirm::Yes, qm::TConfirm::Yes};
    Start();
    ASSERT_EQ(dialogs.Confirms.size(), 2)
        << dialogs.Confirms.join("\n").toStdString() << dialogs.Errors.join("\n").toStdString();
    EXPECT_TRUE(dialogs.Confirms[0].startsWith("Recover unsaved map keep.map from "))
        << dialogs.Confirms[0].toStdString();
    EXPECT_TRUE(dialogs.Confirms[1].startsWith("Recover unsaved GeoSet Untitled from "));
    const auto expected = ReadAll(work.File("expect.map"));
    EXPECT_NE(expected, ReadAll(work.File("keep.map"))); // the drawing was never saved
    EXPECT_EQ(Bytes(&Map(), sizeof Map()), expected);
    EXPECT_EQ(Bytes(&win->State().GeoSetDocument.GeoSet, sizeof win->State().GeoSetDocument.GeoSet),
              ReadAll(work.File("expect.geo")));
    EXPECT_EQ(Caption(), "QuillMarch - keep.map*");
    EXPECT_EQ(DrawGrid1()->DefaultColWidth(), 32);
    // The old copies are gone; this run keeps its own until the work is saved.
    for (const QString& f : left) EXPECT_FALSE(Files().contains(f)) << f.toStdString();
    EXPECT_EQ(AllFiles().filter(QRegularExpression("^\\.")).size(), 0); // nor half-written ones
    EXPECT_EQ(Files().filter(".map").size(), 1);

    Find<QAction>("Save")->trigger();
    EXPECT_EQ(ReadAll(work.File("keep.map")), expected);
    EXPECT_TRUE(Files().filter(".map").isEmpty());
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString();
}

TEST_F(RecoveryTest, CopyFollowsTheWorkAndACleanExitLeavesNothing) {
    Start();
    win->SetRecoveryDelay(50);
    Draw(3, 3);
    ASSERT_TRUE(WaitForCopy("map"));
    const QString copy = Folder() + "/" + Files().filter(".map").first();
    std::vector<unsigned char> bytes = ReadAll(copy.toStdString());
    bytes.resize(sizeof(qm::TMapRecord));
    EXPECT_EQ(bytes, Bytes(&Map(), sizeof Map()));

    dialogs.FileAnswers = {WorkFile("saved.map")};
    Find<QAction>("Save")->trigger();
    EXPECT_TRUE(Files().filter(".map").isEmpty());

    Draw(5, 5);
    ASSERT_TRUE(WaitForCopy("map"));
    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    ASSERT_TRUE(win->close());
    EXPECT_TRUE(AllFiles().isEmpty()) << AllFiles().join(" ").toStdString();
}

TEST_F(RecoveryTest, RecoveredMapFindsItsTilesetBesideItsFileWithNoNotice) {
    TempDir maps;
    QImage sheet(512, 512, QImage::Format_RGB32);
    sheet.fill(qRgb(9, 9, 9));
    ASSERT_TRUE(sheet.save(QString::fromStdString(maps.File("beside.bmp")), "BMP"));
    qm::TMapRecord m;
    qm::ResetMap(m, "beside.bmp", 16);
    PlantOrphan(m, QString::fromStdString(maps.File("keep.map")));
    dialogs.ConfirmAnswers = {qm::TConfirm::Yes};
    Start();
    EXPECT_EQ(win->State().Tileset.SourcePath, QString::fromStdString(maps.File("beside.bmp")));
    EXPECT_EQ(win->State().Document.FileName(), QString::fromStdString(maps.File("keep.map")));
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString(); // a copy is no foreign file
}

TEST_F(RecoveryTest, LaterKeepsTheCopyDiscardDeletesIt) {
    qm::TMapRecord m;
    qm::ResetMap(m, "", 16);
    m.Cell(9, 9).Lower = 3;
    const QString copy = PlantOrphan(m, QString());
    for (qm::TConfirm answer : {qm::TConfirm::Cancel, qm::TConfirm::No}) {
        windows = {};
        dialogs.Confirms.clear();
        dialogs.ConfirmAnswers = {answer};
        Start();
        ASSERT_EQ(dialogs.Confirms.size(), 1);
        EXPECT_TRUE(dialogs.Confirms[0].startsWith("Recover unsaved map Untitled from "));
        EXPECT_EQ(Map().Cell(9, 9).Lower, 0);
        EXPECT_EQ(QFile::exists(copy), answer == qm::TConfirm::Cancel);
    }
    EXPECT_TRUE(Files().isEmpty()) << Files().join(" ").toStdString();
}

TEST_F(RecoveryTest, UnreadableCopyIsReportedAndKeptAndARunningOnesCopyIsLeftAlone) {
    QDir().mkpath(Folder());
    const QString broken = Folder() + "/4242-1.map";
    WriteAll(broken.toStdString(), std::vector<unsigned char>(401, 0x42));
    // Another instance that is still running: its lock is held.
    qm::TMapRecord m;
    qm::ResetMap(m, "", 16);
    const QString alive = PlantOrphan(m, "elsewhere.map");
    const QString lock = QFileInfo(alive).absolutePath() + "/" + QFileInfo(alive).completeBaseName() + ".lock";
    const int fd = ::open(lock.toLocal8Bit().constData(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);

    Start();
    ::close(fd);
    EXPECT_TRUE(dialogs.Confirms.isEmpty()) << dialogs.Confirms.join("\n").toStdString();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors[0], "Cannot recover unsaved work from \"" + broken +
                                     "\". It is not a recovery copy (401 bytes). The file is kept.");
    EXPECT_EQ(ReadAll(broken.toStdString()).size(), 401u);
    EXPECT_TRUE(QFile::exists(alive));
}

} // namespace
