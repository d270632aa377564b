#include "tests/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "model/MapRecord.h"
#include "tests/RunProgram.h"

namespace fs = std::filesystem;

namespace qmtest {

bool SameRecord(const qm::TMapRecord& a, const qm::TMapRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

KeepCwd::KeepCwd() : was_(QDir::currentPath().toStdString()) {}
KeepCwd::~KeepCwd() { QDir::setCurrent(QString::fromStdString(was_)); }

const std::set<int> BuiltInLowerLayer = {0,  1,   10,  11,  16,  17,  18,  19,  20,  21,  25, 47,
                                         48, 57,  63,  64,  68,  83,  84,  85,  91,  96,  97, 98,
                                         99, 102, 103, 109, 141, 157, 173, 189, 205, 237, 253};

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "qmtest.XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore write permission on anything a test locked, so removal succeeds.
    for (auto& e : fs::recursive_directory_iterator(path_, ec))
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::vector<std::string> TempDir::List() const {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TRunResult RunProgram(const QString& program, const QStringList& args, int ms) {
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(program, args);
    TRunResult r;
    if (!p.waitForFinished(ms)) return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

} // namespace qmtest
