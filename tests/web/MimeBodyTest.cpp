// Tests of MIME bodies: serializing with parts and room checks, content files, parsing back.
#include "support/TestSupport.h"
#include "support/TraceCapture.h"
#include "web/MimeCoderRegistry.h"
#include "web/MimeMessage.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

namespace {

using testsupport::ReadBytes;
using testsupport::WriteBytes;

QByteArray stored(const CMimeBody& body) {
    QByteArray buffer(body.GetStoredLength(), '#');
    const qsizetype count = body.StoreTo(buffer.data(), buffer.size());
    EXPECT_GE(count, 0);
    EXPECT_LE(count, buffer.size());
    return buffer.left(count);
}

CMimeBody* addTextPart(CMimeBody& parent, const QByteArray& name, const QByteArray& content) {
    CMimeBody* part = parent.AddPart();
    CMimeHeaderLine field("Content-Disposition", "form-data");
    field.SetFieldParameter("name", name);
    part->PutField(field);
    part->SetContent(content);
    return part;
}

TEST(MimeBodyTest, StoresHeaderContentAndPartsBetweenDelimiters) {
    const CMimeCoderRegistry registry;
    CMimeMessage message(registry);
    message.AssignBoundary("BND");
    addTextPart(message, "a", "alpha");
    addTextPart(message, "b", "beta\r\n");
    const QByteArray expected = "Content-Type: multipart/mixed; boundary=\"BND\"\r\n"
                                "\r\n--BND\r\n"
                                "Content-Disposition: form-data; name=\"a\"\r\n"
                                "\r\n"
                                "alpha"
                                "\r\n--BND\r\n"
                                "Content-Disposition: form-data; name=\"b\"\r\n"
                                "\r\n"
                                "beta\r\n"
                                "\r\n--BND--\r\n";
    const QByteArray bytes = stored(message);
    EXPECT_EQ(bytes, expected);
    // The first delimiter's line break took the place of the header's last one.
    EXPECT_EQ(message.GetStoredLength(), bytes.size() + 2);

    // Content before the parts (a preamble) that does not end with a line break: no overlap.
    message.SetContentText("preamble");
    QByteArray withPreamble = expected;
    withPreamble.insert(withPreamble.indexOf("\r\n--BND\r\n"), "\r\npreamble");
    EXPECT_EQ(stored(message), withPreamble);
    EXPECT_EQ(message.GetStoredLength(), withPreamble.size());

    // Content ending with a line break: the delimiter takes that line break.
    message.SetContentText("preamble\r\n");
    EXPECT_EQ(stored(message), withPreamble);

    // A body without parts writes no delimiter at all.
    CMimeBody leaf(registry);
    leaf.SetContentText("just text");
    EXPECT_EQ(stored(leaf), "\r\njust text");
}

TEST(MimeBodyTest, NestedPartsAndTransferEncodings) {
    const CMimeCoderRegistry registry;
    CMimeMessage message(registry);
    message.AssignBoundary("outer");
    CMimeBody* inner = message.AddPart("multipart/alternative");
    inner->AssignBoundary("inner");
    CMimeBody* qp = inner->AddPart("text/plain");
    qp->PutField(CMimeHeaderLine("Content-Transfer-Encoding", "quoted-printable"));
    qp->SetContentText("caf\xE9 = tea ");
    CMimeBody* base64 = message.AddPart("application/octet-stream");
    base64->PutField(CMimeHeaderLine("Content-Transfer-Encoding", "Base64"));
    base64->SetContent(QByteArray("\x00\xFF\x10", 3));
    const QByteArray expected = "Content-Type: multipart/mixed; boundary=\"outer\"\r\n"
                                "\r\n--outer\r\n"
                                "Content-Type: multipart/alternative; boundary=\"inner\"\r\n"
                                "\r\n--inner\r\n"
                                "Content-Type: text/plain\r\n"
                                "Content-Transfer-Encoding: quoted-printable\r\n"
                                "\r\n"
                                "caf=E9 =3D tea=20"
                                "\r\n--inner--\r\n"
                                "\r\n--outer\r\n"
                                "Content-Type: application/octet-stream\r\n"
                                "Content-Transfer-Encoding: Base64\r\n"
                                "\r\n"
                                "AP8Q\r\n"
                                "\r\n--outer--\r\n";
    const QByteArray bytes = stored(message);
    EXPECT_EQ(bytes, expected);
    EXPECT_GE(message.GetStoredLength(), bytes.size());

    // Insertion before a given part.
    CMimeBody* first = message.AddPart("text/plain", inner);
    ASSERT_EQ(message.GetPartCount(), 3);
    EXPECT_EQ(message.GetPart(0), first);
    EXPECT_EQ(message.GetPart(1), inner);
    EXPECT_EQ(message.GetPart(2), base64);
}

TEST(MimeBodyTest, PartsWithoutABoundaryCannotBeStored) {
    const CMimeCoderRegistry registry;
    CMimeMessage message(registry);
    message.AddPart();
    char buffer[256];
    EXPECT_EQ(message.StoreTo(buffer, sizeof buffer), -1);
    // Also when the part without a boundary is nested.
    CMimeMessage outer(registry);
    outer.AssignBoundary("x");
    outer.AddPart()->AddPart();
    EXPECT_EQ(outer.StoreTo(buffer, sizeof buffer), -1);
}

TEST(MimeBodyTest, TooLittleRoomStopsWritingWhereTheRulesSay) {
    const CMimeCoderRegistry registry;
    CMimeMessage message(registry);
    message.AssignBoundary("B"); // delimiter 7 bytes, end delimiter 9
    addTextPart(message, "a", "1");
    addTextPart(message, "b", "2");
    const QByteArray full = stored(message);
    const QByteArray header = "Content-Type: multipart/mixed; boundary=\"B\"\r\n\r\n";
    const QByteArray part = "Content-Disposition: form-data; name=\"a\"\r\n\r\n1";
    ASSERT_TRUE(full.startsWith(header.chopped(2) + "\r\n--B\r\n" + part));

    QByteArray buffer(full.size() + 16, '#');
    const auto store = [&](qsizetype room) {
        buffer.fill('#');
        const qsizetype count = message.StoreTo(buffer.data(), room);
        EXPECT_EQ(buffer.mid(room), QByteArray(buffer.size() - room, '#'));
        return count >= 0 ? buffer.left(count) : QByteArray("error");
    };
    EXPECT_EQ(store(full.size()), full);
    EXPECT_EQ(store(header.size() - 1), "");
    // Header only: not enough room for a delimiter (boundary + 6).
    EXPECT_EQ(store(header.size() + 4), header);
    // Room for the first part but not for the second delimiter nor the end delimiter.
    const qsizetype afterFirst = header.size() - 2 + 7 + part.size();
    EXPECT_EQ(store(afterFirst + 6), header.chopped(2) + "\r\n--B\r\n" + part);
    // Room for the parts but not for the end delimiter (boundary + 8).
    EXPECT_EQ(store(full.size() - 1), full.chopped(9));
}

TEST(MimeBodyTest, SetContentTextTakesTheLengthOrUpToTheZero) {
    const CMimeCoderRegistry registry;
    CMimeBody body(registry);
    EXPECT_EQ(body.SetContentText("21474836480"), 11);
    EXPECT_EQ(body.GetContent(), "21474836480");
    EXPECT_EQ(body.SetContentText("ab\0cd", 5), 5);
    EXPECT_EQ(body.GetContent(), QByteArray("ab\0cd", 5));
    EXPECT_EQ(body.SetContentText("xyz", 2), 2);
    EXPECT_EQ(body.GetContent(), "xy");
}

TEST(MimeBodyTest, ContentFilesRoundTripAndFailuresAreReported) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CMimeCoderRegistry registry;
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += char(i * 7 % 256);
    const QString source = dir.filePath(QStringLiteral("in.bin"));
    WriteBytes(source, bytes);

    CMimeBody body(registry);
    ASSERT_TRUE(body.ReadFromFile(source));
    EXPECT_EQ(body.GetContent(), bytes);
    const QString copy = dir.filePath(QStringLiteral("out.bin"));
    WriteBytes(copy, "old and longer content that must be replaced entirely");
    ASSERT_TRUE(body.WriteToFile(copy));
    EXPECT_EQ(ReadBytes(copy), bytes);

    // Empty file: empty content, no error; empty content: an empty file.
    const QString empty = dir.filePath(QStringLiteral("empty"));
    WriteBytes(empty, {});
    ASSERT_TRUE(body.ReadFromFile(empty));
    EXPECT_TRUE(body.GetContent().isEmpty());
    ASSERT_TRUE(body.WriteToFile(copy));
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_EQ(QFileInfo(copy).size(), 0);

    TraceCapture trace;
    // A file that cannot be opened: false, and nothing traced.
    body.SetContent("kept?");
    EXPECT_FALSE(body.ReadFromFile(dir.filePath(QStringLiteral("missing"))));
    EXPECT_TRUE(body.GetContent().isEmpty());
    EXPECT_FALSE(trace.lines().join(QLatin1Char('\n')).contains(QStringLiteral("CMimeBody")));
    // A folder opens but cannot be read: false with the trace line of the read error.
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(body.ReadFromFile(folder));
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("CMimeBody::ReadFromFile : error 21")));

    // Writing into a folder that does not exist fails and creates nothing.
    body.SetContent("data");
    const QString nowhere = dir.filePath(QStringLiteral("no/such/file"));
    EXPECT_FALSE(body.WriteToFile(nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST(MimeBodyTest, LoadFromReadsBackWhatStoreToWrote) {
    const CMimeCoderRegistry registry;
    CMimeMessage message(registry);
    message.AssignBoundary("__=_Part_Boundary_004_012345.000042");
    message.SetContentText("This is a preamble.");
    addTextPart(message, "MAX_FILE_SIZE", "21474836480");
    CMimeBody* inner = message.AddPart("multipart/alternative");
    inner->AssignBoundary("inner-boundary");
    CMimeBody* qp = inner->AddPart("text/plain; charset=iso-8859-1");
    qp->PutField(CMimeHeaderLine("Content-Transfer-Encoding", "quoted-printable"));
    qp->SetContent("Caf\xE9 = " + QByteArray(100, 'x') + " \r\n.\r\nend ");
    CMimeBody* binary = message.AddPart("application/octet-stream");
    binary->PutField(CMimeHeaderLine("Content-Transfer-Encoding", "base64"));
    QByteArray data;
    for (int i = 0; i < 1000; ++i)
        data += char(i % 253);
    binary->SetContent(data);
    addTextPart(message, "userfile", "raw\r\n--not-the-boundary\r\n\r\nbytes");
    const QByteArray bytes = stored(message);

    CMimeMessage read(registry);
    EXPECT_EQ(read.LoadFrom(bytes.constData(), bytes.size()), bytes.size());
    EXPECT_EQ(read.GetBoundaryValue(), "__=_Part_Boundary_004_012345.000042");
    EXPECT_EQ(read.GetContent(), "This is a preamble.");
    ASSERT_EQ(read.GetPartCount(), 4);
    EXPECT_EQ(read.GetPart(0)->GetContent(), "21474836480");
    EXPECT_EQ(read.GetPart(0)->FindField("Content-Disposition")->GetFieldParameter("name"),
              "MAX_FILE_SIZE");
    ASSERT_EQ(read.GetPart(1)->GetPartCount(), 1);
    EXPECT_EQ(read.GetPart(1)->GetPart(0)->GetContent(), qp->GetContent());
    EXPECT_EQ(read.GetPart(2)->GetContent(), data);
    EXPECT_EQ(read.GetPart(3)->GetContent(), "raw\r\n--not-the-boundary\r\n\r\nbytes");
    // Stored again, the message is the same bytes.
    EXPECT_EQ(stored(read), bytes);
}

TEST(MimeBodyTest, LoadFromReadsForeignAndDamagedMessagesWithoutHarm) {
    const CMimeCoderRegistry registry;
    // Line feeds only, an unquoted boundary, a preamble and an epilogue.
    const QByteArray foreign = "MIME-Version: 1.0\n"
                               "Content-Type: multipart/mixed; boundary=simple\n"
                               "\n"
                               "preamble\n"
                               "--simple\n"
                               "\n"
                               "implicit text\n"
                               "--simple  \n"
                               "Content-Type: text/plain\n"
                               "\n"
                               "second\n"
                               "--simple--\n"
                               "epilogue\n";
    CMimeMessage message(registry);
    message.LoadFrom(foreign.constData(), foreign.size());
    EXPECT_EQ(message.GetContent(), "preamble");
    ASSERT_EQ(message.GetPartCount(), 2);
    EXPECT_EQ(message.GetPart(0)->GetContent(), "implicit text");
    EXPECT_EQ(message.GetPart(1)->GetContent(), "second");

    // Cut short: the last part runs to the end.
    const QByteArray cut = foreign.left(foreign.indexOf("second") + 3);
    message.LoadFrom(cut.constData(), cut.size());
    ASSERT_EQ(message.GetPartCount(), 2);
    EXPECT_EQ(message.GetPart(1)->GetContent(), "sec");

    // Nested far too deep: read down to a limit, no deeper, and no crash.
    QByteArray deep;
    for (int i = 0; i < 5000; ++i)
        deep += "Content-Type: multipart/mixed; boundary=b" + QByteArray::number(i) +
                "\r\n\r\n--b" + QByteArray::number(i) + "\r\n";
    message.LoadFrom(deep.constData(), deep.size());
    int depth = 0;
    for (const CMimeBody* body = &message; body->GetPartCount() > 0; body = body->GetPart(0))
        ++depth;
    EXPECT_GT(depth, 10);
    EXPECT_LT(depth, 100);

    // Garbage of every kind.
    QByteArray garbage;
    for (int i = 0; i < 4000; ++i)
        garbage += "\r\n-:=?;\"\xFF\0b"[i * 31 % 11];
    garbage.prepend("Content-Type: multipart/x; boundary=b\r\n");
    message.LoadFrom(garbage.constData(), garbage.size());
    message.LoadFrom(nullptr, 0);
    EXPECT_EQ(message.GetPartCount(), 0);
    EXPECT_TRUE(message.GetFields().isEmpty());
}

TEST(MimeMessageTest, DateFieldInTheMailFormat) {
    const CMimeCoderRegistry registry;
    CMimeMessage message(registry);
    message.SetDate(QDateTime(QDate(2011, 3, 6), QTime(9, 5, 7), QTimeZone(3600)));
    EXPECT_EQ(message.GetFieldValue("Date"), "Sun, 6 Mar 2011 09:05:07 +0100");
    message.SetDate(
        QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59), QTimeZone(-(5 * 3600 + 1800))));
    EXPECT_EQ(message.GetFieldValue("Date"), "Fri, 31 Dec 1999 23:59:59 -0530");
    message.SetDate(QDateTime(QDate(2024, 2, 29), QTime(0, 0, 0), QTimeZone(0)));
    EXPECT_EQ(message.GetFieldValue("Date"), "Thu, 29 Feb 2024 00:00:00 +0000");
    EXPECT_EQ(message.GetFields().size(), 1);
}

} // namespace
