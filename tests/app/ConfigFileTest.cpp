// The settings store: values and their conversions, config.ini reading and writing, service URLs.
#include "app/ConfigFile.h"
#include "app/AppInfo.h"
#include "app/Folders.h"
#include "app/Trace.h"

#include "decode/WavTestSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

using testsupport::FromUtf16Le;
using testsupport::ReadBytes;
using testsupport::Utf16Le;
using testsupport::WriteBytes;

namespace {

QByteArray Utf16File(const QString& text) {
    return QByteArray("\xFF\xFE") + Utf16Le(text);
}

// The store's entries as "key=value", in its order.
QStringList Entries(const ConfigFile& config) {
    QStringList entries;
    for (const ConfigFile::Pair& pair : config.GetPairs())
        entries << pair.key + QLatin1Char('=') + pair.value;
    return entries;
}

// Each test gets its own folder, its own shared data folder and its own trace file.
class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_hadXdg = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        m_oldXdg = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(u"xdg"_s)));
        TraceSetDebugOutput(false);
        TraceSetPrefix(m_dir.filePath(u"Log"_s));
        TraceSetLevel(TRACE_VERBOSE);
        ASSERT_TRUE(QDir().mkpath(Folder()));
    }
    void TearDown() override {
        TraceSetLevel(TRACE_NONE);
        TraceClose();
        if (m_hadXdg)
            qputenv("XDG_DATA_HOME", m_oldXdg);
        else
            qunsetenv("XDG_DATA_HOME");
    }

    // The configuration folder of the test's persistent stores.
    QString Folder() const { return m_dir.filePath(u"cfg"_s) + QLatin1Char('/'); }
    QString ConfigPath() const { return Folder() + u"config.ini"_s; }
    QString TraceText() const { return FromUtf16Le(ReadBytes(TraceCurrentFileName())); }
    bool Traced(const char* tag, const QString& message) const {
        return TraceText().contains(u" "_s + QLatin1String(tag) + u": "_s + message + u"\r\n"_s);
    }

    QTemporaryDir m_dir;
    bool m_hadXdg = false;
    QByteArray m_oldXdg;
};

} // namespace

TEST_F(ConfigFileTest, GenericValuesConversionsSortOrderAndTraceLines) {
    ConfigFile config(false);
    config.Clear();
    QString text = u"unchanged"_s;
    int number = 5;
    EXPECT_FALSE(config.GetValue(u"Nope"_s, text) || config.GetInt(u"Nope"_s, number));
    EXPECT_EQ(text, u"unchanged"_s);
    EXPECT_EQ(number, 5);

    // A key set again is replaced; keys are case-sensitive.
    config.SetValue(u"Key"_s, u"first"_s);
    config.SetValue(u"Key"_s, u"second"_s);
    EXPECT_EQ(Entries(config), QStringList{u"Key=second"_s});
    EXPECT_FALSE(config.GetValue(u"key"_s, text));
    config.SetValue(u"Num"_s, u" -12px"_s);
    EXPECT_TRUE(config.GetInt(u"Num"_s, number));
    EXPECT_EQ(number, -12);
    config.SetInt(u"Num"_s, -2147483647 - 1);
    double real = 1.5;
    config.SetDouble(u"Real"_s, 2.5);
    EXPECT_TRUE(config.GetDouble(u"Real"_s, real));
    EXPECT_EQ(real, 2.5);
    bool flag = true;
    config.SetBool(u"Flag"_s, false);
    EXPECT_TRUE(config.GetBool(u"Flag"_s, flag) && !flag);
    EXPECT_EQ(Entries(config), (QStringList{u"Flag=0"_s, u"Key=second"_s, u"Num=-2147483648"_s,
                                            u"Real=2.500000"_s}));
    config.SetBool(u"Flag"_s, true);
    EXPECT_TRUE(config.GetBool(u"Flag"_s, flag) && flag);
    // Only "0" and "1" are flags; anything else leaves the value.
    for (const QString& invalid : {u"yes"_s, u" 1"_s, u"01"_s, u"true"_s, QString()}) {
        flag = false;
        config.SetValue(u"Flag"_s, invalid);
        EXPECT_FALSE(config.GetBool(u"Flag"_s, flag) || flag) << invalid.toStdString();
    }

    // Sorted by UTF-16 code units: upper case before '_' before lower case, and a surrogate pair
    // (D83C ...) before U+FF01, which is not the order of the code points.
    config.Clear();
    for (const QString& key :
         {u"beta"_s, u"\uFF01"_s, u"_x"_s, u"\U0001F3B5"_s, u"alpha"_s, u"Zeta"_s, u"A"_s, u"Ab"_s})
        config.SetValue(key, u"v"_s);
    EXPECT_EQ(Entries(config),
              (QStringList{u"A=v"_s, u"Ab=v"_s, u"Zeta=v"_s, u"_x=v"_s, u"alpha=v"_s, u"beta=v"_s,
                           u"\U0001F3B5=v"_s, u"\uFF01=v"_s}));
}

TEST_F(ConfigFileTest, LoadReadsEveryKeyValueLineOrKeepsTheDefaults) {
    const QString path = m_dir.filePath(u"in.ini"_s);
    WriteBytes(path, Utf16File(u"[Settings]\r\nTraceLevel=Debug\r\n; a comment\r\n key = value \r\n"
                               "=orphan\r\n\r\nNoEquals\r\n[Other]\r\nTraceLevel=None\r\n"
                               "Formula=a=b=c\r\nEmpty=\r\nUnknown=kept"_s));
    ConfigFile config(false);
    config.Clear();
    config.Load(path);
    EXPECT_EQ(Entries(config), (QStringList{u" key = value "_s, u"Empty="_s, u"Formula=a=b=c"_s,
                                            u"TraceLevel=None"_s, u"Unknown=kept"_s}));
    EXPECT_FALSE(TraceText().contains(u"error loading"_s));
    // An 8-bit file with bare CR and LF line ends (the text reader's own cases are its suite's).
    WriteBytes(path, QByteArray("[Settings]\nBitRate=64\rProxy=host:8080\r\n"));
    config.Load(path);
    EXPECT_EQ(config.GetBitRate(), 64);
    EXPECT_EQ(config.GetProxy(), u"host:8080"_s);

    // A missing file, or a folder in its place: the defaults stay and the reason is traced.
    ConfigFile store(true);
    store.SetConfigFolder(Folder());
    store.SetValue(u"TraceLevel"_s, u"Debug"_s);
    store.Reload();
    EXPECT_EQ(Entries(store), Entries(ConfigFile(false)));
    EXPECT_TRUE(Traced("ERR", u"error loading config file "_s + ConfigPath() +
                                  u". Error message: No such file or directory (2)"_s));
    ASSERT_TRUE(QDir().mkpath(ConfigPath()));
    store.Reload();
    EXPECT_TRUE(Traced("ERR", u"error loading config file "_s + ConfigPath() +
                                  u". Error message: Is a directory (21)"_s));
    EXPECT_EQ(store.GetMinZoomSec(), 6);
    ASSERT_TRUE(QDir().rmdir(ConfigPath()));
}

TEST_F(ConfigFileTest, TypedAccessorsReadTheirRulesAndSettersTheirKeys) {
    ConfigFile config(false);
    QString text;
    // MinZoomSec below 1 is replaced by 6 in the store.
    for (const QString& low : {u"0"_s, u"-3"_s, u"abc"_s}) {
        config.SetValue(u"MinZoomSec"_s, low);
        EXPECT_EQ(config.GetMinZoomSec(), 6);
        EXPECT_TRUE(config.GetValue(u"MinZoomSec"_s, text) && text == u"6"_s) << text.toStdString();
    }
    // NormalizationPercent outside 10..100 reads as 0; it is written with two decimals.
    const std::pair<const char*, double> percents[] = {
        {"10", 10}, {"100", 100}, {"100.01", 0}, {"9.99", 0}, {"89.5", 89.5}};
    for (const auto& [value, percent] : percents) {
        config.SetValue(u"NormalizationPercent"_s, QString::fromLatin1(value));
        EXPECT_EQ(config.GetNormalizationPercent(), percent) << value;
    }
    config.SetNormalizationPercent(33.333);
    config.GetValue(u"NormalizationPercent"_s, text);
    EXPECT_EQ(text, u"33.33"_s);
    // Flags: invalid text keeps the accessor's own default.
    config.SetValue(u"AskWantCDRip"_s, u"yes"_s);
    config.SetValue(u"TraceAKRip"_s, u"yes"_s);
    config.SetValue(u"TraceCloseAfterEachLine"_s, u"2"_s);
    EXPECT_TRUE(config.GetAskWantCDRip());
    EXPECT_FALSE(config.GetTraceAKRip() || config.GetTraceCloseAfterEachLine());
    // An empty ActiveSkin reads as the default skin file.
    config.SetActiveSkin(QString());
    EXPECT_EQ(config.GetActiveSkin(), GetDefaultSkinPath());
}

TEST_F(ConfigFileTest, ParseCutAcceptsOnlyFourUnsignedFields) {
    std::array<quint32, 4> numbers{};
    EXPECT_TRUE(ConfigFile::ParseCut(u"4294967295,007,1500,2000"_s, numbers));
    EXPECT_EQ(numbers, (std::array<quint32, 4>{4294967295u, 7, 1500, 2000}));

    const std::array<quint32, 4> before = numbers;
    for (const char* bad :
         {"", "1,2,3", "1,2,3,4,5", "1,2,3,4,", ",1,2,3", "1,,3,4", "-1,2,3,4", "+1,2,3,4",
          " 1,2,3,4", "1,2,3,4 ", "1, 2,3,4", "1.5,2,3,4", "4294967296,0,0,0",
          "99999999999999999999,0,0,0", "a,b,c,d", "1;2;3;4", "\xD9\xA1,2,3,4"}) {
        EXPECT_FALSE(ConfigFile::ParseCut(QString::fromUtf8(bad), numbers)) << bad;
        EXPECT_EQ(numbers, before) << bad;
    }
}

TEST_F(ConfigFileTest, ServiceUrlsCarryTheirParameters) {
    const QString version = u"version="_s + ProgramVersion();
    const QString site = u"http://127.0.0.1:8645/"_s;
    const QString affiliateFolder = m_dir.filePath(u"exe"_s);
    ASSERT_TRUE(QDir().mkpath(affiliateFolder));
    const QString affiliateFile = affiliateFolder + u"/affiliate.txt"_s;

    ConfigFile config(false);
    config.SetAffiliateFolder(affiliateFolder); // no affiliate.txt yet
    config.SetLanguage(u"de"_s, true);
    EXPECT_TRUE(config.IsLanguageFromCommandLine());
    EXPECT_EQ(config.GetUploadUrl(),
              site + u"php/client-upload-dgst.php?"_s + version + u"&language=de"_s);
    // A URL with a query gets '&'; values are not escaped.
    config.SetHelpUrl(u"http://h/help?topic=a b"_s);
    EXPECT_EQ(config.GetHelpUrl(), u"http://h/help?topic=a b&"_s + version);

    // The affiliate identifier comes first; it is read once.
    WriteBytes(affiliateFile, "partner42");
    config.SetAffiliateFolder(affiliateFolder);
    EXPECT_EQ(config.GetUploadUrl(), site + u"php/client-upload-dgst.php?affiliate=partner42&"_s +
                                         version + u"&language=de"_s);
    WriteBytes(affiliateFile, "other");
    EXPECT_EQ(config.GetHomePageUrl(), site + u"?affiliate=partner42&"_s + version);
    // At most 128 bytes of it are read; an empty file adds nothing.
    WriteBytes(affiliateFile, QByteArray(200, 'z'));
    config.SetAffiliateFolder(affiliateFolder);
    EXPECT_EQ(config.GetSupportUrl(),
              site + u"support?affiliate="_s + QString(128, QLatin1Char('z')) + u"&"_s + version);
    WriteBytes(affiliateFile, QByteArray());
    config.SetAffiliateFolder(affiliateFolder);
    EXPECT_EQ(config.GetHomePageUrl(), site + u"?"_s + version);
}

TEST_F(ConfigFileTest, SaveWritesSortedUtf16WithLineFeedsAndReloads) {
    {
        ConfigFile config(true);
        config.SetConfigFolder(Folder());
        config.Clear();
        config.SetValue(u"b"_s, u"2"_s);
        config.SetValue(u"A"_s, u"x\u00E9 \U0001F3B5"_s);
        config.SetValue(u" key "_s, u" value "_s);
        config.Save();
        EXPECT_EQ(ReadBytes(ConfigPath()),
                  Utf16File(u"[Settings]\n key = value \nA=x\u00E9 \U0001F3B5\nb=2\n"_s));
    }
    // What was read is written back, MinZoomSec corrected; a second store reads the same.
    WriteBytes(ConfigPath(), Utf16File(u"[Settings]\r\nMinZoomSec=0\r\nExtra Key=\u00E9t\u00E9\r\n"
                                       "TraceLevel=Debug\r\nTraceLevel=None\r\n"_s));
    QStringList before;
    {
        ConfigFile config(true);
        config.SetConfigFolder(Folder());
        config.Reload();
        EXPECT_EQ(config.GetTraceLevel(), u"None"_s);
        EXPECT_EQ(config.GetMinZoomSec(), 6); // and written back
        config.SetCut(5000, 20000, 0, 250);
        before = Entries(config);
    }
    const QString text = FromUtf16Le(ReadBytes(ConfigPath()));
    EXPECT_TRUE(text.contains(u"\nMinZoomSec=6\n"_s));
    EXPECT_TRUE(text.contains(u"\nExtra Key=\u00E9t\u00E9\n"_s));
    EXPECT_TRUE(text.contains(u"\nCut=5000,20000,0,250\n"_s));
    ConfigFile again(true);
    again.SetConfigFolder(Folder());
    again.Reload();
    EXPECT_EQ(Entries(again), before);

    // A non-persistent store neither reloads nor saves.
    const QString other = m_dir.filePath(u"other"_s);
    ASSERT_TRUE(QDir().mkpath(other));
    WriteBytes(other + u"/config.ini"_s, Utf16File(u"[Settings]\nBitRate=64\n"_s));
    {
        ConfigFile transient(false);
        transient.SetConfigFolder(other);
        transient.SetBitRate(96);
        transient.Reload();
        EXPECT_EQ(transient.GetBitRate(), 96);
        transient.Save();
    }
    EXPECT_EQ(ReadBytes(other + u"/config.ini"_s), Utf16File(u"[Settings]\nBitRate=64\n"_s));
}

TEST_F(ConfigFileTest, FailedSaveKeepsTheOldFile) {
    ConfigFile config(true);
    config.SetConfigFolder(Folder());
    config.Save();
    const QByteArray old = ReadBytes(ConfigPath());
    ASSERT_FALSE(old.isEmpty());
    const QString failed = u" ERR: error saving config file. Error message: "_s;

    // A disk that fills up while writing: the file size limit makes the write fail.
    TraceSetLevel(TRACE_ERROR); // keep the trace file itself small
    config.SetValue(u"Big"_s, QString(200000, QLatin1Char('x')));
    {
        const wavtest::FileSizeLimit limit(65536);
        ASSERT_TRUE(limit.active());
        config.Save();
    }
    EXPECT_EQ(ReadBytes(ConfigPath()), old);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{u"config.ini"_s});
    EXPECT_EQ(TraceText().count(failed), 1);

    // A folder that cannot exist (its parent is a file).
    WriteBytes(m_dir.filePath(u"blocker"_s), "x");
    config.SetConfigFolder(m_dir.filePath(u"blocker/sub"_s));
    config.Save();
    EXPECT_EQ(TraceText().count(failed), 2);

    // A folder the user may not write to (root writes anyway, so only as another user).
    if (geteuid() != 0) {
        config.SetConfigFolder(Folder());
        ASSERT_TRUE(QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::ExeOwner));
        config.Save();
        QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(ReadBytes(ConfigPath()), old);
        EXPECT_EQ(TraceText().count(failed), 3);
    }
    config.SetConfigFolder(m_dir.filePath(u"end"_s)); // the destructor's save
}

TEST_F(ConfigFileTest, ConfigurationFolder) {
    ConfigFile config(false);
    config.SetConfigFolder(u"/x/y"_s);
    EXPECT_EQ(config.GetConfigFilePath(), u"/x/y/config.ini"_s);
    config.SetConfigFolder(u"/x/y/"_s);
    EXPECT_EQ(config.GetConfigFolder(), u"/x/y/"_s);
    // None given: the shared data folder, created.
    config.SetConfigFolder(QString());
    const QString shared = m_dir.filePath(u"xdg/Brindle/Quillet/"_s);
    EXPECT_EQ(config.GetConfigFolder(), shared);
    EXPECT_TRUE(QFileInfo(shared).isDir());
}

TEST_F(ConfigFileTest, ConcurrentAccessFromThreads) {
    TraceSetLevel(TRACE_NONE);
    ConfigFile config(true);
    config.SetConfigFolder(Folder());
    config.Clear();
    constexpr int kThreads = 4, kRounds = 2000, kKeys = 50;
    std::atomic<int> badReads{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRounds; ++i) {
                const QString key = u"T%1_%2"_s.arg(t).arg(i % kKeys);
                config.SetValue(key, QString::number(i));
                int value = -1;
                if (!config.GetInt(key, value) || value % kKeys != i % kKeys)
                    ++badReads;
                config.SetValue(u"Shared"_s, QString::number(t));
            }
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < 20; ++i)
            config.Save();
    });
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(badReads.load(), 0);
    const std::vector<ConfigFile::Pair> pairs = config.GetPairs();
    ASSERT_EQ(pairs.size(), size_t(kThreads * kKeys + 1));
    for (size_t i = 1; i < pairs.size(); ++i)
        EXPECT_LT(pairs[i - 1].key, pairs[i].key);
    for (int t = 0; t < kThreads; ++t)
        for (int k = 0; k < kKeys; ++k) {
            int value = -1;
            config.GetInt(u"T%1_%2"_s.arg(t).arg(k), value);
            EXPECT_EQ(value, kRounds - kKeys + k);
        }
    // Every save wrote a whole file.
    EXPECT_TRUE(FromUtf16Le(ReadBytes(ConfigPath())).startsWith(u"[Settings]\n"_s));
}

TEST_F(ConfigFileTest, ProcessWideInstance) {
    std::vector<ConfigFile*> seen(4, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &GetConfig(); });
    for (std::thread& thread : threads)
        thread.join();
    ConfigFile& config = GetConfig();
    for (ConfigFile* instance : seen)
        EXPECT_EQ(instance, &config);

    config.SetConfigFolder(Folder());
    config.Reload();
    config.SetInputName(u"tone.mp3"_s);
    DestroyConfig();
    EXPECT_TRUE(FromUtf16Le(ReadBytes(ConfigPath())).contains(u"\nInputName=tone.mp3\n"_s));

    ConfigFile& next = GetConfig();
    EXPECT_EQ(next.GetInputName(), QString()); // a new store starts from the defaults
    next.SetConfigFolder(Folder());
    next.Reload();
    EXPECT_EQ(next.GetInputName(), u"tone.mp3"_s);
    DestroyConfig();
}
