// Where the program looks for its skins and translation files, and where it keeps its data.
#include "app/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Folders, ReleaseFolderGivesItsParentAndAnInstalledTreeItsShareFolder) {
    EXPECT_EQ(ProgramFolderFor("/dev/build/Release/"), u"/dev/build/"_s);
    EXPECT_EQ(ProgramFolderFor("/apps/release"), u"/apps/"_s);
    EXPECT_EQ(ProgramFolderFor("/apps/releases/"), u"/apps/releases/"_s);
    EXPECT_EQ(ProgramFolderFor("/opt/quillet/build/bin/"), u"/opt/quillet/build/bin/"_s);
    // An installed tree keeps its data under share/.
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir().mkpath(prefix.filePath("bin")));
    ASSERT_TRUE(QDir().mkpath(prefix.filePath("share/quillet/Skins")));
    EXPECT_EQ(ProgramFolderFor(prefix.filePath("bin")), prefix.filePath("share/quillet") + "/");
}

TEST(Folders, FilesAreNamedFromTheirFolders) {
    EXPECT_TRUE(GetExecutableFolder().endsWith('/'));
    EXPECT_TRUE(QFileInfo(GetExecutableFolder()).isDir());
    EXPECT_EQ(GetTraFilePath("de"), GetTranslationFolder() + "Quillet_de.tra");
    EXPECT_EQ(GetDefaultTraFilePath(), GetTraFilePath("en"));
    EXPECT_EQ(GetSkinPath("de"), GetProgramFolder() + "Skins/de/__default.sdf");
    EXPECT_EQ(GetDefaultSkinPath(), GetSkinPath("en"));
    EXPECT_EQ(WithTrailingSlash("/a"), u"/a/"_s);
    EXPECT_EQ(WithTrailingSlash("/a/"), u"/a/"_s);
}

TEST(Folders, SharedDataFolderIsCreatedPrivate) {
    QTemporaryDir home;
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    const QString folder = GetSharedDataFolder();
    qputenv("XDG_DATA_HOME", old);
    EXPECT_EQ(folder, home.path() + "/Brindle/Quillet/");
    const QFileInfo info(folder);
    ASSERT_TRUE(info.isDir());
    EXPECT_EQ(info.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
              QFileDevice::Permissions());
}
