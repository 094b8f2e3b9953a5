#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace korven::test {

// One run of korven-cli to its end: the exit code and what it wrote.
struct CliRun {
    int code;
    QString out;
    QString err;
};

inline CliRun cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KORVEN_CLI), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace korven::test
