// Sends the trace log into a private folder for one test and reads back the lines it wrote.
#pragma once

#include "app/Trace.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

class TraceCapture {
public:
    explicit TraceCapture(int level = TRACE_DETAIL) {
        TraceSetDebugOutput(false);
        TraceSetCloseAfterEachLine(false);
        TraceSetClockForTests(nullptr);
        TraceSetPrefix(m_dir.path() + QStringLiteral("/Log"));
        TraceSetLevel(level);
    }
    ~TraceCapture() {
        TraceSetLevel(0);
        TraceClose();
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // Every line of every log file so far, without its line end.
    QStringList lines() const {
        QStringList all;
        const QDir dir(m_dir.path());
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            const QString text =
                testsupport::FromUtf16Le(testsupport::ReadBytes(dir.filePath(name)));
            all += text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        }
        return all;
    }
    // True when a line with the tag ("ERR", "DBG", ...) carries exactly this text.
    bool hasLine(const char* tag, const QString& text) const {
        const QString end = QLatin1Char(' ') + QLatin1String(tag) + QStringLiteral(": ") + text;
        for (const QString& line : lines())
            if (line.endsWith(end))
                return true;
        return false;
    }

private:
    QTemporaryDir m_dir;
};
