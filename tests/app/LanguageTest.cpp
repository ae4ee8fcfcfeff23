// The user-interface language: its code from the loaded file, its memory in Quillet.ini, the start
// block, and texts translated through the library.
#include "app/Language.h"

#include "app/ConfigFile.h"
#include "app/Folders.h"
#include "support/TestSupport.h"
#include "support/TraceCapture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using testsupport::ReadBytes;
using testsupport::Utf16Le;

namespace {
const QString kGermanTra = QStringLiteral(QUILLET_BIN_DIR "/Quillet_de.tra");

// Each test gets its own configuration folder and leaves the library without a translation.
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(kGermanTra));
        m_savedFolder = GetConfig().GetConfigFolder();
        m_savedLanguage = GetConfig().GetLanguage();
        m_savedFromCommandLine = GetConfig().IsLanguageFromCommandLine();
        GetConfig().SetConfigFolder(m_dir.path());
    }
    void TearDown() override {
        GLStart(nullptr);
        GetConfig().SetConfigFolder(m_savedFolder);
        GetConfig().SetLanguage(m_savedLanguage, m_savedFromCommandLine);
    }
    // A copy of the German translation file under another name in the test's folder.
    QString GermanAs(const QString& name) {
        const QString path = m_dir.filePath(name);
        QFile::copy(kGermanTra, path);
        return path;
    }
    QTemporaryDir m_dir;
    QString m_savedFolder;
    QString m_savedLanguage;
    bool m_savedFromCommandLine = false;
};
} // namespace

TEST(LanguageOfTraFileTest, TakesTheTextBetweenTheLastUnderscoreAndTheLastDot) {
    EXPECT_EQ(LanguageOfTraFile(QStringLiteral("/opt/quillet/Quillet_de.tra")),
              QStringLiteral("de"));
    EXPECT_EQ(LanguageOfTraFile(QStringLiteral("Quillet_x.tra")), QStringLiteral("x"));
    EXPECT_EQ(LanguageOfTraFile(QStringLiteral("/a/My_Quillet_pt_BR.tra")), QStringLiteral("BR"));
    EXPECT_EQ(LanguageOfTraFile(QStringLiteral("/a/Quillet_de.v2.tra")), QStringLiteral("de.v2"));
    // The dot must stand at least two characters after the underscore.
    EXPECT_EQ(LanguageOfTraFile(QStringLiteral("/a/Quillet_.tra")), QString());
    EXPECT_EQ(LanguageOfTraFile(QStringLiteral("/a/Quillet.tra")), QString());
    EXPECT_EQ(LanguageOfTraFile(QStringLiteral("/a/Quillet_de")), QString());
    EXPECT_EQ(LanguageOfTraFile(QStringLiteral("/a/x.y_z")), QString());
    // Only the file's own name counts, not the folders above it.
    EXPECT_EQ(LanguageOfTraFile(QStringLiteral("/home/j_doe/Quillet.tra")), QString());
    EXPECT_EQ(LanguageOfTraFile(QString()), QString());
}

TEST_F(LanguageTest, CurrentLanguageComesFromTheLoadedFileName) {
    TraceCapture trace(TRACE_ERROR);
    ASSERT_TRUE(StartLanguage(GermanAs(QStringLiteral("Quillet_de.tra")), QString()));
    EXPECT_EQ(GetCurrentLanguage(), QStringLiteral("de"));
    ASSERT_TRUE(StartLanguage(GermanAs(QStringLiteral("Quillet_x.tra")), QString()));
    EXPECT_EQ(GetCurrentLanguage(), QStringLiteral("x"));
    EXPECT_TRUE(trace.lines().isEmpty());

    const QString odd = GermanAs(QStringLiteral("Deutsch.tra"));
    ASSERT_TRUE(StartLanguage(odd, QString()));
    EXPECT_EQ(GetCurrentLanguage(), QStringLiteral("en"));
    EXPECT_TRUE(trace.hasLine(
        "ERR",
        QStringLiteral("unexpected tra file name, should have format: Quillet_[lang].tra: ") +
            odd));
}

TEST_F(LanguageTest, StartWithAMissingFileLeavesEnglish) {
    TraceCapture trace(TRACE_ERROR);
    const QString missing = m_dir.filePath(QStringLiteral("Quillet_de.tra"));
    EXPECT_FALSE(StartLanguage(missing, GetLanguageMemoryPath()));
    EXPECT_EQ(TranslateText(QStringLiteral("Open file")), QStringLiteral("Open file"));
    EXPECT_EQ(GetCurrentLanguage(), QStringLiteral("en"));
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("translation file not found: ") + missing));
}

TEST_F(LanguageTest, TranslateTextUsesThePositiveResultOnly) {
    ASSERT_TRUE(StartLanguage(kGermanTra, GetLanguageMemoryPath()));
    EXPECT_EQ(TranslateText(QStringLiteral("Open file")), QStringLiteral("Datei öffnen"));
    // A text the translation does not have stays as it is.
    EXPECT_EQ(TranslateText(QStringLiteral("Quillet")), QStringLiteral("Quillet"));
    EXPECT_EQ(TranslateText(QString()), QString());
    // A long English text without a translation comes back whole.
    const QString longText(5000, QLatin1Char('a'));
    EXPECT_EQ(TranslateText(longText), longText);

    // The library reports the calling thread as registered and the settings file it was given.
    GLLanguageParams params;
    GLGetLanguageParams(&params);
    EXPECT_EQ(params.threadCount, 1u);
    EXPECT_EQ(GLFieldText(params.iniFile, kGlossaPathChars),
              m_dir.filePath(QStringLiteral("Quillet.ini")));
}

TEST_F(LanguageTest, SwitchingChangesTheTranslationAndIsRemembered) {
    const QString english = GermanAs(QStringLiteral("Quillet_en.tra"));
    QFile::remove(english);
    QFile::copy(QStringLiteral(QUILLET_BIN_DIR "/Quillet_en.tra"), english);
    ASSERT_TRUE(StartLanguage(english, GetLanguageMemoryPath()));
    EXPECT_EQ(TranslateText(QStringLiteral("help")), QStringLiteral("help"));
    EXPECT_EQ(GetCurrentLanguage(), QStringLiteral("en"));

    const QString german = GermanAs(QStringLiteral("Quillet_de.tra"));
    ASSERT_TRUE(GLSwitchLanguage(reinterpret_cast<const char16_t*>(german.utf16())));
    EXPECT_EQ(TranslateText(QStringLiteral("help")), QStringLiteral("Hilfe"));
    EXPECT_EQ(GetCurrentLanguage(), QStringLiteral("de"));

    // SwitchLanguage takes the language's file beside the program; one that is not there leaves the
    // translation as it was, but the choice is still set and remembered.
    EXPECT_FALSE(SwitchLanguage(QStringLiteral("zz")));
    EXPECT_EQ(TranslateText(QStringLiteral("help")), QStringLiteral("Hilfe"));
    EXPECT_EQ(GetConfig().GetLanguage(), QStringLiteral("zz"));
    EXPECT_FALSE(GetConfig().IsLanguageFromCommandLine());
    EXPECT_EQ(GetLastTraFile(), GetTraFilePath(QStringLiteral("zz")));
}

TEST_F(LanguageTest, LastTraFileRoundTripsThroughQuilletIni) {
    EXPECT_EQ(GetLanguageMemoryPath(), m_dir.filePath(QStringLiteral("Quillet.ini")));
    EXPECT_EQ(GetLastTraFile(), QString());

    const QString path = m_dir.filePath(QStringLiteral("Dir with spaces, ä/Quillet_de.tra"));
    ASSERT_TRUE(SetLastTraFile(path));
    EXPECT_EQ(GetLastTraFile(), path);
    EXPECT_EQ(ReadBytes(GetLanguageMemoryPath()),
              (QStringLiteral("[Glossa]\nLastTraFile=") + path + QStringLiteral("\n")).toUtf8());

    ASSERT_TRUE(SetLastTraFile(GetDefaultTraFilePath()));
    EXPECT_EQ(GetLastTraFile(), GetDefaultTraFilePath());

    // Another configuration folder has its own memory.
    QTemporaryDir other;
    GetConfig().SetConfigFolder(other.path());
    EXPECT_EQ(GetLastTraFile(), QString());
}

TEST_F(LanguageTest, SetLastTraFileReportsAnUnwritableFolder) {
    TraceCapture trace(TRACE_ERROR);
    GetConfig().SetConfigFolder(m_dir.filePath(QStringLiteral("missing")));
    EXPECT_FALSE(SetLastTraFile(QStringLiteral("/a/Quillet_de.tra")));
    EXPECT_EQ(trace.lines().size(), 1);
}

TEST(StartParamsTest, BlockHoldsThePathsAndFixedValuesAtTheirOffsets) {
    const QString tra = QStringLiteral("/opt/Quillet/Quillet_de.tra");
    const QString ini = QStringLiteral("/home/ü/Quillet.ini");
    const GLStartParams params = MakeStartParams(tra, ini);
    const QByteArray bytes(reinterpret_cast<const char*>(&params), sizeof(params));
    ASSERT_EQ(bytes.size(), 1596);

    QByteArray expected(1596, '\0');
    expected.replace(4, Utf16Le(tra).size(), Utf16Le(tra));
    expected.replace(1048, Utf16Le(ini).size(), Utf16Le(ini));
    const auto put = [&](int offset, quint32 value) {
        for (int i = 0; i < 4; ++i)
            expected[offset + i] = char((value >> (8 * i)) & 0xFF);
    };
    put(1568, 1);
    put(1572, 0);
    put(1576, 1);
    put(1580, 0x1234);
    put(1584, 1);
    put(1592, 0);
    EXPECT_EQ(bytes.toHex(), expected.toHex());
}

TEST(StartParamsTest, OverlongPathIsCutAndTraced) {
    TraceCapture trace(TRACE_ERROR);
    const QString tra =
        QStringLiteral("/") + QString(300, QLatin1Char('d')) + QStringLiteral("/Quillet_de.tra");
    const GLStartParams params = MakeStartParams(tra, QStringLiteral("/Quillet.ini"));
    EXPECT_EQ(GLFieldText(params.traFile, kGlossaPathChars), tra.left(259));
    EXPECT_EQ(params.traFile[259], 0);
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("translation file path too long: ") + tra));
}
