// The upload request of a ringtone: the multipart body and the request headers of the HTTP POST.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// What buildUploadRequest hands to the upload.
struct UploadRequest {
    QByteArray body; // the serialized multipart body; its size is the Content-length
    QString headers; // the extra request headers, each line ended by CRLF
};

// Choices a caller may fix in place of the defaults.
struct UploadRequestOptions {
    QByteArray boundary;            // empty: a generated one
    qint64 maxBodySize = INT32_MAX; // the largest body block that may be taken
};

// The field value of the size-limit part.
inline constexpr char kUploadMaxFileSize[] = "21474836480";

// Builds the body (the form fields MAX_FILE_SIZE and userfile, the latter with the bytes of the
// file at filePath under the name uploadFileName(ringtoneName)) and the header block that
// announces it as multipart/form-data with its boundary. Returns true when both are ready; throws
// COxaException with code 128 when the file cannot be read and 129 when the body block cannot be
// had. On a throw the request is left as it was.
bool buildUploadRequest(const QString& filePath, const QString& ringtoneName,
                        UploadRequest& request, const UploadRequestOptions& options = {});

// The name the ringtone is uploaded under: the ringtone name with its extension replaced by
// ".ogg"; or, when its characters do not pass isSingleByteName, the local date as
// "yyyymmdd.ogg".
QString uploadFileName(const QString& ringtoneName);
// The name with its extension (the text from the last "." of its last path element) replaced.
// An extension without a leading "." gets one.
QString replaceExtension(const QString& name, const QString& extension);
// True when every UTF-16 unit of the name lies from 0x0001 to 0x00FF, or every one is a non-zero
// multiple of 0x0100; an empty name passes.
bool isSingleByteName(const QString& name);
// The text in the 8-bit code page of the upload (Latin-1); empty when a character has no place
// in it.
QByteArray toUploadCodePage(const QString& text);
