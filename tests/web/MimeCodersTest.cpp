// The MIME library beyond the plain upload: transfer coders, header-text coders and folding, and
// reading a message back.
#include "web/FieldCodeAddress.h"
#include "web/FieldCodeParameter.h"
#include "web/FieldCodeText.h"
#include "web/MimeCode7bit.h"
#include "web/MimeCodeBase64.h"
#include "web/MimeCodeQP.h"
#include "web/MimeCoderRegistry.h"
#include "web/MimeEncodedWord.h"
#include "web/MimeMessage.h"

#include <QList>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray Encode(CMimeCodeBase& coder, const QByteArray& input) {
    coder.SetInput(input, true);
    const QByteArray output = coder.GetOutput();
    EXPECT_LE(output.size(), coder.GetOutputLength()) << "bound too small for " << input.size();
    return output;
}

QByteArray Decode(CMimeCodeBase& coder, const QByteArray& input) {
    coder.SetInput(input, false);
    return coder.GetOutput();
}

QByteArray RandomBytes(qsizetype length) {
    QRandomGenerator generator{quint32(length)};
    QByteArray bytes(length, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

// The CRLF-separated lines of an encoding, each checked to be at most limit characters long.
QList<QByteArray> Lines(const QByteArray& encoded, qsizetype limit) {
    QList<QByteArray> lines = encoded.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i + 1 < lines.size()) {
            EXPECT_TRUE(lines[i].endsWith('\r')) << "bare LF in " << encoded.constData();
            lines[i].chop(1);
        }
        EXPECT_LE(lines[i].size(), limit) << lines[i].constData();
    }
    return lines;
}

TEST(MimeCodersTest, QuotedPrintableEscapesBreaksAndRoundTrips) {
    CMimeCodeQP qp;
    const QList<std::pair<QByteArray, QByteArray>> rows = {
        {"a=b", "a=3Db"},
        {"caf\xE9", "caf=E9"},
        {"tab\there", "tab\there"},
        {"end\t", "end=09"},
        {"blank \r\nnext", "blank=20\r\nnext"},
        {"one\r\n.\r\ntwo", "one\r\n=2E\r\ntwo"},
        {QByteArray(76, 'a'), QByteArray(75, 'a') + "=\r\na"},
        {QByteArray(74, 'a') + "=", QByteArray(74, 'a') + "=\r\n=3D"}, // an escape is never cut
        {QByteArray(70, 'a') + " bcdefgh", QByteArray(70, 'a') + " =\r\nbcdefgh"},
    };
    for (const auto& [plain, encoded] : rows)
        EXPECT_EQ(Encode(qp, plain), encoded);
    CMimeCodeQP binary(true);
    EXPECT_EQ(Encode(binary, "a \r\nb"), "a =0D=0Ab");
    EXPECT_EQ(Decode(qp, "caf=e9 soft=\r\nbreak bare=\nLF trail   \r\nnot =G1"),
              "caf\xE9 softbreak bareLF trail\r\nnot =G1");

    QByteArray words;
    for (int i = 0; i < 40; ++i)
        words += "word= " + QByteArray(i % 7, ' ') + "x\t\r\n.\r\n";
    // Binary data comes back whole only when line breaks are escaped too.
    const QList<std::pair<QByteArray, bool>> texts = {{words, false},
                                                      {QByteArray(200, ' '), false},
                                                      {QByteArray(300, '\xE9'), false},
                                                      {RandomBytes(3000), true}};
    for (const auto& [text, binary] : texts) {
        for (bool escapeLineBreaks : {false, true}) {
            if (binary && !escapeLineBreaks)
                continue;
            CMimeCodeQP coder(escapeLineBreaks);
            const QByteArray encoded = Encode(coder, text);
            for (const QByteArray& line : Lines(encoded, 76))
                EXPECT_FALSE(line.endsWith(' ') || line.endsWith('\t')) << line.constData();
            EXPECT_EQ(Decode(coder, encoded), text);
        }
    }
}

TEST(MimeCodersTest, Base64VectorsLinesAndRoundTrips) {
    const QList<std::pair<QByteArray, QByteArray>> vectors = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"foobar", "Zm9vYmFy"},
        {QByteArray("\xFF\xFE\x00", 3), "//4A"},
    };
    for (const auto& [plain, encoded] : vectors) {
        CMimeCodeBase64 coder(false);
        EXPECT_EQ(Encode(coder, plain), encoded);
        EXPECT_EQ(Decode(coder, encoded), plain);
    }
    CMimeCodeBase64 lines(true);
    const QByteArray full = Encode(lines, QByteArray(57, 'x'));
    EXPECT_EQ(full.size(), 78);
    EXPECT_EQ(Encode(lines, QByteArray(58, 'x')), full + "eA==\r\n");
    for (qsizetype length : {1, 2, 3, 56, 58, 114, 4097}) {
        const QByteArray data = RandomBytes(length);
        const QByteArray encoded = Encode(lines, data);
        Lines(encoded, 76);
        EXPECT_EQ(Decode(lines, encoded), data) << length;
    }
    EXPECT_EQ(Decode(lines, "Zm9v\r\n Ym Fy\t"), "foobar");
    EXPECT_EQ(Decode(lines, "Zm8=Zm9v"), "fo");
}

TEST(MimeCodersTest, SevenBitBreaksLongLinesAtTheirLastBlank) {
    CMimeCode7bit coder;
    EXPECT_EQ(Encode(coder, QByteArray(60, 'a') + " " + QByteArray(30, 'b')),
              QByteArray(60, 'a') + "\r\n " + QByteArray(30, 'b'));
    EXPECT_EQ(Encode(coder, QByteArray(200, 'c')), QByteArray(200, 'c'));
    QByteArray text;
    for (int i = 0; i < 100; ++i)
        text += "word" + QByteArray::number(i) + (i % 9 == 8 ? "\r\n" : " ");
    QByteArray broken = Encode(coder, text);
    Lines(broken, 76);
    EXPECT_EQ(broken.replace("\r\n ", " "), text);
}

TEST(MimeCodersTest, EncodedWordsAndHeaderFieldsRoundTrip) {
    CMimeEncodedWord q('Q', "iso-8859-1");
    EXPECT_EQ(Encode(q, "Gr\xFC\xDF"
                        "e a_b=c?"),
              "=?iso-8859-1?Q?Gr=FC=DFe_a=5Fb=3Dc=3F?=");
    CMimeEncodedWord b('B', "utf-8");
    EXPECT_EQ(Encode(b, "\xC3\xA9t\xC3\xA9"), "=?utf-8?B?w6l0w6k=?=");
    const QByteArray russian =
        QString::fromUtf16(u"Привет, мир! Съешь же ещё").toUtf8().repeated(4);
    for (char encoding : {'B', 'Q', char(0)}) {
        CMimeEncodedWord coder(encoding, "utf-8");
        const QByteArray encoded = Encode(coder, russian);
        for (const QByteArray& word : encoded.split(' '))
            EXPECT_LE(word.size(), 75) << word.constData();
        CMimeEncodedWord decoder;
        EXPECT_EQ(Decode(decoder, encoded), russian);
    }
    CMimeEncodedWord reader;
    EXPECT_EQ(Decode(reader, "Re: =?ISO-8859-1?q?Caf=E9?= =?utf-8?b?w6k=?=\r\n\t=?utf-8?Q?_!?= x"),
              "Re: Caf\xE9\xC3\xA9 ! x");
    for (const char* text : {"=?utf-8?X?abc?=", "=?utf-8?Q?a b?=", "=?utf-8?Q?open"})
        EXPECT_EQ(Decode(reader, text), QByteArray(text));

    CFieldCodeAddress to;
    to.SetDefaultCharset("iso-8859-1");
    const QByteArray addresses = "J\xF6rg M\xFCller <jm@example.org>, Ann <ann@example.org>";
    const QByteArray encoded = Encode(to, addresses);
    EXPECT_EQ(encoded, "=?iso-8859-1?Q?J=F6rg_M=FCller?= <jm@example.org>, Ann <ann@example.org>");
    CFieldCodeAddress decoder;
    EXPECT_EQ(Decode(decoder, encoded), addresses);

    CFieldCodeParameter disposition;
    disposition.SetAutoFolding(true);
    EXPECT_EQ(Encode(disposition, "form-data; name=\"userfile\"; filename=\"a.ogg\""),
              "form-data;\r\n\tname=\"userfile\";\r\n\tfilename=\"a.ogg\"");
    CFieldCodeText subject;
    subject.SetAutoFolding(true);
    subject.SetCharset("utf-8");
    QByteArray text;
    for (int i = 0; i < 60; ++i)
        text += (i % 5 == 0 ? QString::fromUtf16(u"Grüße").toUtf8() : QByteArray("word")) + ' ';
    text += QByteArray(250, 'a') + " end";
    const QByteArray folded = Encode(subject, text);
    const QList<QByteArray> lines = Lines(folded, 76 + 250);
    EXPECT_GT(lines.size(), 3);
    CFieldCodeText unfolder;
    EXPECT_EQ(Decode(unfolder, folded).replace('\t', ' '), text);
}

TEST(MimeCodersTest, MessagesReadBackWhatTheyStoreAndSurviveForeignOrDamagedText) {
    const CMimeCoderRegistry registry;
    CMimeMessage message(registry);
    message.AssignBoundary("outer");
    message.SetContentText("preamble");
    CMimeBody* inner = message.AddPart("multipart/alternative");
    inner->AssignBoundary("inner");
    CMimeBody* qp = inner->AddPart("text/plain; charset=iso-8859-1");
    qp->PutField(CMimeHeaderLine("Content-Transfer-Encoding", "quoted-printable"));
    qp->SetContent("Caf\xE9 = " + QByteArray(100, 'x') + " \r\n.\r\nend ");
    CMimeBody* binary = message.AddPart("application/octet-stream", inner);
    binary->PutField(CMimeHeaderLine("Content-Transfer-Encoding", "base64"));
    binary->SetContent(RandomBytes(1000));
    message.AddPart("text/plain")->SetContent("raw\r\n--outer-not\r\n\r\nbytes");
    QByteArray bytes(message.GetStoredLength(), '#');
    bytes.truncate(message.StoreTo(bytes.data(), bytes.size()));

    CMimeMessage read(registry);
    EXPECT_EQ(read.LoadFrom(bytes.constData(), bytes.size()), bytes.size());
    EXPECT_EQ(read.GetContent(), "preamble");
    ASSERT_EQ(read.GetPartCount(), 3);
    EXPECT_EQ(read.GetPart(0)->GetContent(), binary->GetContent()); // added before inner
    ASSERT_EQ(read.GetPart(1)->GetPartCount(), 1);
    EXPECT_EQ(read.GetPart(1)->GetPart(0)->GetContent(), qp->GetContent());
    EXPECT_EQ(read.GetPart(2)->GetContent(), "raw\r\n--outer-not\r\n\r\nbytes");
    QByteArray again(read.GetStoredLength(), '#');
    again.truncate(read.StoreTo(again.data(), again.size()));
    EXPECT_EQ(again, bytes);

    // Line feeds only, an unquoted boundary, cut short: the last part runs to the end.
    const QByteArray foreign = "Content-Type: multipart/mixed; boundary=simple\n\npre\n--simple\n"
                               "\nimplicit text\n--simple  \nContent-Type: text/plain\n\nsecond";
    read.LoadFrom(foreign.constData(), foreign.size());
    ASSERT_EQ(read.GetPartCount(), 2);
    EXPECT_EQ(read.GetPart(0)->GetContent(), "implicit text");
    EXPECT_EQ(read.GetPart(1)->GetContent(), "second");
    // Nested far too deep: read down to a limit, and no crash.
    QByteArray deep;
    for (int i = 0; i < 5000; ++i)
        deep += "Content-Type: multipart/mixed; boundary=b" + QByteArray::number(i) +
                "\r\n\r\n--b" + QByteArray::number(i) + "\r\n";
    read.LoadFrom(deep.constData(), deep.size());
    int depth = 0;
    for (const CMimeBody* body = &read; body->GetPartCount() > 0; body = body->GetPart(0))
        ++depth;
    EXPECT_GT(depth, 10);
    EXPECT_LT(depth, 100);
}

} // namespace
