// Tests of the MIME transfer coders: quoted-printable, Base64 and 7bit.
#include "web/MimeCode7bit.h"
#include "web/MimeCodeBase64.h"
#include "web/MimeCodeQP.h"

#include <gtest/gtest.h>

#include <QList>
#include <QRandomGenerator>

namespace {

QByteArray encode(CMimeCodeBase& coder, const QByteArray& input) {
    coder.SetInput(input, true);
    const QByteArray output = coder.GetOutput();
    EXPECT_LE(output.size(), coder.GetOutputLength()) << "bound too small for " << input.size();
    return output;
}

QByteArray decode(CMimeCodeBase& coder, const QByteArray& input) {
    coder.SetInput(input, false);
    const QByteArray output = coder.GetOutput();
    EXPECT_LE(output.size(), coder.GetOutputLength());
    return output;
}

QByteArray randomBytes(qsizetype length, quint32 seed) {
    QRandomGenerator generator(seed);
    QByteArray bytes(length, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

// The lines of an encoding, split at CRLF; a bare CR or LF in it is a failure.
QList<QByteArray> crlfLines(const QByteArray& encoded) {
    QList<QByteArray> lines = encoded.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].endsWith('\r')) << "bare LF in " << encoded.constData();
        lines[i].chop(1);
    }
    for (const QByteArray& line : lines)
        EXPECT_FALSE(line.contains('\r')) << "bare CR in " << encoded.constData();
    return lines;
}

// Awkward inputs for quoted-printable: lines at the length limit, trailing blanks, "=" signs,
// dots alone on a line, bytes above 0x7F and UTF-8 text outside Latin-1.
QList<QByteArray> awkwardTexts() {
    QList<QByteArray> texts = {
        "",
        "=",
        "==\r\n==",
        " ",
        "\t",
        "ends with blank \r\nand tab\t\r\nlast ",
        ".\r\n.\r\n..\r\nx.",
        QByteArray(75, 'a'),
        QByteArray(76, 'a'),
        QByteArray(77, 'a'),
        QByteArray(74, 'a') + "=" + QByteArray(10, 'b'),
        QByteArray(73, 'a') + " =" + QByteArray(80, '='),
        QByteArray(200, ' '),
        QByteArray(300, '\xE9'),
        QString::fromUtf16(u"Привет, 世界! Ünïcödé text ").repeated(8).toUtf8(),
        "a b c d e f g h i j k l m n o p q r s t u v w x y z 0 1 2 3 4 5 6 7 8 9 A B C D E F",
    };
    QByteArray mixed;
    for (int i = 0; i < 40; ++i)
        mixed += "word= " + QByteArray(i % 7, ' ') + "x\t\r\n";
    texts += mixed;
    return texts;
}

TEST(MimeCodeQPTest, EncodesTheEscapesOfTheRules) {
    CMimeCodeQP qp;
    EXPECT_EQ(encode(qp, "a=b"), "a=3Db");
    EXPECT_EQ(encode(qp, "caf\xE9"), "caf=E9");
    EXPECT_EQ(encode(qp, "tab\there"), "tab\there");
    EXPECT_EQ(encode(qp, "end\t"), "end=09");
    EXPECT_EQ(encode(qp, "blank \r\nnext"), "blank=20\r\nnext");
    EXPECT_EQ(encode(qp, "one\r\n.\r\ntwo"), "one\r\n=2E\r\ntwo");
    EXPECT_EQ(encode(qp, "a.\r\n"), "a.\r\n");
    EXPECT_EQ(encode(qp, QByteArray("\x00\x7F~!", 4)), "=00=7F~!");

    // Line breaks pass as they are unless the coder escapes them too.
    CMimeCodeQP binary(true);
    EXPECT_EQ(encode(binary, "a \r\nb"), "a =0D=0Ab");
}

TEST(MimeCodeQPTest, SoftLineBreaksKeepLinesWithinSeventySixCharacters) {
    CMimeCodeQP qp;
    EXPECT_EQ(encode(qp, QByteArray(75, 'a')), QByteArray(75, 'a'));
    EXPECT_EQ(encode(qp, QByteArray(76, 'a')), QByteArray(75, 'a') + "=\r\na");
    // An escape is never cut: it moves to the next line whole.
    EXPECT_EQ(encode(qp, QByteArray(74, 'a') + "="), QByteArray(74, 'a') + "=\r\n=3D");
    // The break goes after the last blank of the line; the rest moves on.
    const QByteArray words = QByteArray(70, 'a') + " bcdefgh";
    EXPECT_EQ(encode(qp, words), QByteArray(70, 'a') + " =\r\nbcdefgh");

    for (const QByteArray& text : awkwardTexts()) {
        for (bool escapeLineBreaks : {false, true}) {
            CMimeCodeQP coder(escapeLineBreaks);
            const QByteArray encoded = encode(coder, text);
            for (const QByteArray& line : crlfLines(encoded)) {
                EXPECT_LE(line.size(), 76) << line.constData();
                EXPECT_FALSE(line.endsWith(' ') || line.endsWith('\t')) << line.constData();
                for (char c : line)
                    EXPECT_TRUE(c == '\t' || (c >= 32 && c <= 126)) << int(uchar(c));
            }
            CMimeCodeQP decoder(escapeLineBreaks);
            EXPECT_EQ(decode(decoder, encoded), text) << encoded.constData();
        }
    }
}

TEST(MimeCodeQPTest, RoundTripsBinaryDataInBinaryMode) {
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    for (const QByteArray& data : {all, randomBytes(5000, 7), randomBytes(1, 8)}) {
        CMimeCodeQP coder(true);
        const QByteArray encoded = encode(coder, data);
        for (const QByteArray& line : crlfLines(encoded))
            EXPECT_LE(line.size(), 76);
        EXPECT_EQ(decode(coder, encoded), data);
    }
}

TEST(MimeCodeQPTest, DecodesWhatOtherEncodersWrite) {
    CMimeCodeQP qp;
    EXPECT_EQ(decode(qp, "caf=e9 =C3=A9"), "caf\xE9 \xC3\xA9");
    EXPECT_EQ(decode(qp, "soft=\r\nbreak, soft=  \r\nwith blanks, bare=\nLF"),
              "softbreak, softwith blanks, bareLF");
    EXPECT_EQ(decode(qp, "blanks added in transport   \r\nkept inside"),
              "blanks added in transport\r\nkept inside");
    EXPECT_EQ(decode(qp, "not =G1 an =4 escape ="), "not =G1 an =4 escape ");
    EXPECT_EQ(decode(qp, "=3D=3d"), "==");
}

TEST(MimeCodeQPTest, OutputStopsAtTheRoom) {
    CMimeCodeQP qp;
    const QByteArray text = "abc=def";
    qp.SetInput(text, true);
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(qp.GetOutput(buffer, 5), 5);
    EXPECT_EQ(QByteArray(buffer, 6), "abc=3#");
}

TEST(MimeCodeBase64Test, EncodesTheKnownVectors) {
    const QList<std::pair<QByteArray, QByteArray>> vectors = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {QByteArray("\xFF\xFE\x00", 3), "//4A"},
    };
    for (const auto& [plain, encoded] : vectors) {
        CMimeCodeBase64 coder(false);
        EXPECT_EQ(encode(coder, plain), encoded);
        EXPECT_EQ(decode(coder, encoded), plain);
        CMimeCodeBase64 lines(true);
        EXPECT_EQ(encode(lines, plain), encoded.isEmpty() ? encoded : encoded + "\r\n");
    }
}

TEST(MimeCodeBase64Test, BreaksLinesAfterSeventySixCharacters) {
    CMimeCodeBase64 coder(true);
    const QByteArray full = encode(coder, QByteArray(57, 'x'));
    EXPECT_EQ(full.size(), 78);
    EXPECT_TRUE(full.endsWith("\r\n"));
    EXPECT_EQ(full.count("\r\n"), 1);

    const QByteArray more = encode(coder, QByteArray(58, 'x'));
    EXPECT_EQ(more, full + "eA==\r\n");

    for (qsizetype length : {0, 1, 2, 3, 56, 57, 58, 114, 1000, 4097}) {
        const QByteArray data = randomBytes(length, quint32(length));
        for (bool lineBreaks : {false, true}) {
            CMimeCodeBase64 base64(lineBreaks);
            const QByteArray encoded = encode(base64, data);
            if (lineBreaks) {
                const QList<QByteArray> lines = crlfLines(encoded);
                for (qsizetype i = 0; i + 1 < lines.size(); ++i)
                    EXPECT_EQ(lines[i].size(), i + 2 < lines.size() ? 76 : lines[i].size());
                EXPECT_TRUE(lines.last().isEmpty());
            } else {
                EXPECT_FALSE(encoded.contains('\n'));
            }
            EXPECT_EQ(decode(base64, encoded), data) << length;
        }
    }
}

TEST(MimeCodeBase64Test, DecodingSkipsWhatIsNotBase64AndStopsAtPadding) {
    CMimeCodeBase64 coder;
    EXPECT_EQ(decode(coder, "Zm9v\r\n Ym Fy\t"), "foobar");
    EXPECT_EQ(decode(coder, "Zm8=Zm9v"), "fo");
    EXPECT_EQ(decode(coder, "Z"), "");
    EXPECT_EQ(decode(coder, "!!!"), "");
}

TEST(MimeCode7bitTest, BreaksLongLinesAtTheirLastBlank) {
    CMimeCode7bit coder;
    const QByteArray shortLine = QByteArray(76, 'a') + "\r\n" + QByteArray(10, 'b');
    EXPECT_EQ(encode(coder, shortLine), shortLine);

    // A blank within the first 76 characters: the line breaks before it, the blank goes on.
    const QByteArray words = QByteArray(60, 'a') + " " + QByteArray(30, 'b') + "\r\nend";
    EXPECT_EQ(encode(coder, words),
              QByteArray(60, 'a') + "\r\n " + QByteArray(30, 'b') + "\r\nend");

    // No blank at all: nothing can be done.
    EXPECT_EQ(encode(coder, QByteArray(200, 'c')), QByteArray(200, 'c'));

    // Long text of words: every line fits, and taking the inserted breaks out gives the text back.
    QByteArray text;
    for (int i = 0; i < 100; ++i)
        text += "word" + QByteArray::number(i) + (i % 9 == 8 ? "\r\n" : " ");
    const QByteArray broken = encode(coder, text);
    for (const QByteArray& line : crlfLines(broken))
        EXPECT_LE(line.size(), 76);
    QByteArray joined = broken;
    joined.replace("\r\n ", " ");
    EXPECT_EQ(joined, text);
    EXPECT_EQ(decode(coder, broken), broken); // decoding copies
}

} // namespace
