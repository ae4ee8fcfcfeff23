// Tests of the MIME header: fields, boundaries and their generator, storing and loading.
#include "web/MimeHeader.h"
#include "web/MimeCoderRegistry.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

QByteArray stored(const CMimeHeader& header) {
    QByteArray buffer(header.GetStoredLength(), '#');
    const qsizetype count = header.StoreTo(buffer.data(), buffer.size());
    EXPECT_LE(count, buffer.size());
    return buffer.left(count);
}

// The counter field of a generated boundary.
int boundaryCounter(const QByteArray& boundary) {
    static const QRegularExpression format(
        QStringLiteral(R"(^__=_Part_Boundary_(\d{3})_(\d{6})\.(\d{6})$)"));
    const QRegularExpressionMatch m = format.match(QString::fromLatin1(boundary));
    EXPECT_TRUE(m.hasMatch()) << boundary.constData();
    if (!m.hasMatch())
        return -1;
    EXPECT_LE(m.captured(2).toInt(), 32767);
    EXPECT_LE(m.captured(3).toInt(), 32767);
    return m.captured(1).toInt();
}

TEST(MimeHeaderTest, PutFieldReplacesTheFirstFieldOfTheNameOrAppends) {
    const CMimeCoderRegistry registry;
    CMimeHeader header(registry);
    header.PutField(CMimeHeaderLine("Subject", "one"));
    header.PutField(CMimeHeaderLine("To", "a@example.org"));
    header.PutField(CMimeHeaderLine("SUBJECT", "two"));
    ASSERT_EQ(header.GetFields().size(), 2);
    EXPECT_EQ(header.GetFields()[0].GetName(), "SUBJECT");
    EXPECT_EQ(header.GetFieldValue("subject"), "two");
    EXPECT_EQ(header.FindField("to")->GetValue(), "a@example.org");
    EXPECT_EQ(header.FindField("Cc"), nullptr);
    EXPECT_EQ(header.GetFieldValue("Cc"), "");
    header.Reset();
    EXPECT_TRUE(header.GetFields().isEmpty());
}

TEST(MimeHeaderTest, AssignBoundaryMakesTheHeaderMultipart) {
    const CMimeCoderRegistry registry;
    CMimeHeader none(registry);
    none.AssignBoundary("b1");
    EXPECT_EQ(stored(none), "Content-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n");
    EXPECT_EQ(none.GetBoundaryValue(), "b1");
    EXPECT_TRUE(none.IsMultipart());

    CMimeHeader text(registry);
    text.PutField(CMimeHeaderLine("Subject", "s"));
    text.PutField(CMimeHeaderLine("content-type", "text/plain; charset=us-ascii"));
    EXPECT_FALSE(text.IsMultipart());
    text.AssignBoundary("b2");
    EXPECT_EQ(stored(text), "Subject: s\r\ncontent-type: multipart/mixed; boundary=\"b2\"\r\n\r\n");

    CMimeHeader form(registry);
    form.PutField(CMimeHeaderLine("Content-Type", "MULTIPART/form-data; boundary=old; x=1"));
    form.AssignBoundary("\"new\"");
    EXPECT_EQ(form.GetFieldValue("Content-Type"), "MULTIPART/form-data; boundary=\"new\"; x=1");
    EXPECT_EQ(form.GetBoundaryValue(), "new");
    EXPECT_EQ(form.GetContentType(), "MULTIPART/form-data");
}

TEST(MimeHeaderTest, GeneratedBoundariesCountFromOneToNineAndDiffer) {
    const CMimeCoderRegistry registry;
    QList<QByteArray> boundaries;
    QList<int> counters;
    for (int i = 0; i < 20; ++i) {
        CMimeHeader header(registry);
        header.AssignBoundary();
        boundaries += header.GetBoundaryValue();
        counters += boundaryCounter(boundaries.last());
    }
    bool wrapped = false;
    for (qsizetype i = 0; i < counters.size(); ++i) {
        EXPECT_GE(counters[i], 1);
        EXPECT_LE(counters[i], 9);
        if (i > 0) {
            EXPECT_EQ(counters[i], counters[i - 1] % 9 + 1) << "after " << counters[i - 1];
            wrapped = wrapped || (counters[i - 1] == 9 && counters[i] == 1);
            // Made within the same second (and often at the same address), yet different.
            EXPECT_NE(boundaries[i], boundaries[i - 1]);
        }
    }
    EXPECT_TRUE(wrapped);
}

TEST(MimeHeaderTest, StoreToWritesFieldsInOrderAndChecksTheRoom) {
    const CMimeCoderRegistry registry;
    CMimeHeader header(registry);
    header.PutField(CMimeHeaderLine("X-A", "1"));
    header.PutField(CMimeHeaderLine("Content-Disposition", "form-data; name=\"n\""));
    header.PutField(CMimeHeaderLine("X-Empty", ""));
    const QByteArray expected =
        "X-A: 1\r\nContent-Disposition: form-data; name=\"n\"\r\nX-Empty: \r\n\r\n";
    EXPECT_EQ(header.GetStoredLength(), expected.size());
    EXPECT_EQ(stored(header), expected);

    QByteArray buffer(expected.size() + 10, '#');
    EXPECT_EQ(header.StoreTo(buffer.data(), expected.size()), expected.size());
    EXPECT_EQ(buffer.left(expected.size()), expected);
    EXPECT_EQ(buffer[expected.size()], '#');
    // One byte short: the final line break does not fit.
    EXPECT_EQ(header.StoreTo(buffer.data(), expected.size() - 1), 0);
    // Room for the first field but not for the name of the second and four bytes.
    EXPECT_EQ(header.StoreTo(buffer.data(), 8 + 19 + 3), 0);
    EXPECT_EQ(header.StoreTo(buffer.data(), 0), 0);
    // A value that does not fit is cut; its line still ends.
    CMimeHeader longValue(registry);
    longValue.PutField(CMimeHeaderLine("X", "abcdef"));
    buffer.fill('#');
    EXPECT_EQ(longValue.StoreTo(buffer.data(), 7), 0); // no room for the empty line
    EXPECT_EQ(buffer.left(7), "X: ab\r\n");

    CMimeHeader empty(registry);
    EXPECT_EQ(stored(empty), "\r\n");
}

TEST(MimeHeaderTest, LoadFromReadsFieldsUpToTheEmptyLine) {
    const CMimeCoderRegistry registry;
    CMimeHeader header(registry);
    header.PutField(CMimeHeaderLine("Old", "gone"));
    const QByteArray text = "Subject:  =?iso-8859-1?Q?Caf=E9?= au\r\n\tlait\r\n"
                            "To: a@example.org,\r\n b@example.org\r\n"
                            "not a field\r\n"
                            "X-Tab:\tvalue\n"
                            "Empty:\r\n"
                            "\r\n"
                            "content";
    EXPECT_EQ(header.LoadFrom(text.constData(), text.size()), text.indexOf("content"));
    ASSERT_EQ(header.GetFields().size(), 4);
    EXPECT_EQ(header.GetFields()[0].GetName(), "Subject");
    EXPECT_EQ(header.GetFields()[0].GetValue(), "Caf\xE9 au\tlait");
    EXPECT_EQ(header.GetFields()[0].GetCharset(), "iso-8859-1");
    EXPECT_EQ(header.GetFieldValue("to"), "a@example.org, b@example.org");
    EXPECT_EQ(header.GetFields()[1].GetCharset(), "");
    EXPECT_EQ(header.GetFieldValue("X-Tab"), "value");
    EXPECT_EQ(header.GetFieldValue("Empty"), "");

    // What StoreTo writes, LoadFrom reads back.
    CMimeHeader written(registry);
    written.PutField(CMimeHeaderLine("Content-Type", "multipart/mixed"));
    written.AssignBoundary("__=_Part_Boundary_001_000001.000002");
    written.PutField(CMimeHeaderLine("Content-Disposition", "form-data; name=\"x\""));
    const QByteArray bytes = stored(written);
    CMimeHeader read(registry);
    EXPECT_EQ(read.LoadFrom(bytes.constData(), bytes.size()), bytes.size());
    EXPECT_EQ(stored(read), bytes);

    // A header without its empty line ends with the data.
    CMimeHeader cut(registry);
    EXPECT_EQ(cut.LoadFrom("A: 1\r\nB: 2", 10), 10);
    EXPECT_EQ(cut.GetFieldValue("B"), "2");
}

} // namespace
