// The media types the MIME classes know by name, and the content type of a file extension.
#pragma once

#include <QByteArray>

class CMimeMediaType {
public:
    // Indices of the known top-level types; anything else is Other.
    enum Type { Text, Image, Audio, Video, Application, Multipart, Message, Other };

    // The index of the type of "type" or "type/subtype" (case ignored).
    static Type TypeIndex(const QByteArray& mediaType);
    // The name of a type index ("text" ... "message"); empty for Other.
    static QByteArray TypeName(Type type);
    // "type/subtype" for a file extension (with or without its dot, case ignored);
    // "application/octet-stream" for an extension not in the table.
    static QByteArray ContentTypeForExtension(const QByteArray& extension);
};
