// The message the upload builds: the multipart body and header fields of the ringtone upload byte
// for byte, the file names as they are sent (Latin-1, neither encoded nor folded), and the
// failures. The service's own multipart reader takes the same bytes in the upload tests.
#include "web/UploadRequest.h"

#include "app/OxaException.h"
#include "support/TestSupport.h"
#include "support/TraceCapture.h"
#include "util/Clock.h"
#include "web/MimeCoderRegistry.h"
#include "web/MimeMessage.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kBoundary = "__=_Part_Boundary_007_012345.006789";

// The upload's body written out: the message header (the first delimiter takes its last line
// break), the MAX_FILE_SIZE part and the userfile part.
QByteArray UploadBody(const QByteArray& boundary, const QByteArray& fileName,
                      const QByteArray& bytes) {
    return "Content-Type: multipart/mixed; boundary=\"" + boundary +
           "\"\r\n"
           "\r\n--" +
           boundary +
           "\r\n"
           "Content-Disposition: form-data; name=\"MAX_FILE_SIZE\"\r\n"
           "\r\n"
           "21474836480\r\n--" +
           boundary +
           "\r\n"
           "Content-Disposition: form-data; name=\"userfile\"; filename=\"" +
           fileName + "\"\r\n\r\n" + bytes + "\r\n--" + boundary + "--\r\n";
}

QByteArray UploadHeaders(const QByteArray& boundary, qsizetype bodySize) {
    return "Accept: text/*\r\nContent-type: multipart/form-data; boundary=" + boundary +
           "\r\nContent-length: " + QByteArray::number(bodySize) + "\r\n";
}

// Bytes of every value, line breaks, zeros and a delimiter look-alike, as an OGG file may hold.
QByteArray RingtoneBytes() {
    QByteArray bytes = "OggS";
    for (int i = 0; i < 70000; ++i)
        bytes += char((i * 131 + i / 256) % 256);
    return bytes + "\r\n--" + kBoundary + "\r\n\r\n";
}

QString DateName() {
    const DateTimeValue today = GetLocalTimeValue();
    return QString::asprintf("%04d%02d%02d.ogg", today.year, today.month, today.day);
}

QByteArray Stored(const CMimeHeader& body) {
    QByteArray buffer(body.GetStoredLength(), '#');
    return buffer.left(body.StoreTo(buffer.data(), buffer.size()));
}

class UploadMessageTest : public ::testing::Test {
protected:
    // The upload of a file with the bytes under the ringtone name (boundary empty: generated).
    UploadRequest build(const QByteArray& bytes, const QString& name,
                        const QByteArray& boundary = kBoundary) {
        testsupport::WriteBytes(m_file, bytes);
        UploadRequest request;
        EXPECT_TRUE(buildUploadRequest(m_file, name, request, UploadRequestOptions{boundary}));
        return request;
    }

    QTemporaryDir m_dir;
    QString m_file = m_dir.filePath(QStringLiteral("temp.upl"));
};

} // namespace

TEST_F(UploadMessageTest, BodyAndHeadersAreByteExactWithGivenAndGeneratedBoundaries) {
    const QByteArray bytes = RingtoneBytes();
    UploadRequest request = build(bytes, QStringLiteral("My Song.mp3"));
    EXPECT_TRUE(request.body == UploadBody(kBoundary, "My Song.ogg", bytes));
    EXPECT_EQ(request.headers.toLatin1(), UploadHeaders(kBoundary, request.body.size()));
    // An empty ringtone file leaves the file part empty; that is no error.
    request = build({}, QStringLiteral("empty.wav"));
    EXPECT_EQ(request.body, UploadBody(kBoundary, "empty.ogg", {}));

    // Generated boundaries: the counter runs 1 to 9 and round again, so that boundaries made in
    // the same second differ; body and headers carry the same one.
    static const QRegularExpression format(
        QStringLiteral(R"(boundary=(__=_Part_Boundary_(\d{3})_\d{6}\.\d{6})\r\n)"));
    QList<int> counters;
    QByteArray previous;
    for (int i = 0; i < 12; ++i) {
        request = build("ogg", QStringLiteral("a.mp3"), {});
        const QRegularExpressionMatch match = format.match(request.headers);
        ASSERT_TRUE(match.hasMatch()) << request.headers.toStdString();
        const QByteArray boundary = match.captured(1).toLatin1();
        EXPECT_EQ(request.body, UploadBody(boundary, "a.ogg", "ogg"));
        EXPECT_EQ(request.headers.toLatin1(), UploadHeaders(boundary, request.body.size()));
        EXPECT_NE(boundary, previous);
        previous = boundary;
        counters << match.captured(2).toInt();
    }
    for (qsizetype i = 1; i < counters.size(); ++i)
        EXPECT_EQ(counters[i], counters[i - 1] % 9 + 1) << "after " << counters[i - 1];
}

TEST_F(UploadMessageTest, FileNamesAreSentAsLatin1WithoutCodingOrFolding) {
    const QString longName = QString(200, QLatin1Char('n'));
    const std::pair<QString, QByteArray> names[] = {
        {QStringLiteral("Caf\u00e9 \u00ff.wav"), "Caf\xE9 \xFF.ogg"},
        {QStringLiteral("no extension"), "no extension.ogg"},
        {QStringLiteral("a.b.c"), "a.b.ogg"},
        {QStringLiteral("dir.v1/track"), "dir.v1/track.ogg"},
        {QStringLiteral("dir.v1\\track"), "dir.v1\\track.ogg"},
        {QStringLiteral("already.ogg"), "already.ogg"},
        {QString(), ".ogg"},
        {QStringLiteral("with; semicolon and \"quotes\".mp3"),
         "with; semicolon and \"quotes\".ogg"},
        {longName + QStringLiteral(".mp3"), longName.toLatin1() + ".ogg"},
    };
    for (const auto& [name, sent] : names)
        EXPECT_EQ(build("x", name).body, UploadBody(kBoundary, sent, "x")) << name.toStdString();

    // Names with characters beyond Latin-1 are sent as the date of the day.
    for (const QString& name :
         {QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442.mp3"),
          QStringLiteral("mixed \u0100 name.mp3"), QStringLiteral("Song \u266b.wma")}) {
        const QString before = DateName();
        const QByteArray body = build("x", name).body;
        const QString after = DateName();
        EXPECT_TRUE(body == UploadBody(kBoundary, before.toLatin1(), "x") ||
                    body == UploadBody(kBoundary, after.toLatin1(), "x"))
            << body.constData();
    }
}

TEST_F(UploadMessageTest, FailuresThrowTheirStringTableCodesAndLeaveTheRequestAlone) {
    UploadRequest request{"untouched", QStringLiteral("untouched")};
    const auto codeOf = [&request](const QString& path, const UploadRequestOptions& options) {
        try {
            buildUploadRequest(path, QStringLiteral("song.mp3"), request, options);
        } catch (const COxaException& e) {
            EXPECT_TRUE(e.message().isEmpty());
            return e.code();
        }
        return 0;
    };
    TraceCapture trace;
    // The ringtone file is missing (nothing traced), or it cannot be read (the error traced).
    EXPECT_EQ(codeOf(m_dir.filePath(QStringLiteral("missing.upl")), {}), 128);
    EXPECT_TRUE(trace.lines().isEmpty());
    EXPECT_EQ(codeOf(m_dir.path(), {}), 128);
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("CMimeBody::ReadFromFile : error 21")));

    // The body block cannot be had. The block asked for is the length estimate, two bytes more
    // than the body (the first delimiter takes the place of a line break).
    testsupport::WriteBytes(m_file, QByteArray(1000, 'o'));
    const QByteArray expected = UploadBody("b", "song.ogg", QByteArray(1000, 'o'));
    EXPECT_EQ(codeOf(m_file, {"b", expected.size() + 1}), 129);
    EXPECT_EQ(request.body, "untouched");
    EXPECT_EQ(request.headers, QStringLiteral("untouched"));
    EXPECT_EQ(codeOf(m_file, {"b", expected.size() + 2}), 0);
    EXPECT_EQ(request.body, expected);
}

TEST(MimeMessageTest, StoringIntoLessRoomNeverWritesBeyondIt) {
    const CMimeCoderRegistry registry;
    CMimeMessage message(registry);
    message.AssignBoundary("B");
    for (const QByteArray& name : {QByteArray("MAX_FILE_SIZE"), QByteArray("userfile")}) {
        CMimeHeaderLine field("Content-Disposition", "form-data");
        field.SetFieldParameter("name", name);
        CMimeBody* part = message.AddPart();
        part->PutField(field);
        part->SetContentText(name.constData());
    }
    const QByteArray bytes = Stored(message);
    QByteArray buffer(bytes.size() + 8, '#');
    for (qsizetype room = 0; room < bytes.size(); ++room) {
        EXPECT_LE(message.StoreTo(buffer.data(), room), room);
        EXPECT_EQ(buffer.mid(room), QByteArray(buffer.size() - room, '#')) << room;
    }
    EXPECT_EQ(message.StoreTo(buffer.data(), buffer.size()), bytes.size());
}
