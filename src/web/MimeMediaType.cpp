// The media types the MIME classes know by name.
#include "web/MimeMediaType.h"

#include <iterator>

namespace {

// The type names in index order; the video type keeps the spelling the program has always used.
constexpr const char* kTypeNames[] = {"text",        "image",     "audio",  "vedio",
                                      "application", "multipart", "message"};

struct ExtensionType {
    const char* extension;
    CMimeMediaType::Type type;
    const char* subtype;
};

constexpr ExtensionType kExtensions[] = {
    {"xml", CMimeMediaType::Application, "xml"},
    {"doc", CMimeMediaType::Application, "msword"},
    {"rtf", CMimeMediaType::Application, "rtf"},
    {"xls", CMimeMediaType::Application, "vnd.ms-excel"},
    {"ppt", CMimeMediaType::Application, "vnd.ms-powerpoint"},
    {"pdf", CMimeMediaType::Application, "pdf"},
    {"zip", CMimeMediaType::Application, "zip"},
    {"jpeg", CMimeMediaType::Image, "jpeg"},
    {"jpg", CMimeMediaType::Image, "jpeg"},
    {"gif", CMimeMediaType::Image, "gif"},
    {"tif", CMimeMediaType::Image, "tiff"},
    {"tiff", CMimeMediaType::Image, "tiff"},
    {"wav", CMimeMediaType::Audio, "basic"},
    {"mp3", CMimeMediaType::Audio, "basic"},
    {"mpg", CMimeMediaType::Video, "mpeg"},
    {"mpeg", CMimeMediaType::Video, "mpeg"},
};

} // namespace

CMimeMediaType::Type CMimeMediaType::TypeIndex(const QByteArray& mediaType) {
    QByteArray type = mediaType.trimmed();
    const qsizetype slash = type.indexOf('/');
    if (slash >= 0)
        type.truncate(slash);
    for (int i = 0; i < int(std::size(kTypeNames)); ++i)
        if (type.compare(kTypeNames[i], Qt::CaseInsensitive) == 0)
            return Type(i);
    return Other;
}

QByteArray CMimeMediaType::TypeName(Type type) {
    return type >= Text && type < Other ? QByteArray(kTypeNames[type]) : QByteArray();
}

QByteArray CMimeMediaType::ContentTypeForExtension(const QByteArray& extension) {
    const QByteArray name = extension.startsWith('.') ? extension.mid(1) : extension;
    for (const ExtensionType& entry : kExtensions)
        if (name.compare(entry.extension, Qt::CaseInsensitive) == 0)
            return TypeName(entry.type) + '/' + entry.subtype;
    return "application/octet-stream";
}
