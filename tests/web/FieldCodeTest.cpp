// Tests of the header-text coders: RFC 2047 encoded words and the header-field coders.
#include "web/FieldCodeAddress.h"
#include "web/FieldCodeParameter.h"
#include "web/FieldCodeText.h"
#include "web/MimeEncodedWord.h"

#include <gtest/gtest.h>

#include <QList>
#include <QRegularExpression>

namespace {

QByteArray encode(CMimeCodeBase& coder, const QByteArray& input) {
    coder.SetInput(input, true);
    const QByteArray output = coder.GetOutput();
    EXPECT_EQ(output.size(), coder.GetOutputLength());
    return output;
}

QByteArray decode(CMimeCodeBase& coder, const QByteArray& input) {
    coder.SetInput(input, false);
    return coder.GetOutput();
}

// Every encoded word of the text.
QList<QByteArray> encodedWords(const QByteArray& text) {
    static const QRegularExpression word(QStringLiteral(R"(=\?[^?\s]+\?[BQ]\?[^?\s]*\?=)"));
    QList<QByteArray> words;
    for (const QRegularExpressionMatch& m : word.globalMatch(QString::fromLatin1(text)))
        words += m.captured().toLatin1();
    return words;
}

bool isUtf8(const QByteArray& bytes) {
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

TEST(MimeEncodedWordTest, EncodesInBothFormsAndChoosesTheShorter) {
    CMimeEncodedWord q('Q', "iso-8859-1");
    EXPECT_EQ(encode(q, "Gr\xFC\xDF"
                        "e aus K\xF6ln"),
              "=?iso-8859-1?Q?Gr=FC=DFe_aus_K=F6ln?=");
    EXPECT_EQ(encode(q, "a_b=c?d"), "=?iso-8859-1?Q?a=5Fb=3Dc=3Fd?=");
    CMimeEncodedWord b('B', "utf-8");
    EXPECT_EQ(encode(b, "\xC3\xA9t\xC3\xA9"), "=?utf-8?B?w6l0w6k=?=");

    // Mostly ASCII: Q; mostly high bytes: B.
    EXPECT_EQ(CMimeEncodedWord::ChooseEncoding("Caf\xE9", 4), 'Q');
    const QByteArray russian = QString::fromUtf16(u"Привет").toUtf8();
    EXPECT_EQ(CMimeEncodedWord::ChooseEncoding(russian.constData(), russian.size()), 'B');
    CMimeEncodedWord chosen(0, "utf-8");
    EXPECT_TRUE(encode(chosen, russian).startsWith("=?utf-8?B?"));
}

TEST(MimeEncodedWordTest, RoundTripsTextOutsideLatin1InWordsOfAtMost75Characters) {
    const QList<QByteArray> texts = {
        "",
        "plain ASCII with _ = ? and blanks  ",
        "Gr\xFC\xDF"
        "e",
        QString::fromUtf16(u"Привет, мир! Съешь же ещё этих мягких французских булок").toUtf8(),
        QString::fromUtf16(u"日本語のテキストと🎵の絵文字").repeated(5).toUtf8(),
        QByteArray(300, '\xE9'),
    };
    for (const QByteArray& text : texts) {
        for (char encoding : {'B', 'Q', char(0)}) {
            CMimeEncodedWord coder(encoding, "utf-8");
            const QByteArray encoded = encode(coder, text);
            const QList<QByteArray> words = encodedWords(encoded);
            EXPECT_EQ(words.join(' '), encoded) << "only encoded words, blank-separated";
            for (const QByteArray& word : words) {
                EXPECT_LE(word.size(), 75) << word.constData();
                // A word of UTF-8 text holds whole characters only.
                CMimeEncodedWord one;
                const QByteArray bytes = decode(one, word);
                if (isUtf8(text)) {
                    EXPECT_TRUE(isUtf8(bytes)) << word.constData();
                }
            }
            CMimeEncodedWord decoder;
            EXPECT_EQ(decode(decoder, encoded), text) << encoded.constData();
            EXPECT_EQ(decoder.GetCharset(), "utf-8");
        }
    }
}

TEST(MimeEncodedWordTest, DecodingKeepsPlainTextAndDropsBlanksBetweenWords) {
    CMimeEncodedWord coder;
    EXPECT_EQ(decode(coder, "Re: =?ISO-8859-1?q?Caf=E9?= =?utf-8?b?w6k=?=\r\n\t=?utf-8?Q?_!?= end"),
              "Re: Caf\xE9\xC3\xA9 ! end");
    EXPECT_EQ(coder.GetCharset(), "utf-8");
    EXPECT_EQ(coder.GetEncoding(), 'Q');
    EXPECT_EQ(decode(coder, "=?utf-8*en?Q?hi?= there"), "hi there");
    EXPECT_EQ(coder.GetCharset(), "utf-8");
    // Not encoded words: kept as they stand.
    for (const QByteArray& text : QList<QByteArray>{
             "=?utf-8?X?abc?=", "=?utf-8?Q?a b?=", "=??Q?abc?=", "=?utf-8?Q?open", "a =? b"})
        EXPECT_EQ(decode(coder, text), text);
}

TEST(FieldCodeTest, CopiesValuesWhenNoCharsetAppliesAndFoldingIsOff) {
    for (CFieldCodeBase* coder :
         std::initializer_list<CFieldCodeBase*>{new CFieldCodeBase, new CFieldCodeText,
                                                new CFieldCodeAddress, new CFieldCodeParameter}) {
        const QByteArray value = "form-data; name=\"Gr\xFC\xDF"
                                 "e\"; x=" +
                                 QByteArray(200, 'y');
        EXPECT_EQ(encode(*coder, value), value);
        delete coder;
    }
}

TEST(FieldCodeTest, EncodesOnlyTheWordsWithHighBytes) {
    CFieldCodeText subject;
    subject.SetCharset("iso-8859-1");
    EXPECT_EQ(encode(subject, "Hello from K\xF6ln today"),
              "Hello from =?iso-8859-1?Q?K=F6ln?= today");
    EXPECT_EQ(encode(subject, "nothing to encode"), "nothing to encode");

    CFieldCodeAddress to;
    to.SetDefaultCharset("iso-8859-1");
    const QByteArray addresses = "J\xF6rg M\xFCller <jm@example.org>, Ann <ann@example.org>";
    const QByteArray encoded = encode(to, addresses);
    EXPECT_EQ(encoded, "=?iso-8859-1?Q?J=F6rg_M=FCller?= <jm@example.org>, Ann <ann@example.org>");
    CFieldCodeAddress decoder;
    EXPECT_EQ(decode(decoder, encoded), addresses);
    EXPECT_EQ(decoder.GetCharset(), "iso-8859-1");

    // A word that ends at a delimiter leaves the delimiter outside the encoded word.
    EXPECT_EQ(encode(to, "M\xFCller,x"), "=?iso-8859-1?Q?M=FCller?=,x");
}

TEST(FieldCodeTest, FoldingStartsALineAfterEachDelimiterAndFoldsLongLines) {
    CFieldCodeParameter disposition;
    disposition.SetAutoFolding(true);
    EXPECT_EQ(encode(disposition, "form-data; name=\"userfile\"; filename=\"a.ogg\""),
              "form-data;\r\n\tname=\"userfile\";\r\n\tfilename=\"a.ogg\"");

    CFieldCodeText subject;
    subject.SetAutoFolding(true);
    subject.SetCharset("utf-8");
    QByteArray text;
    for (int i = 0; i < 60; ++i)
        text += (i % 5 == 0 ? QString::fromUtf16(u"Grüße").toUtf8() : QByteArray("word")) + ' ';
    text += "end";
    const QByteArray folded = encode(subject, text);
    const QList<QByteArray> lines = folded.split('\n');
    EXPECT_GT(lines.size(), 3);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (i + 1 < lines.size()) {
            EXPECT_TRUE(line.endsWith('\r'));
            line.chop(1);
        }
        EXPECT_LE(line.size(), 76) << line.constData();
        if (i > 0) {
            EXPECT_TRUE(line.startsWith('\t'));
        }
    }
    // Unfolded and decoded, the text comes back with its blanks as they were or as TABs.
    CFieldCodeText decoder;
    EXPECT_EQ(decode(decoder, folded).replace('\t', ' '), text);
}

TEST(FieldCodeTest, LongTextIsCutIntoRunsThatDecodeBack) {
    // A text run longer than 255 bytes is cut at a blank: the encoded words stay apart from the
    // plain words around the cut, and the whole decodes back.
    CFieldCodeText subject;
    subject.SetCharset("iso-8859-1");
    const QByteArray text = QByteArray(250, 'a') + " \xE9t\xE9 " + QByteArray(20, 'b') + " \xE9";
    const QByteArray encoded = encode(subject, text);
    EXPECT_EQ(encodedWords(encoded).size(), 2);
    CFieldCodeText decoder;
    EXPECT_EQ(decode(decoder, encoded), text);

    // A cut between two words to be encoded: the blank between them must survive the reading,
    // which drops blanks between encoded words.
    const QByteArray twoWords =
        QByteArray(240, 'a') + " " + QByteArray(10, '\xE9') + " " + QByteArray(10, '\xFC') + " end";
    EXPECT_EQ(decode(decoder, encode(subject, twoWords)), twoWords);
}

} // namespace
