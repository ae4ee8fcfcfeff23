// Tests of the upload request: the body byte for byte, read by Python's own multipart reader,
// the file-name rules and the failures.
#include "web/UploadRequest.h"
#include "app/OxaException.h"
#include "app/StringTable.h"
#include "support/TestSupport.h"
#include "support/TraceCapture.h"
#include "util/Clock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

using testsupport::WriteBytes;

const QByteArray kCrlf = "\r\n";

// The body as the upload's byte table lays it out, row by row.
QByteArray expectedBody(const QByteArray& boundary, const QByteArray& fileName,
                        const QByteArray& fileBytes) {
    QByteArray body;
    body += "Content-Type" + QByteArray(": ") + "multipart/mixed" + "; " + "boundary" + "=" + '"' +
            boundary + '"' + kCrlf;  // 1
    body += kCrlf;                   // 2
    body += "--" + boundary + kCrlf; // 3
    body += "Content-Disposition" + QByteArray(": ") + "form-data" + "; " + "name" + "=" +
            "\"MAX_FILE_SIZE\"" + kCrlf;     // 4
    body += kCrlf;                           // 5
    body += "21474836480";                   // 6
    body += kCrlf + "--" + boundary + kCrlf; // 7
    body += "Content-Disposition" + QByteArray(": ") + "form-data" + "; " + "name" + "=" +
            "\"userfile\"" + "; " + "filename" + "=" + '"' + fileName + '"' + kCrlf; // 8
    body += kCrlf;                                                                   // 9
    body += fileBytes;                                                               // 10
    body += kCrlf + "--" + boundary + "--" + kCrlf;                                  // 11
    return body;
}

QByteArray expectedHeaders(const QByteArray& boundary, qsizetype bodySize) {
    return "Accept: text/*\r\nContent-type: multipart/form-data; boundary=" + boundary +
           "\r\nContent-length: " + QByteArray::number(bodySize) + "\r\n";
}

// Bytes of every value, line breaks and zeros among them, as an OGG file would hold them.
QByteArray ringtoneBytes() {
    QByteArray bytes = "OggS";
    for (int i = 0; i < 70000; ++i)
        bytes += char((i * 131 + i / 256) % 256);
    bytes += "\r\n--\r\n\r\n";
    return bytes;
}

// The boundary of a header block.
QByteArray headerBoundary(const QString& headers) {
    static const QRegularExpression boundary(QStringLiteral("boundary=([^\r]*)\r\n"));
    return boundary.match(headers).captured(1).toLatin1();
}

QString dateName() {
    const DateTimeValue today = GetLocalTimeValue();
    return QString::asprintf("%04d%02d%02d.ogg", today.year, today.month, today.day);
}

// Reads the body with Python's email package, given the Content-Type of the header block, and
// reports each part's form-field name, file name and content. The bytes are read as Latin-1, the
// code page the request is written in, so that the reader sees the file name's own characters.
constexpr char kMultipartReader[] = R"(
import base64, email.parser, json, sys
content_type = sys.argv[1]
body = sys.stdin.buffer.read().decode("latin-1")
message = email.parser.Parser().parsestr("Content-Type: " + content_type + "\r\n\r\n" + body)
parts = []
for part in message.get_payload():
    parts.append({
        "name": part.get_param("name", header="content-disposition"),
        "filename": part.get_filename(),
        "data": base64.b64encode(part.get_payload(decode=True)).decode(),
        "defects": [type(d).__name__ for d in part.defects],
    })
print(json.dumps({
    "multipart": message.is_multipart(),
    "type": message.get_content_type(),
    "boundary": message.get_boundary(),
    "defects": [type(d).__name__ for d in message.defects],
    "parts": parts,
}))
)";

TEST(UploadRequestTest, BodyAndHeadersFollowTheTableByteForByte) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("temp.upl"));
    const QByteArray bytes = ringtoneBytes();
    WriteBytes(file, bytes);

    const QByteArray boundary = "__=_Part_Boundary_007_012345.006789";
    UploadRequest request;
    ASSERT_TRUE(buildUploadRequest(file, QStringLiteral("My Song.mp3"), request,
                                   UploadRequestOptions{boundary}));
    const QByteArray expected = expectedBody(boundary, "My Song.ogg", bytes);
    ASSERT_EQ(request.body.size(), expected.size());
    EXPECT_TRUE(request.body == expected);
    EXPECT_EQ(request.headers.toLatin1(), expectedHeaders(boundary, expected.size()));

    // An empty ringtone file leaves row 10 empty; that is no error.
    WriteBytes(file, {});
    ASSERT_TRUE(buildUploadRequest(file, QStringLiteral("empty.wav"), request,
                                   UploadRequestOptions{boundary}));
    EXPECT_EQ(request.body, expectedBody(boundary, "empty.ogg", {}));
    EXPECT_EQ(request.headers.toLatin1(), expectedHeaders(boundary, request.body.size()));
}

TEST(UploadRequestTest, GeneratedBoundariesDifferAndMatchBetweenBodyAndHeaders) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("temp.upl"));
    WriteBytes(file, "ogg bytes");
    UploadRequest first;
    UploadRequest second;
    ASSERT_TRUE(buildUploadRequest(file, QStringLiteral("a.mp3"), first));
    ASSERT_TRUE(buildUploadRequest(file, QStringLiteral("a.mp3"), second));
    for (const UploadRequest* request : {&first, &second}) {
        const QByteArray boundary = headerBoundary(request->headers);
        EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^__=_Part_Boundary_\d{3}_\d{6}\.\d{6}$)"))
                        .match(QString::fromLatin1(boundary))
                        .hasMatch())
            << boundary.constData();
        EXPECT_EQ(request->body, expectedBody(boundary, "a.ogg", "ogg bytes"));
        EXPECT_EQ(request->headers.toLatin1(), expectedHeaders(boundary, request->body.size()));
    }
    EXPECT_NE(headerBoundary(first.headers), headerBoundary(second.headers));
}

TEST(UploadRequestTest, PythonsMultipartReaderFindsBothFieldsAndTheExactFile) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("temp.upl"));
    const QByteArray bytes = ringtoneBytes();
    WriteBytes(file, bytes);

    UploadRequest request;
    ASSERT_TRUE(buildUploadRequest(file, QStringLiteral("Caf\u00e9 M\u00fcller.mp3"), request));
    static const QRegularExpression contentType(QStringLiteral("Content-type: ([^\r]*)\r\n"));
    const QString type = contentType.match(request.headers).captured(1);
    ASSERT_FALSE(type.isEmpty()) << request.headers.toStdString();

    QProcess process;
    process.start(python, {QStringLiteral("-c"), QString::fromLatin1(kMultipartReader), type});
    ASSERT_TRUE(process.waitForStarted());
    process.write(request.body);
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QJsonObject result = QJsonDocument::fromJson(process.readAllStandardOutput()).object();

    EXPECT_TRUE(result[QStringLiteral("multipart")].toBool());
    EXPECT_EQ(result[QStringLiteral("type")].toString(), QStringLiteral("multipart/form-data"));
    EXPECT_EQ(result[QStringLiteral("boundary")].toString().toLatin1(),
              headerBoundary(request.headers));
    EXPECT_TRUE(result[QStringLiteral("defects")].toArray().isEmpty());
    const QJsonArray parts = result[QStringLiteral("parts")].toArray();
    ASSERT_EQ(parts.size(), 2);
    const QJsonObject size = parts[0].toObject();
    EXPECT_EQ(size[QStringLiteral("name")].toString(), QStringLiteral("MAX_FILE_SIZE"));
    EXPECT_TRUE(size[QStringLiteral("filename")].isNull());
    EXPECT_EQ(QByteArray::fromBase64(size[QStringLiteral("data")].toString().toLatin1()),
              "21474836480");
    const QJsonObject userfile = parts[1].toObject();
    EXPECT_EQ(userfile[QStringLiteral("name")].toString(), QStringLiteral("userfile"));
    EXPECT_EQ(userfile[QStringLiteral("filename")].toString(),
              QStringLiteral("Caf\u00e9 M\u00fcller.ogg"));
    const QByteArray data =
        QByteArray::fromBase64(userfile[QStringLiteral("data")].toString().toLatin1());
    EXPECT_EQ(data.size(), bytes.size());
    EXPECT_TRUE(data == bytes);
    for (const QJsonValue& part : parts)
        EXPECT_TRUE(part.toObject()[QStringLiteral("defects")].toArray().isEmpty());
}

TEST(UploadRequestTest, FileNameRules) {
    EXPECT_EQ(uploadFileName(QStringLiteral("song.mp3")), QStringLiteral("song.ogg"));
    EXPECT_EQ(uploadFileName(QStringLiteral("My Song.mp3")), QStringLiteral("My Song.ogg"));
    EXPECT_EQ(uploadFileName(QStringLiteral("Caf\u00e9 \u00ff.wav")),
              QStringLiteral("Caf\u00e9 \u00ff.ogg"));
    EXPECT_EQ(uploadFileName(QStringLiteral("no extension")), QStringLiteral("no extension.ogg"));
    EXPECT_EQ(uploadFileName(QStringLiteral("a.b.c")), QStringLiteral("a.b.ogg"));
    EXPECT_EQ(uploadFileName(QStringLiteral("dir.v1/track")), QStringLiteral("dir.v1/track.ogg"));
    EXPECT_EQ(uploadFileName(QStringLiteral("dir.v1\\track")), QStringLiteral("dir.v1\\track.ogg"));
    EXPECT_EQ(uploadFileName(QStringLiteral("already.ogg")), QStringLiteral("already.ogg"));
    EXPECT_EQ(uploadFileName(QString()), QStringLiteral(".ogg"));

    EXPECT_EQ(replaceExtension(QStringLiteral("x.mp3"), QStringLiteral("ogg")),
              QStringLiteral("x.ogg"));
    EXPECT_EQ(replaceExtension(QStringLiteral("x.mp3"), QString()), QStringLiteral("x"));

    EXPECT_TRUE(isSingleByteName(QString()));
    EXPECT_TRUE(isSingleByteName(QStringLiteral("\u0001 \u00ff")));
    EXPECT_TRUE(isSingleByteName(QStringLiteral("\u0100\u0200\uff00")));
    EXPECT_FALSE(isSingleByteName(QStringLiteral("\u0100a")));
    EXPECT_FALSE(isSingleByteName(QStringLiteral("\u0101")));
    EXPECT_FALSE(isSingleByteName(QString(QChar(0))));

    EXPECT_EQ(toUploadCodePage(QStringLiteral("Caf\u00e9")), "Caf\xE9");
    EXPECT_EQ(toUploadCodePage(QStringLiteral("\u0100")), "");

    // Names with characters beyond Latin-1 are replaced by the date of the day.
    for (const QString& name :
         {QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442.mp3"),
          QStringLiteral("mixed \u0100 name.mp3"), QStringLiteral("\u65e5\u672c.wma")}) {
        const QString before = dateName();
        const QString fileName = uploadFileName(name);
        const QString after = dateName();
        EXPECT_TRUE(fileName == before || fileName == after) << fileName.toStdString();
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral(R"(^\d{8}\.ogg$)")).match(fileName).hasMatch());
    }
}

TEST(UploadRequestTest, NameOutsideLatin1IsSentAsTheDateName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("temp.upl"));
    WriteBytes(file, "x");
    const QByteArray boundary = "b";
    UploadRequest request;
    const QString before = dateName();
    ASSERT_TRUE(buildUploadRequest(file, QStringLiteral("Song \u266b.mp3"), request,
                                   UploadRequestOptions{boundary}));
    const QString after = dateName();
    EXPECT_TRUE(request.body == expectedBody(boundary, before.toLatin1(), "x") ||
                request.body == expectedBody(boundary, after.toLatin1(), "x"))
        << request.body.constData();
}

TEST(UploadRequestTest, FailuresThrowTheirStringTableCodesAndLeaveTheRequestAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    UploadRequest request;
    request.body = "untouched";
    request.headers = QStringLiteral("untouched");
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
    // The ringtone file is missing: 128, nothing traced.
    EXPECT_EQ(codeOf(dir.filePath(QStringLiteral("missing.upl")), {}), 128);
    EXPECT_FALSE(trace.lines().join(QLatin1Char('\n')).contains(QStringLiteral("ReadFromFile")));
    // It cannot be read: 128 with the read error traced.
    EXPECT_EQ(codeOf(dir.path(), {}), 128);
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("CMimeBody::ReadFromFile : error 21")));
    EXPECT_EQ(LoadString(128), QStringLiteral("Could not load ringtone"));

    // The body block cannot be had: 129. The block asked for is the length estimate, two bytes
    // more than the body here (the first delimiter takes the place of a line break).
    const QString file = dir.filePath(QStringLiteral("temp.upl"));
    WriteBytes(file, QByteArray(1000, 'o'));
    const QByteArray expected = expectedBody("b", "song.ogg", QByteArray(1000, 'o'));
    UploadRequestOptions options;
    options.boundary = "b";
    options.maxBodySize = expected.size() + 1;
    EXPECT_EQ(codeOf(file, options), 129);
    EXPECT_EQ(LoadString(129), QStringLiteral("not enough memory for upload request"));

    EXPECT_EQ(request.body, "untouched");
    EXPECT_EQ(request.headers, QStringLiteral("untouched"));

    options.maxBodySize = expected.size() + 2;
    EXPECT_EQ(codeOf(file, options), 0);
    EXPECT_EQ(request.body, expected);
}

} // namespace
