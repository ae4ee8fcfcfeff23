// The skin file reader on files the tests write: header, sections, entries and value conversion.
#include "GuiTestApp.h"
#include "SkinTestFiles.h"

#include "app/IUserMessages.h"
#include "skin/DynBitmap.h"
#include "skin/DynRgn.h"
#include "skin/Font.h"
#include "skin/ImageList.h"
#include "skin/SkinParser.h"
#include "support/TraceCapture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    QString skin(const QByteArray& text, const QString& name = QStringLiteral("__default.sdf")) {
        const QString path = m_dir.filePath(name);
        WriteFile(path, text);
        return path;
    }
    // Opens a skin file of the text with the standard header and the section "[s]".
    void open(const QByteArray& entries) {
        ASSERT_TRUE(parser.init(skin("PP_SDF=test\n[s]\n" + entries), QStringLiteral("PP_SDF")));
        ASSERT_TRUE(parser.openSection(QStringLiteral("[s]")));
    }
    // The keys of the section's entries, read up to its end.
    QStringList keys(const QString& section) {
        QStringList found;
        if (!parser.openSection(section))
            return {QStringLiteral("<no section>")};
        while (parser.nextKey())
            found.append(parser.currentKey() + QLatin1Char('=') + parser.currentValue());
        return found;
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    CSkinParser parser;
};

} // namespace

TEST_F(SkinParserTest, HeaderNeedsExactKeyAndAValueOnTheFirstLine) {
    // Blanks around the key and the value are not part of them.
    ASSERT_TRUE(parser.init(skin("  PP_SDF  =  Slate 1.0  \r\n"), QStringLiteral("PP_SDF")));
    EXPECT_EQ(parser.headerValue(), QStringLiteral("Slate 1.0"));
    EXPECT_EQ(parser.skinFolder(), m_dir.path() + QLatin1Char('/'));

    CSkinParser other;
    EXPECT_FALSE(other.init(skin("pp_sdf=x\n"), QStringLiteral("PP_SDF")));
    EXPECT_FALSE(other.init(skin("PP_SDF=\n"), QStringLiteral("PP_SDF")));
    EXPECT_FALSE(other.init(skin("=x\n"), QStringLiteral("")));
    EXPECT_FALSE(other.init(skin("; a comment first\nPP_SDF=x\n"), QStringLiteral("PP_SDF")));
    EXPECT_FALSE(other.init(skin("[main]\nPP_SDF=x\n"), QStringLiteral("PP_SDF")));
    EXPECT_FALSE(other.init(skin(""), QStringLiteral("PP_SDF")));
    EXPECT_FALSE(other.init(file(QStringLiteral("missing.sdf")), QStringLiteral("PP_SDF")));
    EXPECT_TRUE(other.skinFolder().isEmpty());
    // A key other than the one asked for is refused even when well formed.
    EXPECT_FALSE(other.init(skin("PP_SDX=1\n"), QStringLiteral("PP_SDF")));
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
                            QStringLiteral("PP_SDF")));
    EXPECT_EQ(keys(QStringLiteral("[main]")), QStringList({"a=1", "b=2"}));
    // Headers compare with case; the comment line ends the section.
    EXPECT_EQ(keys(QStringLiteral("[Main]")), QStringList({"d=4"}));
    // A line beginning with "[" ends the entries even when it has an "=".
    EXPECT_EQ(keys(QStringLiteral("[next]")), QStringList({"f=6"}));
    // The last line needs no line end.
    EXPECT_EQ(keys(QStringLiteral("[x]")), QStringList({"h=8"}));
    EXPECT_EQ(keys(QStringLiteral("[missing]")), QStringList({"<no section>"}));
    // A prefix of a header opens it too.
    EXPECT_TRUE(parser.openSection(QStringLiteral("[ma")));

    ASSERT_TRUE(parser.openSection(QStringLiteral("[main]")));
    EXPECT_EQ(parser.nextSection(), QStringLiteral("[Main]"));
    EXPECT_EQ(parser.nextSection(), QStringLiteral("[next]"));
    EXPECT_EQ(parser.nextSection(), QStringLiteral("[x] g=7"));
    EXPECT_EQ(parser.nextSection(), QString());

    // Rewinding reads the file again from the header.
    parser.rewind();
    ASSERT_TRUE(parser.nextKey());
    EXPECT_EQ(parser.currentKey(), QStringLiteral("PP_SDF"));

    parser.close();
    EXPECT_FALSE(parser.openSection(QStringLiteral("[main]")));
    EXPECT_FALSE(parser.nextKey());
    EXPECT_TRUE(parser.skinFolder().isEmpty());
}

TEST_F(SkinParserTest, ValueOperationsNeedTheirKeyAndAValueAndTextIsUtf8) {
    open("n=  42abc\nempty=\n=7\nneg=-7\n");
    int n = 5;
    ASSERT_TRUE(parser.nextKey());
    EXPECT_FALSE(parser.getInt(QStringLiteral("N"), n));
    EXPECT_FALSE(parser.getInt(QStringLiteral("m"), n));
    EXPECT_EQ(n, 5);
    EXPECT_TRUE(parser.getInt(QStringLiteral("n"), n));
    EXPECT_EQ(n, 42);
    ASSERT_TRUE(parser.nextKey());
    EXPECT_FALSE(parser.getInt(QStringLiteral("empty"), n));
    QString text = QStringLiteral("kept");
    EXPECT_FALSE(parser.getText(QStringLiteral("empty"), text));
    EXPECT_EQ(text, QStringLiteral("kept"));
    ASSERT_TRUE(parser.nextKey());
    EXPECT_TRUE(parser.currentKey().isEmpty());
    EXPECT_FALSE(parser.getInt(QString(), n));
    ASSERT_TRUE(parser.nextKey());
    EXPECT_TRUE(parser.getInt(QStringLiteral("neg"), n));
    EXPECT_EQ(n, -7);

    // Text is UTF-8 and lines may end with CR LF.
    open("caption=\xC3\x96"
         "ffnen \xE2\x80\x93 Datei\r\nnext=1\r\n");
    ASSERT_TRUE(parser.nextKey());
    ASSERT_TRUE(parser.getText(QStringLiteral("caption"), text));
    EXPECT_EQ(text, QString::fromUtf8("Öffnen – Datei"));
    ASSERT_TRUE(parser.nextKey());
    EXPECT_EQ(parser.currentValue(), QStringLiteral("1"));
}

TEST_F(SkinParserTest, NumberListsTreatCommaRunsAsOneSeparatorAndFillMissingWithZero) {
    open("red=255,0,0\n"

         "mixed=1, 2 ,3\n"

         "rect=,1,,2\n"
         "long=1,2,3,4,5,6\n"
         "two=10,20,30,40\n"
         "pt=7 , -8\n"
         "bad=x,y\n"

         "flag=2\n"
         "flagx=yes\n"
         "list=a, b c,,d,\n"
         "text=  keeps  inner   blanks\n");
    ColorRef color = 0;
    auto next = [&]() { EXPECT_TRUE(parser.nextKey()); };
    next();
    EXPECT_TRUE(parser.getColor(QStringLiteral("red"), color));
    EXPECT_EQ(color, 255u);
    EXPECT_EQ(ToQColor(color), QColor(255, 0, 0));
    next();
    EXPECT_TRUE(parser.getColor(QStringLiteral("mixed"), color));
    EXPECT_EQ(color, 1u + 2u * 256u + 3u * 65536u);
    SkinRect rect{9, 9, 9, 9};
    next();
    EXPECT_TRUE(parser.getRect(QStringLiteral("rect"), rect));
    EXPECT_EQ(rect, (SkinRect{1, 2, 0, 0}));
    next();
    EXPECT_TRUE(parser.getRect(QStringLiteral("long"), rect));
    EXPECT_EQ(rect, (SkinRect{1, 2, 3, 4}));
    QPoint a, b;
    next();
    EXPECT_TRUE(parser.getTwoPoints(QStringLiteral("two"), a, b));
    EXPECT_EQ(a, QPoint(10, 20));
    EXPECT_EQ(b, QPoint(30, 40));
    next();
    QPoint p;
    QSize s;
    EXPECT_TRUE(parser.getPoint(QStringLiteral("pt"), p));
    EXPECT_TRUE(parser.getSize(QStringLiteral("pt"), s));
    EXPECT_EQ(p, QPoint(7, -8));
    EXPECT_EQ(s, QSize(7, -8));
    next();
    // Bad pieces convert to 0: number lists always convert.
    EXPECT_TRUE(parser.getPoint(QStringLiteral("bad"), p));
    EXPECT_EQ(p, QPoint(0, 0));
    bool flag = true;
    next();
    EXPECT_TRUE(parser.getBool(QStringLiteral("flag"), flag));
    EXPECT_TRUE(flag);
    next();
    EXPECT_TRUE(parser.getBool(QStringLiteral("flagx"), flag));
    EXPECT_FALSE(flag);
    QStringList list{QStringLiteral("old")};
    next();
    EXPECT_TRUE(parser.getTextList(QStringLiteral("list"), list));
    EXPECT_EQ(list, QStringList({"a", "b c", "d"}));
    QString text;
    next();
    EXPECT_TRUE(parser.getText(QStringLiteral("text"), text));
    EXPECT_EQ(text, QStringLiteral("keeps  inner   blanks"));
    EXPECT_FALSE(parser.nextKey());
}

TEST_F(SkinParserTest, FontsTakeFaceHeightWeightWordAndStyleWords) {
    EnsureGuiApp();
    open("f1=DejaVu Sans,-11,bold\n"
         "f2=DejaVu Sans, 12, normal, underline, italic\n"
         "f3=An extremely long face name of forty characters\n"
         "f4=Serif,-9,Bold,Italic,strike,extra,pieces\n");
    CFont font;
    ASSERT_TRUE(parser.nextKey());
    ASSERT_TRUE(parser.getFont(QStringLiteral("f1"), font));
    EXPECT_EQ(font.logFont().faceName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(font.logFont().height, -11);
    EXPECT_EQ(font.logFont().weight, 700);
    EXPECT_FALSE(font.logFont().italic);
    EXPECT_FALSE(font.logFont().underline);
    EXPECT_EQ(font.font().pixelSize(), 11);
    EXPECT_EQ(font.font().weight(), QFont::Bold);
    ASSERT_TRUE(parser.nextKey());
    ASSERT_TRUE(parser.getFont(QStringLiteral("f2"), font));
    EXPECT_EQ(font.logFont().height, 12);
    EXPECT_EQ(font.logFont().weight, 400);
    EXPECT_TRUE(font.font().italic());
    EXPECT_TRUE(font.font().underline());
    ASSERT_TRUE(parser.nextKey());
    ASSERT_TRUE(parser.getFont(QStringLiteral("f3"), font));
    EXPECT_EQ(font.logFont().faceName, QStringLiteral("An extremely long face name of "));
    EXPECT_EQ(font.logFont().height, 0);
    EXPECT_FALSE(font.logFont().italic); // the old font's styles are gone
    ASSERT_TRUE(parser.nextKey());
    ASSERT_TRUE(parser.getFont(QStringLiteral("f4"), font));
    // The words compare exactly: "Bold" and "Italic" are not "bold" and "italic".
    EXPECT_EQ(font.logFont().weight, 400);
    EXPECT_FALSE(font.logFont().italic);
    EXPECT_FALSE(font.logFont().strikeOut);
}

TEST_F(SkinParserTest, FileValuesAreNamesInTheSkinFolder) {
    EnsureGuiApp();
    WriteFile(file(QStringLiteral("red.bmp")), SolidBmp(3, 2, Qt::red));
    WriteFile(file(QStringLiteral("shape.rgn")),
              RegionData({QRect(0, 0, 4, 2), QRect(1, 2, 2, 1)}));
    WriteFile(file(QStringLiteral("strip.bmp")), [] {
        BmpSpec s;
        s.width = 6;
        s.height = 1;
        s.bits = Bits24(6, {{qRgb(255, 0, 255), qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(255, 0, 255),
                             qRgb(7, 8, 9), qRgb(255, 0, 255)}});
        return MakeBmp(s);
    }());
    open("file=red.bmp\n"
         "nofile=gone.bmp\n"
         "bmp=red.bmp\n"
         "nobmp=gone.bmp\n"
         "rgn=shape.rgn\n"
         "list=strip.bmp, 2, 255, 0, 255\n"
         "wide=strip.bmp,7,0,0,0\n"
         "zero=strip.bmp,0,0,0,0\n"
         "few=strip.bmp,2\n");
    QString path = QStringLiteral("kept");
    ASSERT_TRUE(parser.nextKey());
    EXPECT_TRUE(parser.getFile(QStringLiteral("file"), path));
    EXPECT_EQ(path, file(QStringLiteral("red.bmp")));
    ASSERT_TRUE(parser.nextKey());
    EXPECT_FALSE(parser.getFile(QStringLiteral("nofile"), path));
    EXPECT_EQ(path, file(QStringLiteral("red.bmp")));

    CDynBitmap bitmap;
    ASSERT_TRUE(parser.nextKey());
    ASSERT_TRUE(parser.getBitmap(QStringLiteral("bmp"), bitmap));
    EXPECT_EQ(bitmap.size(), QSize(3, 2));
    EXPECT_EQ(bitmap.image().pixel(2, 1), qRgb(255, 0, 0));
    ASSERT_TRUE(parser.nextKey());
    EXPECT_FALSE(parser.getBitmap(QStringLiteral("nobmp"), bitmap));
    EXPECT_EQ(bitmap.size(), QSize(3, 2)); // the held bitmap stays

    CDynRgn region;
    ASSERT_TRUE(parser.nextKey());
    ASSERT_TRUE(parser.getRegion(QStringLiteral("rgn"), region));
    EXPECT_EQ(region.region(), QRegion(0, 0, 4, 2) + QRegion(1, 2, 2, 1));

    CImageList images;
    ASSERT_TRUE(parser.nextKey());
    ASSERT_TRUE(parser.getImageList(QStringLiteral("list"), images));
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
    WriteFile(file(QStringLiteral("hand.cur")),
              IconDirectory(2, 16, 16, QPoint(3, 4), IconImage32(16, 16, qRgba(10, 20, 30, 255))));
    WriteFile(file(QStringLiteral("broken.cur")), QByteArray("\0\0\2\0\1\0", 6));
    RecordedMessages messages;
    CSkinParser withUi(&messages);
    ASSERT_TRUE(withUi.init(skin("PP_SDF=1\n[s]\ncursor=hand.cur\ncursor=gone.cur\n"
                                 "pointer=broken.cur\n"),
                            QStringLiteral("PP_SDF")));
    ASSERT_TRUE(withUi.openSection(QStringLiteral("[s]")));
    QCursor cursor;
    ASSERT_TRUE(withUi.nextKey());
    ASSERT_TRUE(withUi.getCursor(QStringLiteral("cursor"), cursor));
    EXPECT_EQ(cursor.hotSpot(), QPoint(3, 4));
    EXPECT_EQ(cursor.pixmap().size(), QSize(16, 16));
    EXPECT_TRUE(messages.texts.isEmpty());
    ASSERT_TRUE(withUi.nextKey());
    EXPECT_FALSE(withUi.getCursor(QStringLiteral("cursor"), cursor));
    ASSERT_TRUE(withUi.nextKey());
    EXPECT_FALSE(withUi.getCursor(QStringLiteral("pointer"), cursor));
    EXPECT_EQ(messages.texts, QStringList({"couldn't load cursor from file cursor",
                                           "couldn't load cursor from file pointer"}));
    EXPECT_EQ(messages.kinds.first(), IUserMessages::Kind::Error);
    EXPECT_EQ(cursor.hotSpot(), QPoint(3, 4));
}
