// The upload request of a ringtone.
#include "web/UploadRequest.h"

#include "app/OxaException.h"
#include "app/StringIds.h"
#include "util/Clock.h"
#include "util/Printf.h"
#include "web/MimeCoderRegistry.h"
#include "web/MimeMessage.h"

#include <new>

namespace {

constexpr char kContentDisposition[] = "Content-Disposition";

} // namespace

QString replaceExtension(const QString& name, const QString& extension) {
    const qsizetype folderEnd =
        qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1;
    qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < folderEnd)
        dot = name.size();
    QString result = name.left(dot);
    if (!extension.isEmpty() && !extension.startsWith(QLatin1Char('.')))
        result += QLatin1Char('.');
    return result + extension;
}

bool isSingleByteName(const QString& name) {
    bool allLow = true;  // every unit from 0x0001 to 0x00FF
    bool allHigh = true; // every unit a non-zero multiple of 0x0100
    for (const QChar c : name) {
        const char16_t unit = c.unicode();
        allLow = allLow && unit >= 0x0001 && unit <= 0x00FF;
        allHigh = allHigh && unit != 0 && (unit & 0x00FF) == 0;
    }
    return allLow || allHigh;
}

QByteArray toUploadCodePage(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() > 0x00FF)
            return {};
    return text.toLatin1();
}

QString uploadFileName(const QString& ringtoneName) {
    const QString name = replaceExtension(ringtoneName, QStringLiteral(".ogg"));
    if (isSingleByteName(name))
        return name;
    const DateTimeValue today = GetLocalTimeValue();
    return Sprintf("%04d%02d%02d.ogg", today.year, today.month, today.day);
}

bool buildUploadRequest(const QString& filePath, const QString& ringtoneName,
                        UploadRequest& request, const UploadRequestOptions& options) {
    const CMimeCoderRegistry registry;
    CMimeMessage message(registry);
    message.AssignBoundary(options.boundary);

    CMimeBody* sizePart = message.AddPart();
    CMimeHeaderLine sizeField(kContentDisposition, "form-data");
    sizeField.SetFieldParameter("name", "MAX_FILE_SIZE");
    sizePart->PutField(sizeField);
    sizePart->SetContentText(kUploadMaxFileSize, qsizetype(sizeof kUploadMaxFileSize - 1));

    CMimeBody* filePart = message.AddPart();
    CMimeHeaderLine fileField(kContentDisposition, "form-data");
    fileField.SetFieldParameter("name", "userfile");
    fileField.SetFieldParameter("filename", toUploadCodePage(uploadFileName(ringtoneName)));
    filePart->PutField(fileField);
    if (!filePart->ReadFromFile(filePath))
        throw COxaException(QString(), IDS_COULD_NOT_LOAD_RINGTONE);

    const qsizetype room = message.GetStoredLength();
    QByteArray body;
    if (room > options.maxBodySize)
        throw COxaException(QString(), IDS_UPLOAD_NO_MEMORY);
    try {
        body.resize(room);
    } catch (const std::bad_alloc&) {
        throw COxaException(QString(), IDS_UPLOAD_NO_MEMORY);
    }
    body.truncate(message.StoreTo(body.data(), body.size()));

    const QString boundary = QString::fromLatin1(message.GetBoundaryValue());
    request.headers = Sprintf("Accept: text/*\r\nContent-type: multipart/form-data; "
                              "boundary=%s\r\nContent-length: %d\r\n",
                              boundary, int(body.size()));
    request.body = body;
    return true;
}
