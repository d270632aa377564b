// Shared test main: one QApplication for the whole executable on the offscreen platform,
// so widget tests run headless.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The sanitizers' settings, built into every test program: the environment a test runner
// passes can lose them, these cannot. Leaks inside system libraries are not ours.
extern "C" {
__attribute__((used)) const char* __asan_default_options() { return "detect_leaks=1"; }
__attribute__((used)) const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
__attribute__((used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\nleak:libQt6Widgets\nleak:libdbus\n";
}
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program keeps recovery copies in the user's data folder: tests never touch the real one.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
