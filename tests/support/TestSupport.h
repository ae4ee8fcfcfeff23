// Helpers shared by the test suites: files, UTF-16 text, and running the program's executables.
#pragma once

#include "app/OxaException.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

namespace testsupport {

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
// UTF-16 little-endian bytes of a text, without a byte-order mark.
QByteArray Utf16Le(const QString& text);
// The text of UTF-16 little-endian bytes (a leading FF FE is skipped).
QString FromUtf16Le(const QByteArray& bytes);

// The result of running an executable of the build.
struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
// Starts bin/<program> in the process with the arguments and the extra environment entries
// ("NAME=value").
void StartProgram(QProcess& process, const QString& program, const QStringList& args,
                  const QStringList& env = {});
// Runs bin/<program> with the arguments and the extra environment entries to its end; inChild,
// when given, runs in the child before the program starts (resource limits, signals).
RunResult RunProgram(const QString& program, const QStringList& args, const QStringList& env = {},
                     int timeoutMs = 60000, const std::function<void()>& inChild = {});

// The message of the program's exception the action throws, followed by " (code N)" when its code
// is not 0; "<nothing thrown>" when it throws none.
template <class F> QString ThrownMessage(F&& action) {
    try {
        action();
    } catch (const COxaException& e) {
        return e.code() ? e.message() + QStringLiteral(" (code %1)").arg(e.code()) : e.message();
    }
    return QStringLiteral("<nothing thrown>");
}

} // namespace testsupport
