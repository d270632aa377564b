#include <gtest/gtest.h>

#include <sys/stat.h>

#include "model/RecordFile.h"
#include "tests/TestSupport.h"

using namespace qm;

namespace {
std::string ErrorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const TFileError& e) {
        return e.what();
    }
    return "";
}
} // namespace

// Every way a write can fail leaves the old file as it was and no temporary behind.
TEST(AtomicWrite, FailuresKeepTheOldFile) {
    const std::vector<unsigned char> old(50, 'o'), fresh(4000, 'n');
    struct Case {
        const char* what;
        std::function<void(const qmtest::TempDir&)> arrange;
        long failAfter;
        const char* reason;
    } cases[] = {
        {"read-only folder", [](const qmtest::TempDir& d) { ::chmod(d.Path().c_str(), 0555); }, -1,
         "Permission denied"},
        {"failure in the middle", [](const qmtest::TempDir&) {}, 1000, "Input/output error"},
        {"failure before the first byte", [](const qmtest::TempDir&) {}, 0, "Input/output error"},
    };
    for (auto& c : cases) {
        if (::geteuid() == 0 && std::string(c.what) == "read-only folder") continue; // root ignores modes
        qmtest::TempDir dir;
        qmtest::WriteAll(dir.File("t.map"), old);
        c.arrange(dir);
        SetWriteFailureAfterForTesting(c.failAfter);
        std::string err = ErrorOf([&] { WriteFileAtomic(dir.File("t.map"), fresh.data(), fresh.size()); });
        SetWriteFailureAfterForTesting(-1);
        ::chmod(dir.Path().c_str(), 0755);
        EXPECT_EQ(err, "Cannot create file \"" + dir.File("t.map") + "\". " + c.reason) << c.what;
        EXPECT_EQ(qmtest::ReadAll(dir.File("t.map")), old) << c.what;
        EXPECT_EQ(dir.List(), std::vector<std::string>{"t.map"}) << c.what;
    }
}

TEST(AtomicWrite, MissingFolderAndFolderAsTarget) {
    qmtest::TempDir dir;
    unsigned char b = 1;
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomic(dir.File("no/such/x.map"), &b, 1); }),
              "Cannot create file \"" + dir.File("no/such/x.map") + "\". No such file or directory");
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomic(dir.Path(), &b, 1); }),
              "Cannot create file \"" + dir.Path() + "\". Is a directory");
}

TEST(AtomicWrite, DeviceTargetIsRefused) {
    // Renaming over a device would replace it; the writer refuses anything but a regular file.
    unsigned char b[10] = {};
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomic("/dev/full", b, sizeof b); }),
              "Cannot create file \"/dev/full\". Not a regular file");
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(AtomicWrite, KeepsPermissionsOfTheReplacedFile) {
    qmtest::TempDir dir;
    qmtest::WriteAll(dir.File("p.map"), {1, 2, 3});
    ::chmod(dir.File("p.map").c_str(), 0640);
    unsigned char b[4] = {9, 9, 9, 9};
    WriteFileAtomic(dir.File("p.map"), b, 4);
    struct stat st {};
    ::stat(dir.File("p.map").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(qmtest::ReadAll(dir.File("p.map")), (std::vector<unsigned char>{9, 9, 9, 9}));
}
