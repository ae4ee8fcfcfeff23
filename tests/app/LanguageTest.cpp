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

using namespace Qt::StringLiterals;

using testsupport::ReadBytes;

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
    EXPECT_EQ(LanguageOfTraFile(u"/opt/quillet/Quillet_de.tra"_s), u"de"_s);
    EXPECT_EQ(LanguageOfTraFile(u"/a/My_Quillet_pt_BR.tra"_s), u"BR"_s);
    EXPECT_EQ(LanguageOfTraFile(u"/a/Quillet_de.v2.tra"_s), u"de.v2"_s);
    // The dot must stand at least two characters after the underscore.
    // Only the file's own name counts, not the folders above it.
    for (const QString& none : {u"/a/Quillet_.tra"_s, u"/a/Quillet_de"_s, u"/j_doe/Quillet.tra"_s})
        EXPECT_EQ(LanguageOfTraFile(none), QString()) << none.toStdString();
}

TEST_F(LanguageTest, CurrentLanguageComesFromTheLoadedFileNameAndAMissingOneLeavesEnglish) {
    TraceCapture trace(TRACE_ERROR);
    ASSERT_TRUE(StartLanguage(GermanAs(u"Quillet_de.tra"_s), QString()));
    EXPECT_EQ(GetCurrentLanguage(), u"de"_s);
    ASSERT_TRUE(StartLanguage(GermanAs(u"Quillet_x.tra"_s), QString()));
    EXPECT_EQ(GetCurrentLanguage(), u"x"_s);
    EXPECT_TRUE(trace.lines().isEmpty());

    const QString odd = GermanAs(u"Deutsch.tra"_s);
    ASSERT_TRUE(StartLanguage(odd, QString()));
    EXPECT_EQ(GetCurrentLanguage(), u"en"_s);
    EXPECT_TRUE(trace.hasLine(
        "ERR", u"unexpected tra file name, should have format: Quillet_[lang].tra: "_s + odd));

    // A missing file leaves English.
    const QString missing = m_dir.filePath(u"Quillet_zz.tra"_s);
    EXPECT_FALSE(StartLanguage(missing, GetLanguageMemoryPath()));
    EXPECT_EQ(TranslateText(u"Open file"_s), u"Open file"_s);
    EXPECT_EQ(GetCurrentLanguage(), u"en"_s);
    EXPECT_TRUE(trace.hasLine("ERR", u"translation file not found: "_s + missing));
}

TEST_F(LanguageTest, TranslateTextUsesThePositiveResultOnly) {
    ASSERT_TRUE(StartLanguage(kGermanTra, GetLanguageMemoryPath()));
    EXPECT_EQ(TranslateText(u"Open file"_s), u"Datei öffnen"_s);
    // A text the translation does not have stays as it is.
    EXPECT_EQ(TranslateText(u"Quillet"_s), u"Quillet"_s);
    EXPECT_EQ(TranslateText(QString()), QString());
    // A long English text without a translation comes back whole.
    const QString longText(5000, QLatin1Char('a'));
    EXPECT_EQ(TranslateText(longText), longText);

    // The library reports the calling thread as registered and the settings file it was given.
    GLLanguageParams params;
    GLGetLanguageParams(&params);
    EXPECT_EQ(params.threadCount, 1u);
    EXPECT_EQ(GLFieldText(params.iniFile, kGlossaPathChars), m_dir.filePath(u"Quillet.ini"_s));
}

TEST_F(LanguageTest, SwitchingChangesTheTranslationAndIsRemembered) {
    ASSERT_TRUE(
        StartLanguage(QStringLiteral(QUILLET_BIN_DIR "/Quillet_en.tra"), GetLanguageMemoryPath()));
    EXPECT_EQ(TranslateText(u"help"_s), u"help"_s);

    ASSERT_TRUE(GLSwitchLanguage(reinterpret_cast<const char16_t*>(kGermanTra.utf16())));
    EXPECT_EQ(GetCurrentLanguage(), u"de"_s);

    // SwitchLanguage takes the language's file beside the program; one that is not there leaves the
    // translation as it was, but the choice is still set and remembered.
    EXPECT_FALSE(SwitchLanguage(u"zz"_s));
    EXPECT_EQ(TranslateText(u"help"_s), u"Hilfe"_s);
    EXPECT_EQ(GetConfig().GetLanguage(), u"zz"_s);
    EXPECT_FALSE(GetConfig().IsLanguageFromCommandLine());
    EXPECT_EQ(GetLastTraFile(), GetTraFilePath(u"zz"_s));
}

TEST_F(LanguageTest, LastTraFileRoundTripsThroughQuilletIniOrReportsTheFailure) {
    EXPECT_EQ(GetLanguageMemoryPath(), m_dir.filePath(u"Quillet.ini"_s));
    EXPECT_EQ(GetLastTraFile(), QString());

    const QString path = m_dir.filePath(u"Dir with spaces, ä/Quillet_de.tra"_s);
    ASSERT_TRUE(SetLastTraFile(path));
    EXPECT_EQ(GetLastTraFile(), path);
    EXPECT_EQ(ReadBytes(GetLanguageMemoryPath()),
              (u"[Glossa]\nLastTraFile="_s + path + u"\n"_s).toUtf8());

    // Another configuration folder has its own memory.
    QTemporaryDir other;
    GetConfig().SetConfigFolder(other.path());
    EXPECT_EQ(GetLastTraFile(), QString());

    // A folder that cannot be written is reported.
    TraceCapture trace(TRACE_ERROR);
    GetConfig().SetConfigFolder(m_dir.filePath(u"missing"_s));
    EXPECT_FALSE(SetLastTraFile(u"/a/Quillet_de.tra"_s));
    EXPECT_EQ(trace.lines().size(), 1);
}

TEST(StartParamsTest, BlockHoldsThePathsAndCutsOverlongOnes) {
    const GLStartParams params = MakeStartParams(u"/opt/Quillet_de.tra"_s, u"/home/ü/Q.ini"_s);
    EXPECT_EQ(GLFieldText(params.iniFile, kGlossaPathChars), u"/home/ü/Q.ini"_s);
    EXPECT_EQ(params.magic, kGlossaStartMagic);

    // An overlong path is cut and traced.
    TraceCapture trace(TRACE_ERROR);
    const QString longTra = u"/"_s + QString(300, QLatin1Char('d')) + u"/Quillet_de.tra"_s;
    const GLStartParams cut = MakeStartParams(longTra, u"/Quillet.ini"_s);
    EXPECT_EQ(GLFieldText(cut.traFile, kGlossaPathChars), longTra.left(259));
    EXPECT_TRUE(trace.hasLine("ERR", u"translation file path too long: "_s + longTra));
}
