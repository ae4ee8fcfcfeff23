// Tests of the trace log: levels, tags, the line and file-name forms, files, threads, the lock.
#include "app/Trace.h"
#include "app/OxaException.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

using testsupport::FromUtf16Le;
using testsupport::ReadBytes;
using testsupport::Utf16Le;

namespace {

// The time the log reads while a test has put its clock in place of the real one.
DateTimeValue g_fakeTime;
DateTimeValue FakeClock() {
    return g_fakeTime;
}

QString Hex(unsigned long value) {
    return QString::number(value, 16).toUpper();
}
QString MyThreadId() {
    return Hex(gettid());
}

// Each test starts with a fresh prefix in its own folder, the fake clock at 2024-03-09
// 07:05:03.042, no copy to standard error, and the log off; and leaves the log off and closed.
class TraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TraceSetLevel(0);
        TraceSetDebugOutput(false);
        TraceSetCloseAfterEachLine(false);
        g_fakeTime = DateTimeValue{2024, 3, 9, 7, 5, 3, 42};
        TraceSetClockForTests(FakeClock);
        TraceSetPrefix(prefix());
    }
    void TearDown() override {
        TraceSetLevel(0);
        TraceClose();
        TraceSetClockForTests(nullptr);
        TraceSetCloseAfterEachLine(false);
    }

    QString prefix(const QString& name = u"Log"_s) const { return m_dir.filePath(name); }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }
    QByteArray bytesOf(const QString& name) const { return ReadBytes(m_dir.filePath(name)); }
    // The lines of one log file, without line ends.
    QStringList linesOf(const QString& name) const {
        return FromUtf16Le(bytesOf(name)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    }
    // The lines of the only log file; fails the test when there is not exactly one.
    QStringList onlyFileLines() const {
        const QStringList names = files();
        EXPECT_EQ(names.size(), 1) << names.join(' ').toStdString();
        return names.isEmpty() ? QStringList() : linesOf(names.first());
    }
    // The text each line carries after "<time> <thread> ".
    static QStringList bodies(const QStringList& lines) {
        QStringList out;
        for (const QString& line : lines)
            out << line.section(QLatin1Char(' '), 2);
        return out;
    }

    QTemporaryDir m_dir;
};

TEST_F(TraceTest, LevelFiltersLinesAndTagsFollowTheLevel) {
    // Level zero (or below) writes no file at all.
    const unsigned char bytes[3] = {1, 2, 3};
    TraceSetLevel(-5);
    EXPECT_EQ(TraceGetLevel(), 0);
    Trace(TRACE_ERROR, "never %d", 1);
    TraceHexDump(TRACE_ERROR, bytes, sizeof bytes);
    TraceException(COxaException(u"nope"_s), TRACE_ERROR, "never");
    EXPECT_TRUE(files().isEmpty() && TraceCurrentFileName().isEmpty());

    TraceSetLevel(TRACE_INFO);
    Trace(TRACE_DEBUG, "debug %d", 40);
    Trace(TRACE_ERROR, "error %d", 10);
    Trace(TRACE_INFO, "info");
    EXPECT_EQ(bodies(onlyFileLines()), (QStringList{"ERR: error 10", "INF: info"}));

    // A level between two names takes the tag of the one below; levels from 70 on carry none.
    TraceSetPrefix(prefix(u"High"_s));
    TraceSetLevel(100);
    Trace(45, "between");
    Trace(TRACE_DETAIL, "detail");
    Trace(TRACE_WARNING, "warning");
    Trace(TRACE_VERBOSE, "verbose");
    Trace(75, "beyond");
    EXPECT_EQ(
        bodies(linesOf(files().filter("High_").value(0))),
        (QStringList{"DBG: between", "-->: detail", "WRN: warning", "---: verbose", ": beyond"}));
}

TEST_F(TraceTest, LineAndFileNameHaveTheirExactForm) {
    TraceSetLevel(TRACE_INFO);
    Trace(TRACE_ERROR, "hello %s %d %lld", u"w\u00f6rld"_s, 5, qint64(1) << 40);

    const QString name = u"Log_20240309_070503_%1.txt"_s.arg(Hex(getpid()));
    ASSERT_EQ(files(), QStringList{name});
    EXPECT_EQ(TraceCurrentFileName(), m_dir.filePath(name));
    const QString line =
        u"07:05:03.042 %1 ERR: hello w\u00f6rld 5 1099511627776\r\n"_s.arg(MyThreadId());
    EXPECT_EQ(bytesOf(name), QByteArray("\xFF\xFE") + Utf16Le(line));
}

TEST_F(TraceTest, NewPrefixOrDateStartsANewFile) {
    TraceSetLevel(TRACE_INFO);
    TraceSetPrefix(prefix(u"First"_s));
    Trace(TRACE_INFO, "one");
    TraceSetPrefix(prefix(u"Second"_s));
    EXPECT_TRUE(TraceCurrentFileName().isEmpty());
    Trace(TRACE_INFO, "two");
    EXPECT_TRUE(TraceCurrentFileName().startsWith(prefix(u"Second_"_s)));
    ASSERT_EQ(files().size(), 2);
    EXPECT_EQ(bodies(linesOf(files()[0])), QStringList{"INF: one"});
    EXPECT_EQ(bodies(linesOf(files()[1])), QStringList{"INF: two"});

    // So does a change of date.
    TraceSetPrefix(prefix());
    g_fakeTime = DateTimeValue{2024, 3, 9, 23, 59, 59, 900};
    Trace(TRACE_INFO, "late");
    g_fakeTime.millisecond = 950;
    Trace(TRACE_INFO, "later");
    g_fakeTime = DateTimeValue{2024, 3, 10, 0, 0, 0, 100};
    Trace(TRACE_INFO, "next day");

    const QString pid = Hex(getpid());
    const QString before = u"Log_20240309_235959_%1.txt"_s.arg(pid);
    const QString after = u"Log_20240310_000000_%1.txt"_s.arg(pid);
    ASSERT_EQ(files().filter(u"Log_"_s), (QStringList{before, after}));
    EXPECT_EQ(linesOf(before), (QStringList{u"23:59:59.900 %1 INF: late"_s.arg(MyThreadId()),
                                            u"23:59:59.950 %1 INF: later"_s.arg(MyThreadId())}));
    EXPECT_EQ(linesOf(after), QStringList{u"00:00:00.100 %1 INF: next day"_s.arg(MyThreadId())});
    EXPECT_TRUE(bytesOf(after).startsWith("\xFF\xFE"));
}

TEST_F(TraceTest, CloseAfterEachLineLeavesACompleteFileAfterEveryLine) {
    TraceSetLevel(TRACE_INFO);
    TraceSetCloseAfterEachLine(true);
    QStringList expected;
    for (int i = 0; i < 4; ++i) {
        g_fakeTime.second = 3 + i; // the file stays the one of the first line
        Trace(TRACE_INFO, "line %d", i);
        expected << u"INF: line %1"_s.arg(i);
        const QByteArray bytes = bytesOf(files().value(0));
        EXPECT_EQ(bytes.indexOf("\xFF\xFE"), 0);
        EXPECT_FALSE(bytes.mid(2).contains(QByteArray("\xFF\xFE")));
        EXPECT_TRUE(bytes.endsWith(Utf16Le(u"\r\n"_s)));
        EXPECT_EQ(bodies(onlyFileLines()), expected);
    }
}

TEST_F(TraceTest, ThreadsWritingAtOnceProduceWholeLines) {
    TraceSetClockForTests(nullptr);
    TraceSetLevel(TRACE_DEBUG);
    constexpr int kThreads = 4;
    constexpr int kLines = 150;
    const QString padding(40, QLatin1Char('x'));
    for (const bool closeEach : {false, true}) {
        SCOPED_TRACE(closeEach ? "closing after each line" : "file kept open");
        const QString name = closeEach ? u"Closing"_s : u"Open"_s;
        TraceSetPrefix(prefix(name));
        TraceSetCloseAfterEachLine(closeEach);
        std::vector<QString> threadIds(kThreads);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&, t] {
                threadIds[t] = MyThreadId();
                for (int i = 0; i < kLines; ++i)
                    Trace(TRACE_DEBUG, "worker %d line %d %s", t, i, padding);
            });
        for (std::thread& thread : threads)
            thread.join();

        const QStringList names = files().filter(name + QLatin1Char('_'));
        ASSERT_EQ(names.size(), 1);
        ASSERT_EQ(bytesOf(names.first()).size() % 2, 0);
        const QStringList lines = linesOf(names.first());
        ASSERT_EQ(lines.size(), kThreads * kLines);
        const QRegularExpression form(QStringLiteral(
            "^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} ([0-9A-F]+) DBG: worker (\\d) line (\\d+) x{40}$"));
        std::vector<int> next(kThreads, 0);
        for (const QString& line : lines) {
            const QRegularExpressionMatch m = form.match(line);
            ASSERT_TRUE(m.hasMatch()) << line.toStdString();
            const int worker = m.captured(2).toInt();
            ASSERT_LT(worker, kThreads);
            EXPECT_EQ(m.captured(1), threadIds[worker]);
            EXPECT_EQ(m.captured(3).toInt(), next[worker]++);
        }
        EXPECT_EQ(next, std::vector<int>(kThreads, kLines));
    }
}

TEST_F(TraceTest, LockIsNotCountedAndHeldAgainstOtherThreads) {
    using namespace trace_detail;
    TraceSetLevel(TRACE_INFO);
    Trace(TRACE_INFO, "first");
    const uint32_t me = uint32_t(gettid());

    // A nested take goes on at once; the inner release frees the lock.
    lockTake();
    lockTake();
    EXPECT_EQ(lockOwner(), me);
    lockRelease();
    EXPECT_EQ(lockOwner(), 0u);

    // A line written while holding the lock frees it too, at the end of the line.
    lockTake();
    Trace(TRACE_INFO, "nested");
    EXPECT_EQ(lockOwner(), 0u);

    // Another thread can neither release the lock nor write while this thread holds it.
    lockTake();
    std::thread other([] {
        lockRelease();
        Trace(TRACE_INFO, "other");
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(lockOwner(), me);
    EXPECT_EQ(bodies(onlyFileLines()), (QStringList{"INF: first", "INF: nested"}));
    lockRelease();
    other.join();
    EXPECT_EQ(bodies(onlyFileLines()), (QStringList{"INF: first", "INF: nested", "INF: other"}));
}

TEST_F(TraceTest, ExceptionMessageIsAppendedAndCut) {
    TraceSetLevel(TRACE_INFO);
    TraceException(COxaFileException(u"Datei gr\u00f6\u00dfer"_s, 3), TRACE_ERROR,
                   "Writing %s failed at %d", u"a.wav"_s, 7);
    TraceException(std::runtime_error("boom"), TRACE_INFO, "Plain");
    const QString longMessage = QString(250, QLatin1Char('a')) + QString(50, QLatin1Char('b'));
    TraceException(COxaException(longMessage), TRACE_ERROR, "Long");
    const QString cut = QString(250, QLatin1Char('a')) + QString(10, QLatin1Char('b'));
    EXPECT_EQ(
        bodies(onlyFileLines()),
        (QStringList{u"ERR: Writing a.wav failed at 7. Error message: Datei gr\u00f6\u00dfer"_s,
                     u"INF: Plain. Error message: boom"_s, u"ERR: Long. Error message: "_s + cut}));
}

TEST(TraceLevelNames, NamesAndLevels) {
    const std::pair<const char*, int> names[] = {{"Error", 10}, {"Warning", 20}, {"Info", 30},
                                                 {"Debug", 40}, {"Detail", 50},  {"Verbose", 60},
                                                 {"None", 0}};
    for (const auto& [name, level] : names) {
        EXPECT_EQ(TraceLevelName(level), QString::fromLatin1(name));
        EXPECT_EQ(TraceLevelFromName(QString::fromLatin1(name).toUpper()), level) << name;
    }
    for (const char* bad : {"", "loud", " Info", "40"})
        EXPECT_EQ(TraceLevelFromName(QString::fromLatin1(bad)), 0) << bad;
    for (int level : {35, -10, 70})
        EXPECT_EQ(TraceLevelName(level), u"unknown"_s) << level;
}

} // namespace
