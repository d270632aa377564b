#pragma once
// Running a program of the project from a test, as a user would from a shell.
#include <QString>
#include <QStringList>
#include <string>

namespace qmtest {

// A program run to its end on the offscreen platform: its exit code (-1 when it did not end
// within the time given, -2 when it crashed) and what it printed.
struct TRunResult {
    int code = -1;
    std::string out, err;
};
TRunResult RunProgram(const QString& program, const QStringList& args, int ms = 120000);

} // namespace qmtest
