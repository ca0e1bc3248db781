#pragma once
// Running one of the programs as a user does and taking what it said.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace quillbay::test {

struct ProgramRun {
    int exitCode = -1; // -1 when it did not finish, or was killed
    QString out;
    QString err;
};

// Runs program with arguments in environment, waiting up to timeoutMs; a
// program that takes longer is killed.
ProgramRun runProgram(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                      int timeoutMs = 120000);

} // namespace quillbay::test
