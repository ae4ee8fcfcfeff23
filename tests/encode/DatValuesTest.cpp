// CDatValues: ranges at the edges of the input, refused ranges, the cache, failures.
#include "encode/DatValues.h"
#include "decode/WavTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace wavtest;
using testsupport::WriteBytes;

namespace {

// 500 values (5 s): value i is i % 200 - 100.
QByteArray FileValues() {
    QByteArray values(500, '\0');
    for (int i = 0; i < values.size(); ++i)
        values[i] = char(i % 200 - 100);
    return values;
}

QByteArray Got(const int8_t* values, int size) {
    return QByteArray(reinterpret_cast<const char*>(values), size);
}

// A visualization file of FileValues() as the source of 5 s of input.
class DatValues : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(name, file);
        dat.setSource(name, 5000);
    }
    QTemporaryDir dir;
    const QString name = dir.filePath("temp.dat");
    const QByteArray file = FileValues();
    CDatValues dat;
    uint32_t count = 99;
};

} // namespace

TEST_F(DatValues, RangesInsideAndAtTheEdgesOfTheInput) {
    const int8_t* values = dat.getDatValues(0, 1000, count);
    EXPECT_EQ(count, 100u);
    EXPECT_EQ(Got(values, 100), file.left(100));
    EXPECT_EQ(values[100], 0);

    // Before time 0: zeros in front, counted.
    values = dat.getDatValues(-50, 100, count);
    EXPECT_EQ(count, 15u);
    EXPECT_EQ(Got(values, 15), QByteArray(5, '\0') + file.left(10));
    // A start between two values.
    values = dat.getDatValues(-15, 100, count);
    EXPECT_EQ(count, 11u);
    EXPECT_EQ(Got(values, 12), QByteArray(1, '\0') + file.left(10) + QByteArray(1, '\0'));

    // Past the end: the count stops at the end of the input, the rest is zero.
    values = dat.getDatValues(4900, 5200, count);
    EXPECT_EQ(count, 10u);
    EXPECT_EQ(Got(values, 30), file.mid(490) + QByteArray(20, '\0'));
    values = dat.getDatValues(-100, 6000, count);
    EXPECT_EQ(count, 510u);
    EXPECT_EQ(Got(values, 610), QByteArray(10, '\0') + file + QByteArray(100, '\0'));
    values = dat.getDatValues(6000, 7000, count);
    EXPECT_EQ(count, 0u);

    // The largest range served and the first one refused.
    dat.getDatValues(0, 999990, count);
    EXPECT_EQ(count, 500u);
    dat.getDatValues(0, 1000000, count);
    EXPECT_EQ(count, 0u);
    dat.getDatValues(-500000, 500000, count);
    EXPECT_EQ(count, 0u);
    // Empty and reversed ranges.
    dat.getDatValues(100, 100, count);
    EXPECT_EQ(count, 0u);
    dat.getDatValues(200, 100, count);
    EXPECT_EQ(count, 0u);
    // An input without length serves nothing.
    dat.setSource(name, 0);
    dat.getDatValues(0, 100, count);
    EXPECT_EQ(count, 0u);
}

TEST_F(DatValues, RepeatedRangesComeFromTheCache) {
    dat.getDatValues(1000, 2000, count);
    WriteBytes(name, QByteArray(500, '\x05'));
    const int8_t* values = dat.getDatValues(1000, 2000, count);
    EXPECT_EQ(count, 100u);
    EXPECT_EQ(Got(values, 100), file.mid(100, 100)); // the file was not read again
    values = dat.getDatValues(1000, 2010, count);
    EXPECT_EQ(count, 101u);
    EXPECT_EQ(Got(values, 101), QByteArray(101, '\x05'));

    // A new source forgets the cache.
    WriteBytes(name, file);
    dat.setSource(name, 5000);
    values = dat.getDatValues(1000, 2010, count);
    EXPECT_EQ(Got(values, 101), file.mid(100, 101));
}

TEST_F(DatValues, MissingOrShortFiles) {
    dat.getDatValues(0, 500, count);
    ASSERT_EQ(count, 50u);

    TraceCapture trace(TRACE_ERROR);
    ASSERT_TRUE(QFile::remove(name));
    const int8_t* values = dat.getDatValues(0, 600, count);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(trace.hasLine("ERR", "couldn't open dat file " + name));
    // The failed read left the cache as it was.
    values = dat.getDatValues(0, 500, count);
    EXPECT_EQ(count, 50u);
    EXPECT_EQ(Got(values, 50), file.left(50));

    // A file shorter than the input: what is there, zeros behind it, the full count.
    WriteBytes(name, file.left(300));
    values = dat.getDatValues(2900, 3100, count);
    EXPECT_EQ(count, 20u);
    EXPECT_EQ(Got(values, 20), file.mid(290, 10) + QByteArray(10, '\0'));
    EXPECT_TRUE(trace.hasLine("ERR", "couldn't read enough bytes from dat file " + name));
    values = dat.getDatValues(2800, 3100, count);
    EXPECT_EQ(Got(values, 30), file.mid(280, 20) + QByteArray(10, '\0'));
}
