// The translation library: its parameter blocks, loading .tra files, translating and switching.
#include "platform/glossa/Glossa.h"
#include "platform/glossa/GlossaTranslator.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {
const QString kGermanTra = QStringLiteral(QUILLET_BIN_DIR "/Quillet_de.tra");
const QString kEnglishTra = QStringLiteral(QUILLET_BIN_DIR "/Quillet_en.tra");

const char16_t* Utf16(const QString& text) {
    return reinterpret_cast<const char16_t*>(text.utf16());
}

GLStartParams StartBlock(const QString& traFile, const QString& iniFile = QString()) {
    GLStartParams params;
    std::memset(&params, 0, sizeof(params));
    GLSetFieldText(params.traFile, kGlossaPathChars, traFile);
    GLSetFieldText(params.iniFile, kGlossaPathChars, iniFile);
    params.value1568 = 1;
    params.value1576 = 1;
    params.magic = kGlossaStartMagic;
    params.value1584 = 1;
    return params;
}

// Starts the library with the block of the files; whether it took them.
bool Start(const QString& traFile, const QString& iniFile = QString()) {
    const GLStartParams params = StartBlock(traFile, iniFile);
    return GLStart(&params);
}

// The translation through the library's call, or "<none>" when it reports none.
QString Translated(const QString& english) {
    char16_t out[2048];
    const int n = GLTranslateString(out, Utf16(english), 2048);
    return n > 0 ? QString::fromUtf16(out, n) : u"<none>"_s;
}

QString LoadedFile() {
    GLLanguageParams params;
    GLGetLanguageParams(&params);
    return GLFieldText(params.loadedFile, kGlossaLoadedPathChars);
}

// Each test starts the process's library itself and leaves it without a translation.
class GlossaTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QFile::exists(kGermanTra)) << kGermanTra.toStdString(); }
    void TearDown() override { GLStart(nullptr); }
    QTemporaryDir m_dir;
};
} // namespace

TEST(GlossaFieldTest, TextIsCutToTheFieldAndZeroTerminated) {
    char16_t field[5];
    std::memset(field, 0xAB, sizeof(field));
    EXPECT_TRUE(GLSetFieldText(field, 5, u"äb"_s));
    // The rest of the field is cleared as well.
    EXPECT_EQ(std::u16string_view(field, 5), std::u16string_view(u"äb\0\0\0", 5));

    EXPECT_FALSE(GLSetFieldText(field, 5, u"abcdef"_s));
    EXPECT_EQ(GLFieldText(field, 5), u"abcd"_s);
    EXPECT_EQ(field[4], 0);

    // A field without its zero is read up to its end only.
    const char16_t full[3] = {u'x', u'y', u'z'};
    EXPECT_EQ(GLFieldText(full, 3), u"xyz"_s);
}

TEST_F(GlossaTest, StartLoadsTheFileOfTheBlockByItsFullPath) {
    ASSERT_TRUE(Start(kGermanTra, m_dir.filePath(u"Quillet.ini"_s)));
    EXPECT_EQ(Translated(u"Open file"_s), u"Datei öffnen"_s);
    EXPECT_EQ(Translated(u"no such text in the table"_s), u"<none>"_s);
    EXPECT_EQ(LoadedFile(), kGermanTra);

    GLLanguageParams report;
    std::memset(&report, 0xAB, sizeof(report));
    GLGetLanguageParams(&report);
    EXPECT_EQ(GLFieldText(report.language, 32), u"de"_s);
    EXPECT_EQ(GLFieldText(report.iniFile, kGlossaPathChars), m_dir.filePath(u"Quillet.ini"_s));
    // Every byte is written: no trace of the caller's filling is left.
    EXPECT_FALSE(QByteArray(reinterpret_cast<const char*>(&report), sizeof(report))
                     .contains(QByteArray(2, '\xAB')));
}

TEST_F(GlossaTest, TranslationMustFitTheCallersBuffer) {
    ASSERT_TRUE(Start(kGermanTra));
    char16_t out[13];
    // "Datei öffnen" is 12 units: it fits in 13 with its zero, not in 12.
    EXPECT_EQ(GLTranslateString(out, u"Open file", 13), 12);
    EXPECT_EQ(QString::fromUtf16(out), u"Datei öffnen"_s);
    EXPECT_LT(GLTranslateString(out, u"Open file", 12), 0);
    EXPECT_LT(GLTranslateString(nullptr, u"Open file", 12), 0);
    EXPECT_LT(GLTranslateString(out, nullptr, 12), 0);
    EXPECT_EQ(GLTranslateString(out, u"", 13), 0);
}

TEST_F(GlossaTest, MissingOrDamagedFilesLeaveEnglish) {
    // A missing file, or a block without the library's check value, is refused.
    EXPECT_FALSE(Start(m_dir.filePath(u"Quillet_fr.tra"_s)));
    EXPECT_EQ(LoadedFile(), QString());
    GLStartParams params = StartBlock(kGermanTra);
    params.magic = 0;
    EXPECT_FALSE(GLStart(&params));
    EXPECT_EQ(Translated(u"Open file"_s), u"<none>"_s);

    const QByteArray german = ReadBytes(kGermanTra);
    ASSERT_GT(german.size(), 100);
    const QList<QByteArray> damaged = {QByteArray(), QByteArray(4000, '\x5A'), german.left(10),
                                       german.left(german.size() / 2)};
    for (const QByteArray& bytes : damaged) {
        const QString path = m_dir.filePath(u"Quillet_xx.tra"_s);
        WriteBytes(path, bytes);
        EXPECT_FALSE(Start(path)) << bytes.size();
        EXPECT_EQ(Translated(u"Open file"_s) + LoadedFile(), u"<none>"_s);
    }

    // The file's 16-byte signature alone is a valid translation without any text.
    const QString empty = m_dir.filePath(u"Quillet_yy.tra"_s);
    WriteBytes(empty, german.left(16));
    EXPECT_TRUE(Start(empty));
    EXPECT_EQ(Translated(u"Open file"_s), u"<none>"_s);
    EXPECT_EQ(LoadedFile(), empty);
}

TEST_F(GlossaTest, OnlyTheNamedFileIsLoadedNotNeighboursOfSimilarName) {
    // QTranslator on its own tries "<name>.qm" before the name, and shortened names after it.
    const QString tra = m_dir.filePath(u"Quillet_de.tra"_s);
    QFile::copy(kGermanTra, tra);
    QFile::copy(kEnglishTra, tra + u".qm"_s);
    ASSERT_TRUE(Start(tra));
    EXPECT_EQ(Translated(u"Open file"_s), u"Datei öffnen"_s);
    EXPECT_EQ(LoadedFile(), tra);

    // A missing Quillet_fr.tra is not replaced by Quillet.tra, Quillet.qm or Quillet_fr.tra.qm.
    for (const char* name : {"Quillet.tra", "Quillet.qm", "Quillet_fr.tra.qm", "Quillet_fr.qm"})
        QFile::copy(kGermanTra, m_dir.filePath(QString::fromLatin1(name)));
    EXPECT_FALSE(Start(m_dir.filePath(u"Quillet_fr.tra"_s)));
    EXPECT_EQ(Translated(u"Open file"_s), u"<none>"_s);
}

TEST_F(GlossaTest, SwitchLanguageReplacesTheTranslationOrKeepsItOnFailure) {
    ASSERT_TRUE(Start(kEnglishTra));
    EXPECT_EQ(Translated(u"Open file"_s), u"<none>"_s);
    EXPECT_EQ(LoadedFile(), kEnglishTra);

    EXPECT_TRUE(GLSwitchLanguage(Utf16(kGermanTra)));
    EXPECT_EQ(Translated(u"zoom in"_s), u"Vergrößern"_s);
    EXPECT_EQ(LoadedFile(), kGermanTra);

    const QString garbage = m_dir.filePath(u"Quillet_xx.tra"_s);
    WriteBytes(garbage, QByteArray("not a translation file"));
    EXPECT_FALSE(GLSwitchLanguage(Utf16(garbage)));
    EXPECT_FALSE(GLSwitchLanguage(Utf16(m_dir.filePath(u"Quillet_fr.tra"_s))));
    EXPECT_FALSE(GLSwitchLanguage(nullptr));
    EXPECT_EQ(Translated(u"zoom in"_s), u"Vergrößern"_s);
    EXPECT_EQ(LoadedFile(), kGermanTra);

    EXPECT_TRUE(GLSwitchLanguage(Utf16(kEnglishTra)));
    EXPECT_EQ(Translated(u"zoom in"_s), u"<none>"_s);
}

TEST_F(GlossaTest, ThreadsAreCountedOnceAndForgottenByANewStart) {
    ASSERT_TRUE(Start(kGermanTra));
    auto threads = [] {
        GLLanguageParams report;
        GLGetLanguageParams(&report);
        return report.threadCount;
    };
    EXPECT_EQ(threads(), 0u);
    GLAddThread(QThread::currentThreadId());
    GLAddThread(QThread::currentThreadId());
    EXPECT_EQ(threads(), 1u);
    std::thread worker([] { GLAddThread(QThread::currentThreadId()); });
    worker.join();
    EXPECT_EQ(threads(), 2u);
    ASSERT_TRUE(Start(kGermanTra));
    EXPECT_EQ(threads(), 0u);
}

TEST_F(GlossaTest, WorkersTranslateWhileTheLanguageSwitches) {
    ASSERT_TRUE(Start(kEnglishTra));
    constexpr int kWorkers = 3;
    constexpr int kCalls = 3000;
    std::atomic<int> finished{0}, german{0}, english{0}, wrong{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < kWorkers; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < kCalls; ++i) {
                char16_t out[64];
                const int n = GLTranslateString(out, u"stop playing", 64);
                if (n <= 0)
                    ++english;
                else if (QString::fromUtf16(out, n) == u"Wiedergabe anhalten"_s)
                    ++german;
                else
                    ++wrong;
            }
            ++finished;
        });
    }
    // The language switches back and forth for as long as the workers translate.
    for (int i = 0; finished.load() < kWorkers; ++i)
        GLSwitchLanguage(Utf16(i % 2 ? kEnglishTra : kGermanTra));
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(german.load() + english.load(), kWorkers * kCalls);
}

TEST(GlossaTranslatorTest, InstancesAreIndependent) {
    CGlossaTranslator german;
    CGlossaTranslator none;
    ASSERT_TRUE(german.Start(kGermanTra, u"/tmp/Quillet.ini"_s));
    EXPECT_EQ(german.Translate("help"), u"Hilfe"_s);
    EXPECT_EQ(none.Translate("help"), QString());
    EXPECT_EQ(german.GetReport().loadedFile, kGermanTra);
    EXPECT_EQ(none.GetReport().loadedFile, QString());
}
