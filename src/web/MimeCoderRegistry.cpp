// The MIME coders and body-part kinds by name.
#include "web/MimeCoderRegistry.h"

#include "web/FieldCodeAddress.h"
#include "web/FieldCodeParameter.h"
#include "web/FieldCodeText.h"
#include "web/MimeBody.h"
#include "web/MimeCode7bit.h"
#include "web/MimeCodeBase64.h"
#include "web/MimeCodeQP.h"

#include <algorithm>

namespace {

template <class Coder> std::unique_ptr<CFieldCodeBase> makeFieldCoder() {
    return std::make_unique<Coder>();
}

} // namespace

CMimeCoderRegistry::CMimeCoderRegistry() {
    RegisterCoder("quoted-printable", [] { return std::make_unique<CMimeCodeQP>(false); });
    RegisterCoder("base64", [] { return std::make_unique<CMimeCodeBase64>(true); });

    for (const char* name : {"Subject", "Comments", "Content-Description"})
        RegisterFieldCoder(name, makeFieldCoder<CFieldCodeText>);
    for (const char* name : {"From", "To", "Resent-To", "Cc", "Resent-Cc", "Bcc", "Resent-Bcc",
                             "Reply-To", "Resent-Reply-To"})
        RegisterFieldCoder(name, makeFieldCoder<CFieldCodeAddress>);
    for (const char* name : {"Content-Type", "Content-Disposition"})
        RegisterFieldCoder(name, makeFieldCoder<CFieldCodeParameter>);
}

CMimeCoderRegistry::~CMimeCoderRegistry() = default;

template <class Factory>
void CMimeCoderRegistry::Put(std::vector<Entry<Factory>>& list, const QByteArray& name,
                             Factory factory) {
    for (Entry<Factory>& entry : list) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            entry.factory = std::move(factory);
            return;
        }
    }
    list.push_back(Entry<Factory>{name, std::move(factory)});
}

template <class Factory>
const Factory* CMimeCoderRegistry::Find(const std::vector<Entry<Factory>>& list,
                                        const QByteArray& name) {
    for (const Entry<Factory>& entry : list)
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry.factory;
    return nullptr;
}

void CMimeCoderRegistry::RegisterCoder(const QByteArray& encoding, CoderFactory factory) {
    Put(m_coders, encoding, std::move(factory));
}

void CMimeCoderRegistry::UnregisterCoder(const QByteArray& encoding) {
    std::erase_if(m_coders, [&encoding](const Entry<CoderFactory>& entry) {
        return entry.name.compare(encoding, Qt::CaseInsensitive) == 0;
    });
}

void CMimeCoderRegistry::RegisterFieldCoder(const QByteArray& fieldName,
                                            FieldCoderFactory factory) {
    Put(m_fieldCoders, fieldName, std::move(factory));
}

void CMimeCoderRegistry::RegisterMediaType(const QByteArray& mediaType, BodyFactory factory) {
    Put(m_mediaTypes, mediaType, std::move(factory));
}

void CMimeCoderRegistry::SetAutoFolding(bool on) {
    m_autoFolding = on;
    for (const char* name : {"7bit", "8bit"}) {
        if (on)
            RegisterCoder(name, [] { return std::make_unique<CMimeCode7bit>(); });
        else
            UnregisterCoder(name);
    }
}

std::unique_ptr<CMimeCodeBase> CMimeCoderRegistry::GetCoder(const QByteArray& encoding) const {
    const QByteArray name = encoding.trimmed().isEmpty() ? QByteArray("7bit") : encoding.trimmed();
    if (const CoderFactory* factory = Find(m_coders, name))
        return (*factory)();
    return std::make_unique<CMimeCodeBase>();
}

std::unique_ptr<CFieldCodeBase>
CMimeCoderRegistry::GetFieldCoder(const QByteArray& fieldName) const {
    const FieldCoderFactory* factory = Find(m_fieldCoders, fieldName.trimmed());
    std::unique_ptr<CFieldCodeBase> coder =
        factory ? (*factory)() : std::make_unique<CFieldCodeBase>();
    coder->SetDefaultCharset(m_defaultCharset);
    coder->SetAutoFolding(m_autoFolding);
    return coder;
}

std::unique_ptr<CMimeBody> CMimeCoderRegistry::CreateBodyPart(const QByteArray& mediaType) const {
    QByteArray name = mediaType.trimmed();
    const qsizetype parameters = name.indexOf(';');
    if (parameters >= 0)
        name = name.left(parameters).trimmed();
    if (name.isEmpty())
        name = "text";
    const BodyFactory* factory = Find(m_mediaTypes, name);
    const qsizetype slash = name.indexOf('/');
    if (!factory && slash >= 0)
        factory = Find(m_mediaTypes, name.left(slash));
    if (factory)
        return (*factory)(*this);
    return std::make_unique<CMimeBody>(*this);
}
