// Tests of header-field parameters: quoting, replacing in place and reading back.
#include "web/MimeHeaderLine.h"

#include <gtest/gtest.h>

namespace {

QByteArray withParameter(const QByteArray& value, const QByteArray& attribute,
                         const QByteArray& parameter) {
    CMimeHeaderLine line("Content-Disposition", value);
    line.SetFieldParameter(attribute, parameter);
    return line.GetValue();
}

TEST(MimeHeaderLineTest, ParameterValuesAreQuotedOnce) {
    EXPECT_EQ(withParameter("form-data", "name", "userfile"), "form-data; name=\"userfile\"");
    EXPECT_EQ(withParameter("form-data", "name", "\"quoted\""), "form-data; name=\"quoted\"");
    EXPECT_EQ(withParameter("form-data", "name", ""), "form-data; name=\"\"");
    // A lone quote opens the value; it is too short to close it as well.
    EXPECT_EQ(withParameter("a", "n", "\""), "a; n=\"\"");
    EXPECT_EQ(withParameter("a", "n", "\"open"), "a; n=\"open\"");
    EXPECT_EQ(withParameter("a", "n", "close\""), "a; n=\"close\"");
    EXPECT_EQ(withParameter("a", "n", "in \"the\" middle"), "a; n=\"in \"the\" middle\"");
    EXPECT_EQ(withParameter("", "n", "v"), "; n=\"v\"");
}

TEST(MimeHeaderLineTest, AnExistingParameterIsReplacedWhereItStands) {
    const QByteArray value = "form-data; name=\"MAX_FILE_SIZE\"; filename=\"a.ogg\"; size=12";
    EXPECT_EQ(withParameter(value, "NAME", "userfile"),
              "form-data; name=\"userfile\"; filename=\"a.ogg\"; size=12");
    EXPECT_EQ(withParameter(value, "filename", "b.ogg"),
              "form-data; name=\"MAX_FILE_SIZE\"; filename=\"b.ogg\"; size=12");
    EXPECT_EQ(withParameter(value, "size", "13"),
              "form-data; name=\"MAX_FILE_SIZE\"; filename=\"a.ogg\"; size=\"13\"");
    // "name" inside "filename" is not the parameter name; nor is text inside a quoted value.
    EXPECT_EQ(withParameter("form-data; filename=\"x; name=y\"", "name", "z"),
              "form-data; filename=\"x; name=y\"; name=\"z\"");
    EXPECT_EQ(withParameter("multipart/mixed; boundary=\"old\"", "boundary", "new"),
              "multipart/mixed; boundary=\"new\"");
}

TEST(MimeHeaderLineTest, ParametersReadBackWithoutQuotes) {
    const CMimeHeaderLine line(
        "Content-Type",
        "multipart/form-data; Boundary=\"__=_b;1\" ; charset = utf-8; empty=\"\"; x=\"a \"b\" c\"");
    EXPECT_EQ(line.GetFieldParameter("boundary"), "__=_b;1");
    EXPECT_EQ(line.GetFieldParameter("charset"), "utf-8");
    EXPECT_EQ(line.GetFieldParameter("empty"), "");
    EXPECT_EQ(line.GetFieldParameter("x"), "a \"b\" c");
    EXPECT_EQ(line.GetFieldParameter("missing"), "");
    EXPECT_EQ(line.GetFieldParameter("multipart/form-data"), "");
    EXPECT_EQ(line.FindParameter("missing").first, -1);

    // What SetFieldParameter writes, GetFieldParameter reads, whatever was there before.
    CMimeHeaderLine written("Content-Disposition", "form-data");
    for (const QByteArray& value : {QByteArray("plain"), QByteArray("with; semicolon"),
                                    QByteArray("Caf\xE9.ogg"), QByteArray("")}) {
        written.SetFieldParameter("filename", value);
        EXPECT_EQ(written.GetFieldParameter("filename"), value);
    }
    EXPECT_EQ(written.GetValue(), "form-data; filename=\"\"");
}

} // namespace
