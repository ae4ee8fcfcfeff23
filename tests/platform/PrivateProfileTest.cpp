// One value of an INI file: found without regard to case, replaced or added, the rest kept.
#include "platform/glossa/PrivateProfile.h"

#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testsupport::ReadBytes;
using testsupport::WriteBytes;

TEST(PrivateProfileTest, WritesAndReadsBackPathsOfAnyCharacters) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"Quillet.ini"_s);
    EXPECT_EQ(ReadProfileString(ini, u"Glossa"_s, u"LastTraFile"_s), QString());

    const QString path = u"/home/Jörg Müller/a,b;c=d [x]/Quillet_de.tra"_s;
    ASSERT_TRUE(WriteProfileString(ini, u"Glossa"_s, u"LastTraFile"_s, path));
    EXPECT_EQ(ReadBytes(ini), (u"[Glossa]\nLastTraFile="_s + path + "\n").toUtf8());
    EXPECT_EQ(ReadProfileString(ini, u"glossa"_s, u"lasttrafile"_s), path);

    // Replacing keeps a single key line.
    ASSERT_TRUE(WriteProfileString(ini, u"GLOSSA"_s, u"LastTraFile"_s, u"/x/Quillet_en.tra"_s));
    EXPECT_EQ(ReadBytes(ini), QByteArray("[Glossa]\nLastTraFile=/x/Quillet_en.tra\n"));

    // A value of two lines, or a file in a missing folder, is not written.
    EXPECT_FALSE(WriteProfileString(ini, u"Glossa"_s, u"LastTraFile"_s, u"two\nlines"_s));
    EXPECT_EQ(ReadProfileString(ini, u"Glossa"_s, u"LastTraFile"_s), u"/x/Quillet_en.tra"_s);
    EXPECT_FALSE(WriteProfileString(dir.filePath(u"missing/Quillet.ini"_s), u"Glossa"_s,
                                    u"LastTraFile"_s, u"/a.tra"_s));
}

TEST(PrivateProfileTest, KeepsOtherSectionsKeysAndComments) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"Quillet.ini"_s);
    WriteBytes(ini, QByteArray("; settings\r\n[Other]\r\nLastTraFile=other\r\n\r\n[Glossa]\r\n"
                               "Font = Sans\r\n  lasttrafile = \"/q/Quillet_de.tra\"  \r\n\r\n"
                               "[Tail]\r\nx=1\r\n"));
    EXPECT_EQ(ReadProfileString(ini, u"Glossa"_s, u"LastTraFile"_s), u"/q/Quillet_de.tra"_s);
    EXPECT_EQ(ReadProfileString(ini, u"Glossa"_s, u"Font"_s), u"Sans"_s);
    EXPECT_EQ(ReadProfileString(ini, u"Tail"_s, u"LastTraFile"_s), QString());

    ASSERT_TRUE(WriteProfileString(ini, u"Glossa"_s, u"LastTraFile"_s, u"/n/Quillet_en.tra"_s));
    ASSERT_TRUE(WriteProfileString(ini, u"Glossa"_s, u"Size"_s, u"12"_s));
    ASSERT_TRUE(WriteProfileString(ini, u"New"_s, u"k"_s, u"v"_s));
    EXPECT_EQ(ReadBytes(ini), QByteArray("; settings\n[Other]\nLastTraFile=other\n\n[Glossa]\n"
                                         "Font = Sans\nLastTraFile=/n/Quillet_en.tra\nSize=12\n\n"
                                         "[Tail]\nx=1\n\n[New]\nk=v\n"));
}

TEST(PrivateProfileTest, ReadsUtf16FilesAndLimitsTheValue) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"Quillet.ini"_s);
    WriteBytes(ini, QByteArray("\xFF\xFE", 2) + testsupport::Utf16Le(QStringLiteral(
                                                    "[Glossa]\r\nLastTraFile=C:/ä/b.tra\r\n")));
    EXPECT_EQ(ReadProfileString(ini, u"Glossa"_s, u"LastTraFile"_s), u"C:/ä/b.tra"_s);
    EXPECT_EQ(ReadProfileString(ini, u"Glossa"_s, u"LastTraFile"_s, 5), u"C:/ä"_s);
    // A UTF-16 file stays UTF-16 when a value is written.
    ASSERT_TRUE(WriteProfileString(ini, u"Glossa"_s, u"LastTraFile"_s, u"/ö.tra"_s));
    EXPECT_EQ(ReadBytes(ini), QByteArray("\xFF\xFE", 2) + testsupport::Utf16Le(QStringLiteral(
                                                              "[Glossa]\nLastTraFile=/ö.tra\n")));
}
