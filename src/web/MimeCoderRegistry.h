// The MIME coders and body-part kinds by name: transfer encodings, header-field coders, media
// types.
#pragma once

#include <QByteArray>

#include <functional>
#include <memory>
#include <vector>

class CMimeBody;
class CMimeCodeBase;
class CFieldCodeBase;

// One registry serves the MIME objects built with it; it must outlive them. Names compare
// without regard to case.
class CMimeCoderRegistry {
public:
    using CoderFactory = std::function<std::unique_ptr<CMimeCodeBase>()>;
    using FieldCoderFactory = std::function<std::unique_ptr<CFieldCodeBase>()>;
    using BodyFactory = std::function<std::unique_ptr<CMimeBody>(const CMimeCoderRegistry&)>;

    // Registers quoted-printable and base64, and the coders of the text, address and parameter
    // fields; no media types.
    CMimeCoderRegistry();
    CMimeCoderRegistry(const CMimeCoderRegistry&) = delete;
    CMimeCoderRegistry& operator=(const CMimeCoderRegistry&) = delete;
    ~CMimeCoderRegistry();

    // Adding a name that is already there replaces its factory.
    void RegisterCoder(const QByteArray& encoding, CoderFactory factory);
    void UnregisterCoder(const QByteArray& encoding);
    void RegisterFieldCoder(const QByteArray& fieldName, FieldCoderFactory factory);
    void RegisterMediaType(const QByteArray& mediaType, BodyFactory factory);

    // A new coder of the transfer encoding; an empty name means "7bit". An unknown encoding gets
    // the plain coder, which copies bytes unchanged.
    std::unique_ptr<CMimeCodeBase> GetCoder(const QByteArray& encoding) const;
    // A new coder of the header field, set up with the default charset and the folding switch;
    // an unknown field gets the plain field coder.
    std::unique_ptr<CFieldCodeBase> GetFieldCoder(const QByteArray& fieldName) const;
    // A new body part of the media type ("type/subtype", or just the type; empty means "text"):
    // made by the factory registered for the whole name or for its type, else a plain body.
    std::unique_ptr<CMimeBody> CreateBodyPart(const QByteArray& mediaType) const;

    // The charset of header values that name none; empty: values are written as they stand.
    void SetDefaultCharset(const QByteArray& charset) { m_defaultCharset = charset; }
    // Folding of long header lines; switching it on registers "7bit" and "8bit" with the coder
    // that breaks long lines, switching it off removes them again.
    void SetAutoFolding(bool on);

private:
    template <class Factory> struct Entry {
        QByteArray name;
        Factory factory;
    };
    template <class Factory>
    static void Put(std::vector<Entry<Factory>>& list, const QByteArray& name, Factory factory);
    template <class Factory>
    static const Factory* Find(const std::vector<Entry<Factory>>& list, const QByteArray& name);

    std::vector<Entry<CoderFactory>> m_coders;
    std::vector<Entry<FieldCoderFactory>> m_fieldCoders;
    std::vector<Entry<BodyFactory>> m_mediaTypes;
    QByteArray m_defaultCharset;
    bool m_autoFolding = false;
};
