// The skin file reader on files the tests write: header, sections, entries and value conversion.
#include "GuiTestApp.h"
#include "SkinTestFiles.h"

#include "app/IUserMessages.h"
#include "skin/DynBitmap.h"
#include "skin/DynRgn.h"
#include "skin/Font.h"
#include "skin/ImageList.h"
#include "skin/SkinParser.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace skintest;

namespace {

class RecordedMessages : public IUserMessages {
public:
    void ShowMessage(Kind kind, const QString& text) override {
        kinds.append(kind);
        texts.append(text);
    }
    QList<Kind> kinds;
    QStringList texts;
};

class SkinParserTest : public ::testing::Test {
protected:
    // Writes a skin file into the test folder and returns its path.
    QString skin(const QByteArray& text, const QString& name = u"__default.sdf"_s) {
        const QString path = m_dir.filePath(name);
        WriteFile(path, text);
        return path;
    }
    // Opens a skin file of the text with the standard header and the section "[s]".
    void open(const QByteArray& entries) {
        ASSERT_TRUE(parser.init(skin("PP_SDF=test\n[s]\n" + entries), u"PP_SDF"_s));
        ASSERT_TRUE(parser.openSection(u"[s]"_s));
    }
    // The keys of the section's entries, read up to its end.
    QStringList keys(const QString& section) {
        QStringList found;
        if (!parser.openSection(section))
            return {u"<no section>"_s};
        while (parser.nextKey())
            found.append(parser.currentKey() + QLatin1Char('=') + parser.currentValue());
        return found;
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    // What get makes of the next entry, which must have the key and convert.
    template <class T>
    T next(const char* key, bool (CSkinParser::*get)(const QString&, T&), T value = T()) {
        EXPECT_TRUE(parser.nextKey());
        EXPECT_TRUE((parser.*get)(QString::fromLatin1(key), value)) << key;
        return value;
    }

    QTemporaryDir m_dir;
    CSkinParser parser;
};

} // namespace

TEST_F(SkinParserTest, HeaderNeedsExactKeyAndAValueOnTheFirstLine) {
    // Blanks around the key and the value are not part of them.
    ASSERT_TRUE(parser.init(skin("  PP_SDF  =  Slate 1.0  \r\n"), u"PP_SDF"_s));
    EXPECT_EQ(parser.headerValue(), u"Slate 1.0"_s);
    EXPECT_EQ(parser.skinFolder(), m_dir.path() + QLatin1Char('/'));

    // Refused: a key of other case or another key, no value, a comment or section first, no
    // header line at all.
    CSkinParser other;
    for (const char* text :
         {"pp_sdf=x\n", "PP_SDX=1\n", "PP_SDF=\n", "; c\nPP_SDF=x\n", "[main]\nPP_SDF=x\n", ""})
        EXPECT_FALSE(other.init(skin(text), u"PP_SDF"_s)) << text;
    EXPECT_FALSE(other.init(skin("=x\n"), u""_s));
    EXPECT_FALSE(other.init(file(u"missing.sdf"_s), u"PP_SDF"_s));
    EXPECT_TRUE(other.skinFolder().isEmpty());
}

TEST_F(SkinParserTest, SectionsOpenByPrefixAndEndAtBlankCommentOrHeaderLines) {
    ASSERT_TRUE(parser.init(skin("PP_SDF=1\r\n"
                                 "   [main] ; the window\r\n"
                                 "a = 1\r\n"
                                 "  b=2  \r\n"
                                 "\r\n"
                                 "c=3\r\n"
                                 "[Main]\n"
                                 "d=4\n"
                                 "; comment\n"
                                 "e=5\n"
                                 "[next]\n"
                                 "f=6\n"
                                 "[x] g=7\n"
                                 "h=8"),
                            u"PP_SDF"_s));
    EXPECT_EQ(keys(u"[main]"_s), QStringList({"a=1", "b=2"}));
    // Headers compare with case; the comment line ends the section.
    EXPECT_EQ(keys(u"[Main]"_s), QStringList({"d=4"}));
    // A line beginning with "[" ends the entries even when it has an "=".
    EXPECT_EQ(keys(u"[next]"_s), QStringList({"f=6"}));
    // The last line needs no line end.
    EXPECT_EQ(keys(u"[x]"_s), QStringList({"h=8"}));
    EXPECT_EQ(keys(u"[missing]"_s), QStringList({"<no section>"}));
    // A prefix of a header opens it too.
    EXPECT_TRUE(parser.openSection(u"[ma"_s));

    ASSERT_TRUE(parser.openSection(u"[main]"_s));
    EXPECT_EQ(parser.nextSection(), u"[Main]"_s);
    EXPECT_EQ(parser.nextSection(), u"[next]"_s);
    EXPECT_EQ(parser.nextSection(), u"[x] g=7"_s);
    EXPECT_EQ(parser.nextSection(), QString());

    // Rewinding reads the file again from the header.
    parser.rewind();
    ASSERT_TRUE(parser.nextKey());
    EXPECT_EQ(parser.currentKey(), u"PP_SDF"_s);

    parser.close();
    EXPECT_FALSE(parser.openSection(u"[main]"_s));
    EXPECT_FALSE(parser.nextKey());
    EXPECT_TRUE(parser.skinFolder().isEmpty());
}

TEST_F(SkinParserTest, ValueOperationsNeedTheirKeyAndAValueAndTextIsUtf8) {
    open("n=  42abc\nempty=\n=7\nneg=-7\n");
    int n = 5;
    ASSERT_TRUE(parser.nextKey());
    EXPECT_FALSE(parser.getInt(u"N"_s, n) || parser.getInt(u"m"_s, n));
    EXPECT_EQ(n, 5);
    EXPECT_TRUE(parser.getInt(u"n"_s, n));
    EXPECT_EQ(n, 42);
    ASSERT_TRUE(parser.nextKey());
    QString text = u"kept"_s;
    EXPECT_FALSE(parser.getInt(u"empty"_s, n) || parser.getText(u"empty"_s, text));
    EXPECT_EQ(text, u"kept"_s);
    ASSERT_TRUE(parser.nextKey());
    EXPECT_TRUE(parser.currentKey().isEmpty());
    EXPECT_FALSE(parser.getInt(QString(), n));
    EXPECT_EQ(next("neg", &CSkinParser::getInt), -7);

    // Text is UTF-8 and lines may end with CR LF.
    open("caption=\xC3\x96"
         "ffnen \xE2\x80\x93 Datei\r\nnext=1\r\n");
    EXPECT_EQ(next("caption", &CSkinParser::getText), QString::fromUtf8("Öffnen – Datei"));
    ASSERT_TRUE(parser.nextKey());
    EXPECT_EQ(parser.currentValue(), u"1"_s);
}

TEST_F(SkinParserTest, NumberListsTreatCommaRunsAsOneSeparatorAndFillMissingWithZero) {
    open("red=255,0,0\nmixed=1, 2 ,3\nrect=,1,,2\nlong=1,2,3,4,5,6\ntwo=10,20,30,40\n"
         "pt=7 , -8\nbad=x,y\nflag=2\nflagx=yes\nlist=a, b c,,d,\n"
         "text=  keeps  inner   blanks\n");
    EXPECT_EQ(ToQColor(next("red", &CSkinParser::getColor)), QColor(255, 0, 0));
    EXPECT_EQ(next("mixed", &CSkinParser::getColor), 1u + 2u * 256u + 3u * 65536u);
    EXPECT_EQ(next("rect", &CSkinParser::getRect, SkinRect{9, 9, 9, 9}), (SkinRect{1, 2, 0, 0}));
    EXPECT_EQ(next("long", &CSkinParser::getRect), (SkinRect{1, 2, 3, 4}));
    QPoint a, b;
    ASSERT_TRUE(parser.nextKey());
    EXPECT_TRUE(parser.getTwoPoints(u"two"_s, a, b));
    EXPECT_EQ(a, QPoint(10, 20));
    EXPECT_EQ(b, QPoint(30, 40));
    EXPECT_EQ(next("pt", &CSkinParser::getPoint), QPoint(7, -8));
    // Bad pieces convert to 0: number lists always convert.
    EXPECT_EQ(next("bad", &CSkinParser::getPoint, QPoint(5, 5)), QPoint(0, 0));
    EXPECT_TRUE(next("flag", &CSkinParser::getBool, false));
    EXPECT_FALSE(next("flagx", &CSkinParser::getBool, true));
    EXPECT_EQ(next("list", &CSkinParser::getTextList, QStringList{u"old"_s}),
              QStringList({"a", "b c", "d"}));
    EXPECT_EQ(next("text", &CSkinParser::getText), u"keeps  inner   blanks"_s);
    EXPECT_FALSE(parser.nextKey());
}

TEST_F(SkinParserTest, FontsTakeFaceHeightWeightWordAndStyleWords) {
    EnsureGuiApp();
    open("f1=DejaVu Sans,-11,bold\n"
         "f2=DejaVu Sans, 12, normal, underline, italic\n"
         "f3=An extremely long face name of forty characters\n"
         "f4=Serif,-9,Bold,Italic,strike,extra,pieces\n");
    const CFont f1 = next("f1", &CSkinParser::getFont);
    EXPECT_EQ(f1.logFont().faceName, u"DejaVu Sans"_s);
    EXPECT_EQ(f1.logFont().height, -11);
    EXPECT_FALSE(f1.logFont().italic || f1.logFont().underline);
    EXPECT_EQ(f1.font().weight(), QFont::Bold);
    const CFont f2 = next("f2", &CSkinParser::getFont);
    EXPECT_EQ(f2.logFont().height, 12);
    EXPECT_EQ(f2.logFont().weight, 400);
    EXPECT_TRUE(f2.font().italic() && f2.font().underline());
    // A face name is cut to 31 characters; the old font's styles are gone.
    const CFont f3 = next("f3", &CSkinParser::getFont, f2);
    EXPECT_EQ(f3.logFont().faceName, u"An extremely long face name of "_s);
    EXPECT_FALSE(f3.logFont().height != 0 || f3.logFont().italic);
    // The words compare exactly: "Bold" and "Italic" are not "bold" and "italic".
    const CFont f4 = next("f4", &CSkinParser::getFont);
    EXPECT_EQ(f4.logFont().weight, 400);
    EXPECT_FALSE(f4.logFont().italic || f4.logFont().strikeOut);
}

TEST_F(SkinParserTest, FileValuesAreNamesInTheSkinFolder) {
    EnsureGuiApp();
    WriteFile(file(u"red.bmp"_s), SolidBmp(3, 2, Qt::red));
    WriteFile(file(u"shape.rgn"_s), RegionData({QRect(0, 0, 4, 2), QRect(1, 2, 2, 1)}));
    const QRgb key = qRgb(255, 0, 255);
    WriteFile(file(u"strip.bmp"_s), MakeBmp({.width = 6,
                                             .bits = Bits24(6, {{key, qRgb(1, 2, 3), qRgb(4, 5, 6),
                                                                 key, qRgb(7, 8, 9), key}})}));
    open("file=red.bmp\nnofile=gone.bmp\nbmp=red.bmp\nnobmp=gone.bmp\nrgn=shape.rgn\n"
         "list=strip.bmp, 2, 255, 0, 255\nwide=strip.bmp,7,0,0,0\nzero=strip.bmp,0,0,0,0\n"
         "few=strip.bmp,2\n");
    // A missing file is not read and the held value stays.
    QString path = next("file", &CSkinParser::getFile);
    ASSERT_TRUE(parser.nextKey());
    EXPECT_FALSE(parser.getFile(u"nofile"_s, path));
    EXPECT_EQ(path, file(u"red.bmp"_s));
    CDynBitmap bitmap = next("bmp", &CSkinParser::getBitmap);
    ASSERT_TRUE(parser.nextKey());
    EXPECT_FALSE(parser.getBitmap(u"nobmp"_s, bitmap));
    EXPECT_EQ(bitmap.size(), QSize(3, 2));
    EXPECT_EQ(bitmap.image().pixel(2, 1), qRgb(255, 0, 0));

    EXPECT_EQ(next("rgn", &CSkinParser::getRegion).region(),
              QRegion(0, 0, 4, 2) + QRegion(1, 2, 2, 1));
    CImageList images = next("list", &CSkinParser::getImageList);
    ASSERT_EQ(images.count(), 3);
    EXPECT_EQ(images.imageSize(), QSize(2, 1));
    EXPECT_EQ(qAlpha(images.image(0).pixel(0, 0)), 0); // the transparent colour is clear
    EXPECT_EQ(images.image(0).pixel(1, 0), qRgb(1, 2, 3));
    EXPECT_EQ(images.image(2).pixel(0, 0), qRgb(7, 8, 9));
    EXPECT_EQ(qAlpha(images.image(2).pixel(1, 0)), 0);
    for (const char* key : {"wide", "zero", "few"}) {
        ASSERT_TRUE(parser.nextKey());
        EXPECT_FALSE(parser.getImageList(QString::fromLatin1(key), images)) << key;
        EXPECT_EQ(images.count(), 3) << key;
    }
}

TEST_F(SkinParserTest, CursorsLoadAndAMissingOneShowsTheMessageWithTheKey) {
    EnsureGuiApp();
    WriteFile(file(u"hand.cur"_s),
              IconDirectory(2, 16, 16, QPoint(3, 4), IconImage32(16, 16, qRgba(10, 20, 30, 255))));
    WriteFile(file(u"broken.cur"_s), QByteArray("\0\0\2\0\1\0", 6));
    RecordedMessages messages;
    CSkinParser withUi(&messages);
    ASSERT_TRUE(withUi.init(skin("PP_SDF=1\n[s]\ncursor=hand.cur\ncursor=gone.cur\n"
                                 "pointer=broken.cur\n"),
                            u"PP_SDF"_s));
    ASSERT_TRUE(withUi.openSection(u"[s]"_s));
    QCursor cursor;
    ASSERT_TRUE(withUi.nextKey());
    ASSERT_TRUE(withUi.getCursor(u"cursor"_s, cursor));
    EXPECT_EQ(cursor.pixmap().size(), QSize(16, 16));
    EXPECT_TRUE(messages.texts.isEmpty());
    for (const QString& key : {u"cursor"_s, u"pointer"_s}) {
        ASSERT_TRUE(withUi.nextKey());
        EXPECT_FALSE(withUi.getCursor(key, cursor));
    }
    EXPECT_EQ(messages.texts, QStringList({"couldn't load cursor from file cursor",
                                           "couldn't load cursor from file pointer"}));
    EXPECT_EQ(messages.kinds.first(), IUserMessages::Kind::Error);
    EXPECT_EQ(cursor.hotSpot(), QPoint(3, 4));
}
