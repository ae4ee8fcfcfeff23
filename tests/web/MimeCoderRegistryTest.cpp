// Tests of the coder registry and the media-type table.
#include "web/MimeCoderRegistry.h"
#include "web/FieldCodeAddress.h"
#include "web/FieldCodeParameter.h"
#include "web/FieldCodeText.h"
#include "web/MimeBody.h"
#include "web/MimeCode7bit.h"
#include "web/MimeCodeBase64.h"
#include "web/MimeCodeQP.h"
#include "web/MimeMediaType.h"

#include <gtest/gtest.h>

namespace {

template <class T, class U> bool isA(const std::unique_ptr<U>& object) {
    return dynamic_cast<const T*>(object.get()) != nullptr;
}

// Plain means exactly the base class, none of the derived coders.
bool isPlainCoder(const std::unique_ptr<CMimeCodeBase>& coder) {
    return coder && typeid(*coder) == typeid(CMimeCodeBase);
}

TEST(MimeCoderRegistryTest, TransferEncodingsByNameWithoutRegardToCase) {
    CMimeCoderRegistry registry;
    EXPECT_TRUE(isA<CMimeCodeQP>(registry.GetCoder("Quoted-Printable")));
    EXPECT_TRUE(isA<CMimeCodeBase64>(registry.GetCoder("BASE64")));
    EXPECT_TRUE(isA<CMimeCodeBase64>(registry.GetCoder(" base64 ")));
    for (const char* name : {"", "7bit", "8bit", "binary", "x-unknown"})
        EXPECT_TRUE(isPlainCoder(registry.GetCoder(name))) << name;

    // The registered factories: quoted-printable keeps line breaks, Base64 breaks its lines.
    const QByteArray text = "a\r\n" + QByteArray(60, 'b');
    std::unique_ptr<CMimeCodeBase> qp = registry.GetCoder("quoted-printable");
    qp->SetInput(text, true);
    EXPECT_EQ(qp->GetOutput(), text);
    std::unique_ptr<CMimeCodeBase> base64 = registry.GetCoder("base64");
    base64->SetInput(text, true);
    EXPECT_TRUE(base64->GetOutput().contains("\r\n"));

    // Auto-folding brings 7bit and 8bit (and with them the empty name) to the line breaker.
    registry.SetAutoFolding(true);
    for (const char* name : {"", "7BIT", "8bit"})
        EXPECT_TRUE(isA<CMimeCode7bit>(registry.GetCoder(name))) << name;
    registry.SetAutoFolding(false);
    EXPECT_TRUE(isPlainCoder(registry.GetCoder("7bit")));
    EXPECT_TRUE(isPlainCoder(registry.GetCoder("")));

    // A later registration replaces the earlier one of the same name.
    registry.RegisterCoder("BASE64", [] { return std::make_unique<CMimeCodeQP>(); });
    EXPECT_TRUE(isA<CMimeCodeQP>(registry.GetCoder("base64")));
}

TEST(MimeCoderRegistryTest, FieldCodersByFieldName) {
    CMimeCoderRegistry registry;
    for (const char* name : {"Subject", "comments", "CONTENT-DESCRIPTION"})
        EXPECT_TRUE(isA<CFieldCodeText>(registry.GetFieldCoder(name))) << name;
    for (const char* name : {"From", "To", "Resent-To", "Cc", "Resent-Cc", "Bcc", "Resent-Bcc",
                             "reply-to", "Resent-Reply-To"})
        EXPECT_TRUE(isA<CFieldCodeAddress>(registry.GetFieldCoder(name))) << name;
    for (const char* name : {"Content-Type", "content-disposition"})
        EXPECT_TRUE(isA<CFieldCodeParameter>(registry.GetFieldCoder(name))) << name;
    const std::unique_ptr<CFieldCodeBase> other = registry.GetFieldCoder("X-Mailer");
    EXPECT_TRUE(typeid(*other) == typeid(CFieldCodeBase));

    // The coders carry the registry's default charset and folding switch.
    const QByteArray value = "Caf\xE9; x=y";
    std::unique_ptr<CFieldCodeBase> plain = registry.GetFieldCoder("Content-Type");
    plain->SetInput(value, true);
    EXPECT_EQ(plain->GetOutput(), value);
    registry.SetDefaultCharset("iso-8859-1");
    std::unique_ptr<CFieldCodeBase> charset = registry.GetFieldCoder("Content-Type");
    charset->SetInput(value, true);
    EXPECT_EQ(charset->GetOutput(), "=?iso-8859-1?Q?Caf=E9?=; x=y");
    registry.SetDefaultCharset({});
    registry.SetAutoFolding(true);
    std::unique_ptr<CFieldCodeBase> folding = registry.GetFieldCoder("Content-Type");
    folding->SetInput(value, true);
    EXPECT_EQ(folding->GetOutput(), "Caf\xE9;\r\n\tx=y");
}

// A body kind made by a registered factory.
class CImageBody : public CMimeBody {
public:
    using CMimeBody::CMimeBody;
};

TEST(MimeCoderRegistryTest, BodyPartsByMediaType) {
    CMimeCoderRegistry registry;
    std::unique_ptr<CMimeBody> plain = registry.CreateBodyPart("image/png");
    ASSERT_TRUE(plain);
    EXPECT_TRUE(typeid(*plain) == typeid(CMimeBody));

    registry.RegisterMediaType(
        "image", [](const CMimeCoderRegistry& r) { return std::make_unique<CImageBody>(r); });
    registry.RegisterMediaType(
        "text", [](const CMimeCoderRegistry& r) { return std::make_unique<CImageBody>(r); });
    EXPECT_TRUE(isA<CImageBody>(registry.CreateBodyPart("IMAGE/png; name=x")));
    EXPECT_TRUE(isA<CImageBody>(registry.CreateBodyPart("image")));
    EXPECT_TRUE(isA<CImageBody>(registry.CreateBodyPart(""))); // no type is text
    EXPECT_FALSE(isA<CImageBody>(registry.CreateBodyPart("audio/basic")));
}

TEST(MimeMediaTypeTest, TypeIndicesAndTheExtensionTable) {
    EXPECT_EQ(CMimeMediaType::TypeIndex("TEXT/plain"), CMimeMediaType::Text);
    EXPECT_EQ(CMimeMediaType::TypeIndex("image"), CMimeMediaType::Image);
    EXPECT_EQ(CMimeMediaType::TypeIndex("audio/basic"), CMimeMediaType::Audio);
    EXPECT_EQ(CMimeMediaType::TypeIndex("vedio/mpeg"), CMimeMediaType::Video);
    EXPECT_EQ(CMimeMediaType::TypeIndex("application/pdf"), CMimeMediaType::Application);
    EXPECT_EQ(CMimeMediaType::TypeIndex("Multipart/mixed"), CMimeMediaType::Multipart);
    EXPECT_EQ(CMimeMediaType::TypeIndex("message/rfc822"), CMimeMediaType::Message);
    EXPECT_EQ(CMimeMediaType::TypeIndex("video/mp4"), CMimeMediaType::Other);
    EXPECT_EQ(int(CMimeMediaType::Other), 7);
    EXPECT_EQ(CMimeMediaType::TypeName(CMimeMediaType::Video), "vedio");
    EXPECT_EQ(CMimeMediaType::TypeName(CMimeMediaType::Other), "");

    const std::pair<const char*, const char*> table[] = {
        {"doc", "application/msword"},
        {"XLS", "application/vnd.ms-excel"},
        {".jpg", "image/jpeg"},
        {"tif", "image/tiff"},
        {"mp3", "audio/basic"},
        {"mpeg", "vedio/mpeg"},
        {"ogg", "application/octet-stream"},
        {"", "application/octet-stream"},
    };
    for (const auto& [extension, type] : table)
        EXPECT_EQ(CMimeMediaType::ContentTypeForExtension(extension), type) << extension;
}

} // namespace
