// An install into a temporary prefix: what lands where, the desktop entry against it, and
// the installed programs started through their launchers.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/ApplicationState.h"
#include "model/MapRecord.h"
#include "tests/TestSupport.h"
#include "tests/app/AppFixture.h"
#include "tiles/TilesetChooser.h"

extern char** environ;

namespace {

using qmtest::TempDir;

const std::string BinaryDir = QM_BINARY_DIR;
const char* const ChildExpectVar = "QM_EXPECTED_PROGRAM_DIR";

std::string ReadText(const std::string& path) {
    const auto bytes = qmtest::ReadAll(path);
    return std::string(bytes.begin(), bytes.end());
}

// The environment of a child: ours, headless, without leak reports (the programs are
// judged by what they do, not by what Qt keeps until exit), plus `extra`.
std::vector<std::string> ChildEnvironment(const std::map<std::string, std::string>& extra = {}) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        const std::string kv = *e;
        const auto eq = kv.find('=');
        if (eq != std::string::npos) vars[kv.substr(0, eq)] = kv.substr(eq + 1);
    }
    vars["QT_QPA_PLATFORM"] = "offscreen";
    vars["ASAN_OPTIONS"] = "detect_leaks=0";
    for (const auto& [k, v] : extra) vars[k] = v;
    std::vector<std::string> env;
    for (const auto& [k, v] : vars) env.push_back(k + "=" + v);
    return env;
}

// Starts argv[0] in `cwd` with stdout and stderr going to `log`; -1 when fork fails.
pid_t Spawn(const std::vector<std::string>& args, const std::string& cwd, const std::string& log,
            const std::vector<std::string>& env) {
    std::vector<char*> argv, envp;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || chdir(cwd.c_str()) != 0) _exit(126);
        dup2(fd, 1);
        dup2(fd, 2);
        close(fd);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return pid;
}

// Runs to the end; the raw wait status, or -1.
int RunToEnd(const std::vector<std::string>& args, const std::string& cwd, const std::string& log,
             const std::vector<std::string>& env = ChildEnvironment()) {
    const pid_t pid = Spawn(args, cwd, log, env);
    if (pid < 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return status;
}

bool ExitedWith(int status, int code) { return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == code; }

QString Canonical(const std::string& path) { return QFileInfo(QString::fromStdString(path)).canonicalFilePath(); }

const int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Under ctest the run installs once before these tests and names the prefix with
// --installed=PREFIX; a test process started without it installs into a temporary prefix
// of its own.
std::string SharedPrefix() {
    for (const QString& a : QCoreApplication::arguments())
        if (a.startsWith("--installed=")) return a.mid(12).toStdString();
    return {};
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefixPath_ = SharedPrefix();
        if (!prefixPath_.empty()) {
            installed_ = QFileInfo(QString::fromStdString(prefixPath_ + "/bin/quillmarch")).exists();
            installLog_ = "nothing installed in " + prefixPath_;
            return;
        }
        prefix_ = std::make_unique<TempDir>();
        prefixPath_ = prefix_->Path();
        const std::string log = prefix_->Path() + "-install.log";
        const int status = RunToEnd({QM_CMAKE, "--install", BinaryDir, "--prefix", prefix_->Path()}, BinaryDir, log);
        installLog_ = ReadText(log);
        installed_ = ExitedWith(status, 0);
        std::remove(log.c_str());
    }
    static void TearDownTestSuite() { prefix_.reset(); }
    void SetUp() override { ASSERT_TRUE(installed_) << "cmake --install failed:\n" << installLog_; }

    static std::string P(const std::string& rel) { return prefixPath_ + "/" + rel; }
    static QString ProgramFolder() { return QString::fromStdString(P("lib/quillmarch/")); }

    static inline std::unique_ptr<TempDir> prefix_;
    static inline std::string prefixPath_;
    static inline bool installed_ = false;
    static inline std::string installLog_;
};

enum class Kind { Program, Data, Launcher };

struct LayoutCase {
    const char* path; // below the prefix
    Kind kind;
    const char* original; // Data: the build-tree file it must equal; Launcher: what it leads to
};

const LayoutCase Layout[] = {
    {"lib/quillmarch/quillmarch", Kind::Program, nullptr},
    {"lib/quillmarch/defaultgeoset.geo", Kind::Data, "app/defaultgeoset.geo"},
    {"lib/quillmarch/caves.geo", Kind::Data, "app/caves.geo"},
    {"lib/quillmarch/wilderness.geo", Kind::Data, "app/wilderness.geo"},
    {"lib/quillmarch/keep.geo", Kind::Data, "app/keep.geo"},
    {"lib/quillmarch/parchment.bmp", Kind::Data, "app/parchment.bmp"},
    {"bin/quillmarch", Kind::Launcher, "lib/quillmarch/quillmarch"},
    {"share/applications/quillmarch.desktop", Kind::Data, nullptr},
    {"share/mime/packages/quillmarch.xml", Kind::Data, nullptr},
    {"lib/quillmarch/quillmarch-render", Kind::Program, nullptr},
    {"bin/quillmarch-render", Kind::Launcher, "lib/quillmarch/quillmarch-render"},
};

TEST_F(Installed, FilesLandInTheProgramFolderAndLaunchersLeadThere) {
    for (const LayoutCase& c : Layout) {
        SCOPED_TRACE(c.path);
        const std::string path = P(c.path);
        const QFileInfo info(QString::fromStdString(path));
        ASSERT_TRUE(info.exists() || info.isSymLink());
        const QFile::Permissions runnable = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        switch (c.kind) {
        case Kind::Program:
            EXPECT_FALSE(info.isSymLink());
            EXPECT_TRUE(info.isFile());
            EXPECT_EQ(info.permissions() & runnable, runnable);
            break;
        case Kind::Data:
            EXPECT_FALSE(info.isSymLink());
            EXPECT_TRUE(info.isFile());
            EXPECT_TRUE(info.permissions() & QFile::ReadOther);
            EXPECT_FALSE(info.permissions() & runnable);
            if (c.original) {
                EXPECT_EQ(qmtest::ReadAll(path), qmtest::ReadAll(BinaryDir + "/" + c.original));
            }
            break;
        case Kind::Launcher: {
            ASSERT_TRUE(info.isSymLink());
            char target[4096] = {};
            ASSERT_GT(readlink(path.c_str(), target, sizeof target - 1), 0);
            // Relative, so a staged (DESTDIR, package) install still points into its own prefix.
            EXPECT_NE(target[0], '/') << target;
            EXPECT_EQ(info.canonicalFilePath(), Canonical(P(c.original)));
            break;
        }
        }
    }
    // The program folder holds what the program reads and nothing of the build.
    QStringList expected = {"caves.geo",     "defaultgeoset.geo", "keep.geo",
                            "parchment.bmp", "quillmarch",        "wilderness.geo"};
    expected << "quillmarch-render";
    expected.sort();
    EXPECT_EQ(QDir(ProgramFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), expected);
}

TEST_F(Installed, IconsHaveTheSizeOfTheirFolder) {
    for (int size : IconSizes) {
        SCOPED_TRACE(size);
        const QString path = QString::fromStdString(P("share/icons/hicolor/")) +
                             QString("%1x%1/apps/quillmarch.png").arg(size);
        QImage icon;
        ASSERT_TRUE(icon.load(path, "PNG")) << path.toStdString();
        EXPECT_EQ(icon.size(), QSize(size, size));
        // A drawn picture, not a blank square.
        QSet<QRgb> colours;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) colours.insert(icon.pixel(x, y));
        EXPECT_GT(colours.size(), 2);
    }
}

// The keys of the [Desktop Entry] group.
std::map<std::string, std::string> DesktopKeys(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::string group;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            group = line;
            continue;
        }
        const auto eq = line.find('=');
        if (group == "[Desktop Entry]" && eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

TEST_F(Installed, DesktopEntryStartsTheInstalledLauncherWithItsIcon) {
    auto keys = DesktopKeys(ReadText(P("share/applications/quillmarch.desktop")));
    EXPECT_EQ(keys["Type"], "Application");
    EXPECT_EQ(keys["Name"], "Quillmarch");
    EXPECT_EQ(keys["Terminal"], "false");
    // The program takes one map file and no options.
    const std::string exec = keys["Exec"];
    ASSERT_GE(exec.size(), 3u);
    EXPECT_EQ(exec.substr(exec.size() - 3), " %f") << exec;
    const std::string program = exec.substr(0, exec.size() - 3);
    EXPECT_EQ(program.find_first_of(" %"), std::string::npos) << exec;
    EXPECT_EQ(keys["MimeType"], "application/x-quillmarch-map;");
    const QFileInfo mime(QString::fromStdString(P("share/mime/packages/quillmarch.xml")));
    EXPECT_TRUE(mime.isFile());
    const QFileInfo launcher(QString::fromStdString(P("bin/" + program)));
    EXPECT_TRUE(launcher.isSymLink() && launcher.isExecutable()) << exec;
    EXPECT_EQ(launcher.canonicalFilePath(), Canonical(P("lib/quillmarch/quillmarch")));
    ASSERT_FALSE(keys["Icon"].empty());
    for (int size : IconSizes)
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(P("share/icons/hicolor/")) +
                                      QString("%1x%1/apps/").arg(size) + QString::fromStdString(keys["Icon"]) + ".png"))
            << size;
    const std::string categories = ";" + keys["Categories"];
    for (const char* main : {";Graphics;", ";Game;"}) EXPECT_NE(categories.find(main), std::string::npos) << main;
}

TEST_F(Installed, ProgramStartsHeadlessThroughItsLauncherAndStopsOnRequest) {
    TempDir elsewhere;
    const std::string log = elsewhere.File("quillmarch.log");
    const pid_t pid = Spawn({P("bin/quillmarch")}, elsewhere.Path(), log, ChildEnvironment());
    ASSERT_GT(pid, 0);
    int status = 0;
    bool exited = false;
    for (int i = 0; i < 40 && !exited; ++i) {
        exited = waitpid(pid, &status, WNOHANG) == pid;
        if (!exited) usleep(100 * 1000);
    }
    if (exited) FAIL() << "quit by itself, status " << status << ":\n" << ReadText(log);
    // The kernel resolved the launcher to the program folder; the program reads its own
    // folder back from the same place.
    EXPECT_EQ(QFileInfo(QString("/proc/%1/exe").arg(pid)).canonicalFilePath(),
              Canonical(P("lib/quillmarch/quillmarch")));
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    for (int i = 0; i < 100 && !exited; ++i) {
        exited = waitpid(pid, &status, WNOHANG) == pid;
        if (!exited) usleep(50 * 1000);
    }
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "ignored SIGTERM";
    }
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    const std::string output = ReadText(log);
    for (const char* bad : {"AddressSanitizer", "LeakSanitizer", "runtime error"})
        EXPECT_EQ(output.find(bad), std::string::npos) << output;
}

// The main window given the installed program folder finds what the install put there.
class InstalledWindow : public Installed {
protected:
    void SetUp() override {
        Installed::SetUp();
        if (HasFatalFailure()) return;
        qm::SetDialogs(&dialogs);
        oldCwd = QDir::currentPath();
    }
    void TearDown() override {
        windows.reset(); // the windows go in the reverse order of their creation
        qm::SetDialogs(nullptr);
        QDir::setCurrent(oldCwd);
    }
    qmtest::TScriptedDialogs dialogs;
    std::optional<qm::TApplicationWindows> windows;
    QString oldCwd;
};

TEST_F(InstalledWindow, FindsTheDefaultGeoSetAndTheSampleTileset) {
    windows = qm::CreateApplicationWindows(ProgramFolder());
    qm::Twinviewform* win = windows->Main.get();
    qm::ShowMainWindow(*win);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !win->State().FirstActivation; }, 5000));
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString();

    auto* generate = win->findChild<QAction*>("GenerateRandomMap1");
    ASSERT_NE(generate, nullptr);
    EXPECT_TRUE(generate->isEnabled());
    EXPECT_EQ(win->State().GeoSetDocument.FileName(), ProgramFolder() + "defaultgeoset.geo");

    QStringList listed;
    QTimer::singleShot(0, [&] {
        qm::TPaletteForm* form = windows->Palette.get();
        for (int i = 0; i < form->FileListBox->count(); ++i) listed << form->FileListBox->item(i)->text();
        const auto items = form->FileListBox->findItems("parchment.bmp", Qt::MatchExactly);
        if (!items.isEmpty()) items.first()->setSelected(true);
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
    });
    win->findChild<QAction*>("Custom1")->trigger();
    EXPECT_EQ(listed, QStringList({"parchment.bmp"}));
    EXPECT_EQ(win->State().Tileset.CurrentTilesetName, "parchment.bmp");
    EXPECT_TRUE(win->State().Tileset.IsRendered());
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join("\n").toStdString();
}

// Started through a link, the program still names the folder its executable lies in.
// The test runs itself through a link; the child checks and reports through its exit code.
TEST(ProgramFolder, FollowsLinksToTheExecutable) {
    if (const char* expected = getenv(ChildExpectVar)) {
        EXPECT_EQ(qm::DefaultProgramDir().toStdString(), expected);
        return;
    }
    const QString self = QFileInfo("/proc/self/exe").canonicalFilePath();
    ASSERT_FALSE(self.isEmpty());
    TempDir links;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(links.File("bin"))));
    const std::string link = links.File("bin/tests");
    ASSERT_EQ(symlink(self.toStdString().c_str(), link.c_str()), 0);
    const std::string expected = QFileInfo(self).absolutePath().toStdString() + "/";
    const std::string log = links.File("child.log");
    const int status = RunToEnd({link, "--gtest_filter=ProgramFolder.FollowsLinksToTheExecutable"}, links.Path(), log,
                                ChildEnvironment({{ChildExpectVar, expected}}));
    EXPECT_TRUE(ExitedWith(status, 0)) << ReadText(log);
    EXPECT_NE(ReadText(log).find("[  PASSED  ] 1 test"), std::string::npos) << ReadText(log);
}

// The renderer looks a map's tileset up beside the map and then in its program folder:
// through the launcher that must be the installed folder.
TEST_F(Installed, RendererFindsTilesetsInItsProgramFolder) {
    TempDir work;
    qm::TMapRecord map;
    qm::ResetMap(map, "parchment.bmp", 16);
    for (int x = 1; x <= 8; ++x)
        for (int y = 1; y <= 8; ++y) map.Cell(x, y).Lower = uint8_t(1 + (x - 1) * 8 + (y - 1));
    qm::WriteMapFile(work.File("parchment.map"), map);
    qm::SetMapTilesetName(map, "");
    qm::WriteMapFile(work.File("default.map"), map);

    struct RenderCase {
        const char* map;
        const char* output;
        std::string tileset;
    };
    const RenderCase cases[] = {
        {"parchment.map", "found.png", ""},
        {"parchment.map", "explicit.png", P("lib/quillmarch/parchment.bmp")},
        {"default.map", "default.png", ""},
    };
    std::map<std::string, QImage> pictures;
    for (const RenderCase& c : cases) {
        SCOPED_TRACE(c.output);
        std::vector<std::string> args = {P("bin/quillmarch-render"), "--zoom", "8", "--region", "1,1,8,8"};
        if (!c.tileset.empty()) args.insert(args.end(), {"--tileset", c.tileset});
        args.insert(args.end(), {work.File(c.map), work.File(c.output)});
        const std::string log = work.File(std::string(c.output) + ".log");
        const int status = RunToEnd(args, work.Path(), log);
        ASSERT_TRUE(ExitedWith(status, 0)) << ReadText(log);
        QImage picture;
        ASSERT_TRUE(picture.load(QString::fromStdString(work.File(c.output))));
        pictures[c.output] = picture.convertToFormat(QImage::Format_RGB32);
    }
    EXPECT_EQ(pictures["found.png"].size(), QSize(64, 64));
    EXPECT_TRUE(pictures["found.png"] == pictures["explicit.png"]);
    EXPECT_FALSE(pictures["found.png"] == pictures["default.png"]);
}

} // namespace
