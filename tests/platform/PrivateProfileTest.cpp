// One value of an INI file: found without regard to case, replaced or added, the rest kept.
#include "platform/glossa/PrivateProfile.h"

#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::ReadBytes;
using testsupport::WriteBytes;

TEST(PrivateProfileTest, WritesAndReadsBackPathsOfAnyCharacters) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Quillet.ini"));
    EXPECT_EQ(ReadProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("LastTraFile")),
              QString());

    const QString path = QStringLiteral("/home/Jörg Müller/a,b;c=d [x]/Quillet_de.tra");
    ASSERT_TRUE(
        WriteProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("LastTraFile"), path));
    EXPECT_EQ(ReadBytes(ini), (QStringLiteral("[Glossa]\nLastTraFile=") + path + "\n").toUtf8());
    EXPECT_EQ(ReadProfileString(ini, QStringLiteral("glossa"), QStringLiteral("lasttrafile")),
              path);

    // Replacing keeps a single key line.
    ASSERT_TRUE(WriteProfileString(ini, QStringLiteral("GLOSSA"), QStringLiteral("LastTraFile"),
                                   QStringLiteral("/x/Quillet_en.tra")));
    EXPECT_EQ(ReadBytes(ini), QByteArray("[Glossa]\nLastTraFile=/x/Quillet_en.tra\n"));

    EXPECT_FALSE(WriteProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("LastTraFile"),
                                    QStringLiteral("two\nlines")));
    EXPECT_EQ(ReadProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("LastTraFile")),
              QStringLiteral("/x/Quillet_en.tra"));
}

TEST(PrivateProfileTest, KeepsOtherSectionsKeysAndComments) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Quillet.ini"));
    WriteBytes(ini, QByteArray("; settings\r\n[Other]\r\nLastTraFile=other\r\n\r\n[Glossa]\r\n"
                               "Font = Sans\r\n  lasttrafile = \"/q/Quillet_de.tra\"  \r\n\r\n"
                               "[Tail]\r\nx=1\r\n"));
    EXPECT_EQ(ReadProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("LastTraFile")),
              QStringLiteral("/q/Quillet_de.tra"));
    EXPECT_EQ(ReadProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("Font")),
              QStringLiteral("Sans"));
    EXPECT_EQ(ReadProfileString(ini, QStringLiteral("Tail"), QStringLiteral("LastTraFile")),
              QString());

    ASSERT_TRUE(WriteProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("LastTraFile"),
                                   QStringLiteral("/n/Quillet_en.tra")));
    ASSERT_TRUE(WriteProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("Size"),
                                   QStringLiteral("12")));
    ASSERT_TRUE(
        WriteProfileString(ini, QStringLiteral("New"), QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_EQ(ReadBytes(ini), QByteArray("; settings\n[Other]\nLastTraFile=other\n\n[Glossa]\n"
                                         "Font = Sans\nLastTraFile=/n/Quillet_en.tra\nSize=12\n\n"
                                         "[Tail]\nx=1\n\n[New]\nk=v\n"));
}

TEST(PrivateProfileTest, ReadsUtf16FilesAndLimitsTheValue) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Quillet.ini"));
    WriteBytes(ini, QByteArray("\xFF\xFE", 2) + testsupport::Utf16Le(QStringLiteral(
                                                    "[Glossa]\r\nLastTraFile=C:/ä/b.tra\r\n")));
    EXPECT_EQ(ReadProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("LastTraFile")),
              QStringLiteral("C:/ä/b.tra"));
    EXPECT_EQ(ReadProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("LastTraFile"), 5),
              QStringLiteral("C:/ä"));
    // A UTF-16 file stays UTF-16 when a value is written.
    ASSERT_TRUE(WriteProfileString(ini, QStringLiteral("Glossa"), QStringLiteral("LastTraFile"),
                                   QStringLiteral("/ö.tra")));
    EXPECT_EQ(ReadBytes(ini), QByteArray("\xFF\xFE", 2) + testsupport::Utf16Le(QStringLiteral(
                                                              "[Glossa]\nLastTraFile=/ö.tra\n")));
}

TEST(PrivateProfileTest, UnwritableFileFails) {
    QTemporaryDir dir;
    EXPECT_FALSE(WriteProfileString(dir.filePath(QStringLiteral("missing/Quillet.ini")),
                                    QStringLiteral("Glossa"), QStringLiteral("LastTraFile"),
                                    QStringLiteral("/a.tra")));
}
