// Reading config.ini text: the UTF-16 text-file reader and the number conversions of settings.
#include "util/NumberText.h"
#include "util/Utf16TextFile.h"

#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

using testsupport::Utf16Le;
using testsupport::WriteBytes;

namespace {

QByteArray Utf16Be(const QString& text) {
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToBigEndian<char16_t>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

// All lines of the file, read with the reader.
QStringList ReadLines(const QString& path, CUtf16TextFile::Encoding* encoding = nullptr) {
    CUtf16TextFile file;
    file.Open(path);
    if (encoding)
        *encoding = file.GetEncoding();
    QStringList lines;
    QString line;
    while (file.ReadLine(line))
        lines << line;
    return lines;
}

class Utf16TextFileTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes) {
        const QString path = m_dir.filePath(u"f%1.txt"_s.arg(++m_count));
        WriteBytes(path, bytes);
        return path;
    }
    QTemporaryDir m_dir;
    int m_count = 0;
};

} // namespace

TEST_F(Utf16TextFileTest, EncodingsFromTheByteOrderMark) {
    const QString text = u"[Settings]\nName=Gr\u00FC\u00DFe \U0001F3B5\nLast"_s;
    const QStringList expected{u"[Settings]"_s, u"Name=Gr\u00FC\u00DFe \U0001F3B5"_s, u"Last"_s};
    CUtf16TextFile::Encoding encoding{};

    EXPECT_EQ(ReadLines(Write(QByteArray("\xFF\xFE") + Utf16Le(text)), &encoding), expected);
    EXPECT_EQ(encoding, CUtf16TextFile::Encoding::Utf16LittleEndian);

    EXPECT_EQ(ReadLines(Write(QByteArray("\xFE\xFF") + Utf16Be(text)), &encoding), expected);
    EXPECT_EQ(encoding, CUtf16TextFile::Encoding::Utf16BigEndian);

    // Without a mark the bytes are 8-bit text in the system's encoding (UTF-8 under the tests).
    EXPECT_EQ(ReadLines(Write(text.toUtf8()), &encoding), expected);
    EXPECT_EQ(encoding, CUtf16TextFile::Encoding::EightBit);

    // UTF-16 without a mark is still UTF-16, and so is UTF-16 that lost a byte: the lines after
    // the loss read again. Either counts as repaired; clean files do not.
    CUtf16TextFile clean;
    ASSERT_TRUE(clean.Open(Write(text.toUtf8())));
    EXPECT_FALSE(clean.Repaired());
    const QString lines = u"[Settings]\nProxy=p.example\nBitRate=96\nLast=1\n"_s;
    const QByteArray le = Utf16Le(lines), be = Utf16Be(lines);
    const qsizetype inBitRate = le.indexOf(Utf16Le(u"Rate"_s));
    const struct {
        QByteArray bytes;
        QStringList lines;
    } damaged[] = {
        {le, {u"[Settings]"_s, u"Proxy=p.example"_s, u"BitRate=96"_s, u"Last=1"_s}},
        {be, {u"[Settings]"_s, u"Proxy=p.example"_s, u"BitRate=96"_s, u"Last=1"_s}},
        {QByteArray("\xFF\xFE") + le.left(inBitRate) + le.mid(inBitRate + 1),
         {u"[Settings]"_s, u"Proxy=p.example"_s, u"Bitate=96"_s, u"Last=1"_s}},
        {QByteArray("\xFF\xFE") + le.left(inBitRate + 1) + le.mid(inBitRate + 2),
         {u"[Settings]"_s, u"Proxy=p.example"_s, u"Bit\u6152te=96"_s, u"Last=1"_s}},
        {QByteArray("\xFF\xFE") + le.chopped(1),
         {u"[Settings]"_s, u"Proxy=p.example"_s, u"BitRate=96"_s, u"Last=1"_s}},
    };
    for (const auto& [bytes, expectedLines] : damaged) {
        CUtf16TextFile file;
        ASSERT_TRUE(file.Open(Write(bytes)));
        QStringList read;
        QString line;
        while (file.ReadLine(line))
            read << line;
        EXPECT_EQ(read, expectedLines) << bytes.toHex().toStdString();
        EXPECT_TRUE(file.Repaired());
    }
}

TEST_F(Utf16TextFileTest, LineEnds) {
    // CR, LF and CR LF each end one line; LF CR and doubled ends count as one end, as the rule
    // says.
    const QString text = u"a\rb\nc\r\nd\n\re\n\nf\r\rg\r\n\r\nh"_s;
    const QStringList expected{u"a"_s, u"b"_s, u"c"_s,    u"d"_s, u"e"_s,
                               u"f"_s, u"g"_s, QString(), u"h"_s};
    EXPECT_EQ(ReadLines(Write(QByteArray("\xFF\xFE") + Utf16Le(text))), expected);
    EXPECT_EQ(ReadLines(Write(QByteArray("\xFE\xFF") + Utf16Be(text))), expected);
    EXPECT_EQ(ReadLines(Write(text.toUtf8())), expected);

    // A final line end adds no empty line; a file of only a mark or nothing has no lines.
    EXPECT_EQ(ReadLines(Write(QByteArray("\xFF\xFE") + Utf16Le(u"x\r\n"_s))), QStringList{u"x"_s});
    EXPECT_EQ(ReadLines(Write(QByteArray("\xFF\xFE"))), QStringList());
    EXPECT_EQ(ReadLines(Write(QByteArray())), QStringList());
    EXPECT_EQ(ReadLines(Write(QByteArray("\n"))), QStringList{QString()});
    // A lone trailing byte of a damaged UTF-16 file is dropped.
    EXPECT_EQ(ReadLines(Write(QByteArray("\xFF\xFE") + Utf16Le(u"k=v"_s) + 'x')),
              QStringList{u"k=v"_s});
}

TEST_F(Utf16TextFileTest, LinesAcrossReadBlocks) {
    // The reader works in blocks of 65536 bytes: put a CR as the last unit of the first block and
    // its LF at the start of the second, then a line longer than a block.
    const qsizetype unitsPerBlock = 65536 / 2;
    QString text = u"[Settings]\n"_s;
    text += QString(unitsPerBlock - 1 - 1 - text.size(), QLatin1Char('a')); // after the mark
    text += u"\r\n"_s;
    const QString longLine = u"x="_s + QString(70000, QLatin1Char('y'));
    text += longLine + u"\n"_s;
    text += u"e=\U0001F3B5\n"_s;
    const QByteArray bytes = QByteArray("\xFF\xFE") + Utf16Le(text);
    ASSERT_EQ(bytes.mid(65534, 2), QByteArray("\r\0", 2));

    const QStringList lines = ReadLines(Write(bytes));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1].size(), unitsPerBlock - 2 - 11);
    EXPECT_EQ(lines[2], longLine);
    EXPECT_EQ(lines[3], u"e=\U0001F3B5"_s);

    // 8-bit: a two-byte UTF-8 character split by the block boundary stays whole.
    QByteArray eight(65535, 'b');
    eight += "\xC3\xBC\n";
    const QStringList eightLines = ReadLines(Write(eight));
    ASSERT_EQ(eightLines.size(), 1);
    EXPECT_EQ(eightLines[0].size(), 65536);
    EXPECT_EQ(eightLines[0].back(), QChar(0x00FC));
}

TEST_F(Utf16TextFileTest, FailuresReportTheSystemError) {
    CUtf16TextFile file;
    EXPECT_FALSE(file.Open(m_dir.filePath(u"missing.ini"_s)));
    EXPECT_EQ(file.Error(), ENOENT);
    EXPECT_FALSE(file.IsOpen());
    QString line = u"kept"_s;
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_EQ(line, u"kept"_s); // (a folder's EISDIR shows in config.ini's load message)
}

TEST(NumberTextTest, IntegersAndRealsReadLikeWtoiAndWtof) {
    EXPECT_EQ(TextToInt(u" \t\n-42abc"), -42);
    EXPECT_EQ(TextToInt(u"+7"), 7);
    EXPECT_EQ(TextToInt(u"12 34"), 12);
    EXPECT_EQ(TextToInt(u"3.9"), 3);
    EXPECT_EQ(TextToInt(u"abc"), 0);
    EXPECT_EQ(TextToInt(u"- 5"), 0);
    EXPECT_EQ(TextToInt(u"2147483648"), std::numeric_limits<int>::max());
    EXPECT_EQ(TextToInt(u"-2147483649"), std::numeric_limits<int>::min());
    EXPECT_EQ(TextToInt(u"99999999999999999999x"), std::numeric_limits<int>::max());
    EXPECT_EQ(TextToInt64(u"-9223372036854775808"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(TextToInt64(u"9223372036854775808"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(TextToInt64(u" 5000000000,1"), 5000000000LL);

    EXPECT_DOUBLE_EQ(TextToDouble(u"  3.5x"), 3.5);
    EXPECT_DOUBLE_EQ(TextToDouble(u"89.00"), 89.0);
    EXPECT_DOUBLE_EQ(TextToDouble(u"-.5"), -0.5);
    EXPECT_DOUBLE_EQ(TextToDouble(u"1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(TextToDouble(u"2.5E-1;"), 0.25);
    EXPECT_DOUBLE_EQ(TextToDouble(u"7e+"), 7.0);
    EXPECT_DOUBLE_EQ(TextToDouble(u"7,5"), 7.0); // the decimal point is always '.'
    EXPECT_EQ(TextToDouble(u"."), 0.0);
    EXPECT_EQ(TextToDouble(u"abc"), 0.0);
    EXPECT_TRUE(std::isinf(TextToDouble(u"1e999")));
    EXPECT_LT(TextToDouble(u"-1e999"), 0.0);
}
