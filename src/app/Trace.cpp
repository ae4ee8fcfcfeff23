// The trace log: one process-wide state guarded by a spin lock on its owner word.
#include "app/Trace.h"

#include "app/OxaException.h"
#include "util/Clock.h"

#include <QFile>
#include <QtEndian>

#include <array>
#include <cstdarg>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace trace_detail {
std::atomic<int> g_level{0};
}

namespace {

struct LevelInfo {
    int level;
    const char* name;
    const char* tag;
};
constexpr std::array<LevelInfo, 7> kLevels{{{0, "None", ""},
                                            {10, "Error", "ERR"},
                                            {20, "Warning", "WRN"},
                                            {30, "Info", "INF"},
                                            {40, "Debug", "DBG"},
                                            {50, "Detail", "-->"},
                                            {60, "Verbose", "---"}}};

// The tag of a line: chosen by level / 10 for levels 0 to 69, empty otherwise.
const char* TagOf(int level) {
    if (level < 0 || level >= 70)
        return "";
    return kLevels[level / 10].tag;
}

uint32_t CurrentThreadId() {
    return static_cast<uint32_t>(gettid());
}

// The state of the log; its destructor, run at process exit, closes the file and turns the log
// off for whatever still runs after it.
struct TraceState {
    int fd = -1;
    bool debugOutput = true;
    std::atomic<uint32_t> owner{0};
    bool prefixSet = false;
    QString prefix;
    DateTimeValue fileDate{};
    QString fileName;
    bool closeAfterEachLine = false;
    TraceClock clock = nullptr;

    ~TraceState() {
        trace_detail::g_level.store(0, std::memory_order_relaxed);
        closeFile();
    }

    DateTimeValue now() const { return clock ? clock() : GetLocalTimeValue(); }

    void closeFile() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    void openNewFile(const DateTimeValue& now) {
        const QString start = prefixSet ? prefix : QStringLiteral("Trace");
        fileName = QString::asprintf("%s_%04d%02d%02d_%02d%02d%02d_%X.txt",
                                     start.toUtf8().constData(), now.year, now.month, now.day,
                                     now.hour, now.minute, now.second, unsigned(getpid()));
        fd = ::open(QFile::encodeName(fileName).constData(),
                    O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return; // lines are lost silently; the next line tries again
        fileDate = now;
        constexpr unsigned char bom[2] = {0xFF, 0xFE};
        writeAll(bom, sizeof bom);
    }

    void reopenForAppend() {
        closeFile();
        fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    }

    void writeAll(const void* data, size_t size) {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = ::write(fd, p, size);
            if (n <= 0)
                return;
            p += n;
            size -= size_t(n);
        }
    }

    void writeLine(const QString& line) {
        QByteArray bytes(line.size() * 2, Qt::Uninitialized);
        qToLittleEndian<char16_t>(line.utf16(), line.size(), bytes.data());
        writeAll(bytes.constData(), size_t(bytes.size()));
    }
};

// The one trace state of the process, ready before any other static object can trace.
constinit TraceState g_state;

TraceState& State() {
    return g_state;
}

} // namespace

namespace trace_detail {

// Takes the lock: compare-and-exchange our id into a free owner word, sleep 25 ms while
// another thread holds it, go on at once when we hold it already (the lock is not counted).
void lockTake() {
    const uint32_t me = CurrentThreadId();
    auto& owner = State().owner;
    for (;;) {
        uint32_t expected = 0;
        if (owner.compare_exchange_strong(expected, me, std::memory_order_acquire) ||
            expected == me)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
}

// Releases the lock when the caller holds it; a nested release frees it at once.
void lockRelease() {
    uint32_t expected = CurrentThreadId();
    State().owner.compare_exchange_strong(expected, 0, std::memory_order_release);
}

uint32_t lockOwner() {
    return State().owner.load(std::memory_order_acquire);
}

void write(int level, const char* format, ...) {
    lockTake();
    TraceState& state = State();
    const DateTimeValue now = state.now();
    if (state.fd >= 0 && (state.fileDate.year != now.year || state.fileDate.month != now.month ||
                          state.fileDate.day != now.day))
        state.closeFile();
    if (state.fd < 0)
        state.openNewFile(now);

    va_list args;
    va_start(args, format);
    const QString message = QString::vasprintf(format, args);
    va_end(args);
    const QString line =
        QString::asprintf("%02d:%02d:%02d.%03d %X %s: ", now.hour, now.minute, now.second,
                          now.millisecond, CurrentThreadId(), TagOf(level)) +
        message + QStringLiteral("\r\n");

    if (state.fd >= 0) {
        state.writeLine(line);
        if (state.closeAfterEachLine)
            state.reopenForAppend();
    }
    if (state.debugOutput)
        std::fputs(line.toLocal8Bit().constData(), stderr);
    lockRelease();
}

QString exceptionMessage(const std::exception& e) {
    const auto* oxa = dynamic_cast<const COxaException*>(&e);
    const QString text = oxa ? oxa->traceMessage() : QString::fromUtf8(e.what());
    return text.left(260);
}

} // namespace trace_detail

using trace_detail::lockRelease;
using trace_detail::lockTake;

void TraceSetPrefix(const QString& prefix) {
    lockTake();
    State().closeFile();
    State().prefix = prefix;
    State().prefixSet = true;
    lockRelease();
}

void TraceSetLevel(int level) {
    lockTake();
    trace_detail::g_level.store(level < 0 ? 0 : level, std::memory_order_relaxed);
    lockRelease();
}

int TraceGetLevel() {
    return trace_detail::g_level.load(std::memory_order_relaxed);
}

void TraceSetDebugOutput(bool on) {
    lockTake();
    State().debugOutput = on;
    lockRelease();
}

void TraceSetCloseAfterEachLine(bool on) {
    lockTake();
    State().closeAfterEachLine = on;
    lockRelease();
}

void TraceClose() {
    lockTake();
    State().closeFile();
    lockRelease();
}

void TraceSetClockForTests(TraceClock clock) {
    lockTake();
    State().clock = clock;
    lockRelease();
}

QString TraceCurrentFileName() {
    lockTake();
    const QString name = State().fd >= 0 ? State().fileName : QString();
    lockRelease();
    return name;
}

int TraceLevelFromName(const QString& name) {
    for (const LevelInfo& info : kLevels)
        if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return info.level;
    return 0;
}

QString TraceLevelName(int level) {
    for (const LevelInfo& info : kLevels)
        if (info.level == level)
            return QString::fromLatin1(info.name);
    return QStringLiteral("unknown");
}

void TraceHexDump(int level, const void* data, unsigned size) {
    if (!trace_detail::enabled(level))
        return;
    const auto* bytes = static_cast<const unsigned char*>(data);
    Trace(level, "BEGIN TraceHexDump - %u bytes (ptr=%p):", size, data);
    for (unsigned offset = 0; offset < size; offset += 8) {
        QByteArray hex, chars;
        for (unsigned i = offset; i < offset + 8; ++i) {
            if (i >= size) {
                hex += " ..";
                continue;
            }
            const unsigned char c = bytes[i];
            char cell[4];
            std::snprintf(cell, sizeof cell, " %02X", c);
            hex += cell;
            chars += (c < 32 || c >= 127) ? '.' : char(c);
        }
        Trace(level, "%04X -%s - %s", offset, hex, chars);
    }
    Trace(level, "END TraceHexDump - %u bytes (ptr=%p):", size, data);
}
