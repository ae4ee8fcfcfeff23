// The settings store: values and their conversions, config.ini reading and writing, service URLs.
#include "app/ConfigFile.h"
#include "app/AppInfo.h"
#include "app/Folders.h"
#include "app/Trace.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using testsupport::FromUtf16Le;
using testsupport::ReadBytes;
using testsupport::Utf16Le;
using testsupport::WriteBytes;

namespace {

QByteArray Utf16File(const QString& text) {
    return QByteArray("\xFF\xFE") + Utf16Le(text);
}

QStringList KeysOf(const std::vector<ConfigFile::Pair>& pairs) {
    QStringList keys;
    for (const ConfigFile::Pair& pair : pairs)
        keys << pair.key;
    return keys;
}

// Each test gets its own folder, its own shared data folder and its own trace file.
class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_hadXdg = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        m_oldXdg = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("xdg"))));
        TraceSetDebugOutput(false);
        TraceSetPrefix(m_dir.filePath(QStringLiteral("Log")));
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
    QString Folder() const { return m_dir.filePath(QStringLiteral("cfg")) + QLatin1Char('/'); }
    QString ConfigPath() const { return Folder() + QStringLiteral("config.ini"); }
    QString TraceText() const { return FromUtf16Le(ReadBytes(TraceCurrentFileName())); }
    bool Traced(const char* tag, const QString& message) const {
        return TraceText().contains(QLatin1String(" ") + QLatin1String(tag) + QStringLiteral(": ") +
                                    message + QStringLiteral("\r\n"));
    }

    QTemporaryDir m_dir;
    bool m_hadXdg = false;
    QByteArray m_oldXdg;
};

} // namespace

TEST_F(ConfigFileTest, GenericValuesConversionsAndTraceLines) {
    ConfigFile config(false);
    EXPECT_TRUE(Traced("DBG", QStringLiteral("Config Set Default")));
    EXPECT_TRUE(Traced("DBG", QStringLiteral("ConfigFile::SetValue(TraceLevel, None)")));

    QString text = QStringLiteral("unchanged");
    EXPECT_FALSE(config.GetValue(QStringLiteral("Nope"), text));
    EXPECT_EQ(text, QStringLiteral("unchanged"));
    EXPECT_TRUE(Traced("DBG", QStringLiteral("Nope not found in config file")));

    const size_t count = config.GetPairs().size();
    config.SetValue(QStringLiteral("Key"), QStringLiteral("first"));
    config.SetValue(QStringLiteral("Key"), QStringLiteral("second"));
    EXPECT_EQ(config.GetPairs().size(), count + 1);
    EXPECT_TRUE(config.GetValue(QStringLiteral("Key"), text));
    EXPECT_EQ(text, QStringLiteral("second"));
    EXPECT_TRUE(Traced("DBG", QStringLiteral("ConfigFile::SetValue(Key, first)")));
    // Keys are case-sensitive.
    EXPECT_FALSE(config.GetValue(QStringLiteral("key"), text));

    int number = 5;
    EXPECT_FALSE(config.GetInt(QStringLiteral("Nope"), number));
    EXPECT_EQ(number, 5);
    config.SetValue(QStringLiteral("Num"), QStringLiteral(" -12px"));
    EXPECT_TRUE(config.GetInt(QStringLiteral("Num"), number));
    EXPECT_EQ(number, -12);
    config.SetInt(QStringLiteral("Num"), -2147483647 - 1);
    EXPECT_TRUE(config.GetValue(QStringLiteral("Num"), text));
    EXPECT_EQ(text, QStringLiteral("-2147483648"));

    double real = 1.5;
    EXPECT_FALSE(config.GetDouble(QStringLiteral("Nope"), real));
    EXPECT_EQ(real, 1.5);
    config.SetDouble(QStringLiteral("Real"), 2.5);
    EXPECT_TRUE(config.GetValue(QStringLiteral("Real"), text));
    EXPECT_EQ(text, QStringLiteral("2.500000"));
    EXPECT_TRUE(config.GetDouble(QStringLiteral("Real"), real));
    EXPECT_EQ(real, 2.5);

    bool flag = true;
    config.SetBool(QStringLiteral("Flag"), false);
    EXPECT_TRUE(config.GetValue(QStringLiteral("Flag"), text));
    EXPECT_EQ(text, QStringLiteral("0"));
    EXPECT_TRUE(config.GetBool(QStringLiteral("Flag"), flag));
    EXPECT_FALSE(flag);
    config.SetBool(QStringLiteral("Flag"), true);
    EXPECT_TRUE(config.GetBool(QStringLiteral("Flag"), flag));
    EXPECT_TRUE(flag);
    for (const QString& invalid : {QStringLiteral("yes"), QStringLiteral(" 1"),
                                   QStringLiteral("01"), QStringLiteral("true"), QString()}) {
        flag = false;
        config.SetValue(QStringLiteral("Flag"), invalid);
        EXPECT_FALSE(config.GetBool(QStringLiteral("Flag"), flag)) << invalid.toStdString();
        EXPECT_FALSE(flag);
    }
    EXPECT_FALSE(config.GetBool(QStringLiteral("Nope"), flag));

    config.Clear();
    EXPECT_TRUE(config.GetPairs().empty());
}

TEST_F(ConfigFileTest, DefaultsAndSortedOrder) {
    ConfigFile config(false);
    const QString site = QStringLiteral("http://127.0.0.1:8645");
    const std::vector<std::pair<QString, QString>> expected = {
        {QStringLiteral("ActiveSkin"), GetDefaultSkinPath()},
        {QStringLiteral("AskWantCDRip"), QStringLiteral("1")},
        {QStringLiteral("BitRate"), QStringLiteral("0")},
        {QStringLiteral("HelpUrl"), site + QStringLiteral("/help")},
        {QStringLiteral("HomePageUrl"), site + QStringLiteral("/")},
        {QStringLiteral("LogViewParam_S"), QStringLiteral("1")},
        {QStringLiteral("LogViewParam_X0"), QStringLiteral("0")},
        {QStringLiteral("LogViewParam_X1"), QStringLiteral("6000")},
        {QStringLiteral("LogarithmicView"), QStringLiteral("0")},
        {QStringLiteral("MinZoomSec"), QStringLiteral("6")},
        {QStringLiteral("NormalizationPercent"), QStringLiteral("89")},
        {QStringLiteral("RecordingRefreshTime"), QStringLiteral("100")},
        {QStringLiteral("SupportUrl"), site + QStringLiteral("/support")},
        {QStringLiteral("TraceAKRip"), QStringLiteral("0")},
        {QStringLiteral("TraceCloseAfterEachLine"), QStringLiteral("0")},
        {QStringLiteral("TraceLevel"), QStringLiteral("None")},
        {QStringLiteral("UploadUrl"), site + QStringLiteral("/php/client-upload-dgst.php")},
    };
    const std::vector<ConfigFile::Pair> pairs = config.GetPairs();
    ASSERT_EQ(pairs.size(), expected.size());
    for (size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(pairs[i].key, expected[i].first);
        EXPECT_EQ(pairs[i].value, expected[i].second) << pairs[i].key.toStdString();
    }

    // Sorted by UTF-16 code units: upper case before '_' before lower case, and a surrogate pair
    // (D83C ...) before U+FF01, which is not the order of the code points.
    config.Clear();
    for (const QString& key :
         {QStringLiteral("beta"), QStringLiteral("\uFF01"), QStringLiteral("BitRate"),
          QStringLiteral("_x"), QStringLiteral("AskWantCDRip"), QStringLiteral("\U0001F3B5"),
          QStringLiteral("ActiveSkin"), QStringLiteral("alpha"), QStringLiteral("Zeta"),
          QStringLiteral("A")})
        config.SetValue(key, QStringLiteral("v"));
    EXPECT_EQ(KeysOf(config.GetPairs()),
              (QStringList{QStringLiteral("A"), QStringLiteral("ActiveSkin"),
                           QStringLiteral("AskWantCDRip"), QStringLiteral("BitRate"),
                           QStringLiteral("Zeta"), QStringLiteral("_x"), QStringLiteral("alpha"),
                           QStringLiteral("beta"), QStringLiteral("\U0001F3B5"),
                           QStringLiteral("\uFF01")}));
}

TEST_F(ConfigFileTest, LoadReadsEveryKeyValueLine) {
    const QString path = m_dir.filePath(QStringLiteral("in.ini"));
    WriteBytes(path, Utf16File(QStringLiteral("[Settings]\r\n"
                                              "TraceLevel=Debug\r\n"
                                              "; a comment\r\n"
                                              " key = value \r\n"
                                              "=orphan\r\n"
                                              "\r\n"
                                              "NoEquals\r\n"
                                              "[Other]\r\n"
                                              "TraceLevel=None\r\n"
                                              "Formula=a=b=c\r\n"
                                              "Empty=\r\n"
                                              "Unknown=kept")));
    ConfigFile config(false);
    config.Clear();
    config.Load(path);
    const std::vector<ConfigFile::Pair> pairs = config.GetPairs();
    ASSERT_EQ(pairs.size(), 5u);
    const std::vector<std::pair<QString, QString>> expected = {
        {QStringLiteral(" key "), QStringLiteral(" value ")},
        {QStringLiteral("Empty"), QString()},
        {QStringLiteral("Formula"), QStringLiteral("a=b=c")},
        {QStringLiteral("TraceLevel"), QStringLiteral("None")},
        {QStringLiteral("Unknown"), QStringLiteral("kept")},
    };
    for (size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(pairs[i].key, expected[i].first);
        EXPECT_EQ(pairs[i].value, expected[i].second);
    }
    EXPECT_FALSE(TraceText().contains(QStringLiteral("error loading")));

    // Big-endian and 8-bit files with bare CR and LF line ends load the same way.
    QByteArray bigEndian("\xFE\xFF");
    for (const QChar c : QStringLiteral("A=\u00E9\rB=2\n"))
        bigEndian += char(c.unicode() >> 8), bigEndian += char(c.unicode() & 0xFF);
    WriteBytes(path, bigEndian);
    config.Clear();
    config.Load(path);
    QString value;
    EXPECT_TRUE(config.GetValue(QStringLiteral("A"), value));
    EXPECT_EQ(value, QStringLiteral("\u00E9"));
    EXPECT_TRUE(config.GetValue(QStringLiteral("B"), value));
    EXPECT_EQ(value, QStringLiteral("2"));

    WriteBytes(path, QByteArray("[Settings]\nBitRate=64\rProxy=host:8080\r\n"));
    config.Load(path);
    EXPECT_EQ(config.GetBitRate(), 64);
    EXPECT_EQ(config.GetProxy(), QStringLiteral("host:8080"));
}

TEST_F(ConfigFileTest, MissingOrUnreadableFileKeepsTheDefaults) {
    ConfigFile config(true);
    config.SetConfigFolder(Folder());
    config.SetValue(QStringLiteral("TraceLevel"), QStringLiteral("Debug"));
    config.Reload();
    EXPECT_EQ(config.GetTraceLevel(), QStringLiteral("None"));
    EXPECT_EQ(config.GetPairs().size(), ConfigFile(false).GetPairs().size());
    EXPECT_TRUE(
        Traced("ERR", QStringLiteral("error loading config file ") + ConfigPath() +
                          QStringLiteral(". Error message: No such file or directory (2)")));

    // A folder in place of the file: it opens but cannot be read.
    ASSERT_TRUE(QDir().mkpath(ConfigPath()));
    config.Reload();
    EXPECT_TRUE(Traced("ERR", QStringLiteral("error loading config file ") + ConfigPath() +
                                  QStringLiteral(". Error message: Is a directory (21)")));
    EXPECT_EQ(config.GetMinZoomSec(), 6);
    ASSERT_TRUE(QDir().rmdir(ConfigPath()));
}

TEST_F(ConfigFileTest, TypedAccessorsReadTheirRules) {
    ConfigFile config(false);

    // MinZoomSec below 1 is replaced by 6 in the store.
    for (const QString& low : {QStringLiteral("0"), QStringLiteral("-3"), QStringLiteral("abc")}) {
        config.SetValue(QStringLiteral("MinZoomSec"), low);
        EXPECT_EQ(config.GetMinZoomSec(), 6);
        QString stored;
        EXPECT_TRUE(config.GetValue(QStringLiteral("MinZoomSec"), stored));
        EXPECT_EQ(stored, QStringLiteral("6"));
    }
    config.SetMinZoomSec(12);
    EXPECT_EQ(config.GetMinZoomSec(), 12);

    // NormalizationPercent outside 10..100 reads as 0; it is written with two decimals.
    const std::vector<std::pair<QString, double>> percents = {
        {QStringLiteral("150"), 0},     {QStringLiteral("5"), 0},      {QStringLiteral("10"), 10},
        {QStringLiteral("100"), 100},   {QStringLiteral("100.01"), 0}, {QStringLiteral("9.99"), 0},
        {QStringLiteral("89.5"), 89.5}, {QStringLiteral("abc"), 0},    {QStringLiteral("-50"), 0}};
    for (const auto& [text, percent] : percents) {
        config.SetValue(QStringLiteral("NormalizationPercent"), text);
        EXPECT_EQ(config.GetNormalizationPercent(), percent) << text.toStdString();
    }
    config.SetNormalizationPercent(33.333);
    QString text;
    config.GetValue(QStringLiteral("NormalizationPercent"), text);
    EXPECT_EQ(text, QStringLiteral("33.33"));
    config.SetNormalizationPercent(89);
    config.GetValue(QStringLiteral("NormalizationPercent"), text);
    EXPECT_EQ(text, QStringLiteral("89.00"));

    // Flags: invalid text keeps the accessor's own default.
    config.SetValue(QStringLiteral("AskWantCDRip"), QStringLiteral("yes"));
    EXPECT_TRUE(config.GetAskWantCDRip());
    config.SetAskWantCDRip(false);
    EXPECT_FALSE(config.GetAskWantCDRip());
    config.SetValue(QStringLiteral("TraceAKRip"), QStringLiteral("yes"));
    EXPECT_FALSE(config.GetTraceAKRip());
    config.SetTraceAKRip(true);
    EXPECT_TRUE(config.GetTraceAKRip());
    config.SetValue(QStringLiteral("TraceCloseAfterEachLine"), QStringLiteral("2"));
    EXPECT_FALSE(config.GetTraceCloseAfterEachLine());
    config.SetValue(QStringLiteral("LogarithmicView"), QStringLiteral("1"));
    EXPECT_TRUE(config.GetLogarithmicView());

    // An empty ActiveSkin reads as the default skin file.
    config.SetActiveSkin(QString());
    EXPECT_EQ(config.GetActiveSkin(), GetDefaultSkinPath());
    config.SetActiveSkin(QStringLiteral("/skins/red/__default.sdf"));
    EXPECT_EQ(config.GetActiveSkin(), QStringLiteral("/skins/red/__default.sdf"));

    config.SetCut(6000000000LL, 6000030000LL, 1500, -1);
    EXPECT_EQ(config.GetCut(), QStringLiteral("6000000000,6000030000,1500,-1"));

    // What a missing key reads as.
    config.Clear();
    EXPECT_EQ(config.GetRecordingRefreshTime(), 1000);
    EXPECT_TRUE(config.GetAskWantCDRip());
    EXPECT_FALSE(config.GetTraceAKRip());
    EXPECT_EQ(config.GetNormalizationPercent(), 0);
    EXPECT_EQ(config.GetActiveSkin(), GetDefaultSkinPath());
    EXPECT_EQ(config.GetLogViewParam_X0(), 0);
    EXPECT_EQ(config.GetLogViewParam_X1(), 6000);
    EXPECT_EQ(config.GetLogViewParam_S(), 1);
    EXPECT_EQ(config.GetInputType(), 0);
    EXPECT_EQ(config.GetWavFileName(), QString());
    EXPECT_EQ(config.GetMinZoomSec(), 6);
    EXPECT_TRUE(config.GetValue(QStringLiteral("MinZoomSec"), text));
}

TEST_F(ConfigFileTest, SettersWithoutDefaultsUseTheirKeys) {
    ConfigFile config(false);
    config.Clear();
    config.SetWavFileName(QStringLiteral("/w/temp.in"));
    config.SetInputFileName(QStringLiteral("/m/tone.mp3"));
    config.SetInputName(QStringLiteral("tone"));
    config.SetInputType(2);
    config.SetInputParam(QStringLiteral("3"));
    config.SetInputTitle(QStringLiteral("Title"));
    config.SetProxy(QStringLiteral("proxy:3128"));
    config.SetCut(1, 2, 3, 4);
    config.SetWaveInLine(QStringLiteral("Mic"));
    config.SetWaveInDevice(QStringLiteral("default"));
    config.SetWaveOutDevice(QStringLiteral("hw:0"));
    EXPECT_EQ(KeysOf(config.GetPairs()),
              (QStringList{QStringLiteral("Cut"), QStringLiteral("InputFileName"),
                           QStringLiteral("InputName"), QStringLiteral("InputParam"),
                           QStringLiteral("InputTitle"), QStringLiteral("InputType"),
                           QStringLiteral("Proxy"), QStringLiteral("WavFileName"),
                           QStringLiteral("WaveInDevice"), QStringLiteral("WaveInLine"),
                           QStringLiteral("WaveOutDevice")}));
    EXPECT_EQ(config.GetInputType(), 2);
    EXPECT_EQ(config.GetWaveOutDevice(), QStringLiteral("hw:0"));
}

TEST_F(ConfigFileTest, ParseCutAcceptsOnlyFourUnsignedFields) {
    std::array<quint32, 4> numbers{};
    EXPECT_TRUE(ConfigFile::ParseCut(QStringLiteral("5000,20000,0,0"), numbers));
    EXPECT_EQ(numbers, (std::array<quint32, 4>{5000, 20000, 0, 0}));
    EXPECT_TRUE(ConfigFile::ParseCut(QStringLiteral("4294967295,007,1500,2000"), numbers));
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
    const QString version = ProgramVersion();
    const QString affiliateFolder = m_dir.filePath(QStringLiteral("exe"));
    ASSERT_TRUE(QDir().mkpath(affiliateFolder));
    const QString affiliateFile = affiliateFolder + QStringLiteral("/affiliate.txt");

    ConfigFile config(false);
    config.SetAffiliateFolder(affiliateFolder); // no affiliate.txt yet
    config.SetLanguage(QStringLiteral("de"), true);
    EXPECT_TRUE(config.IsLanguageFromCommandLine());
    EXPECT_EQ(config.GetUploadUrl(),
              QStringLiteral("http://127.0.0.1:8645/php/client-upload-dgst.php?version=") +
                  version + QStringLiteral("&language=de"));
    EXPECT_EQ(config.GetHomePageUrl(), QStringLiteral("http://127.0.0.1:8645/?version=") + version);
    EXPECT_EQ(config.GetSupportUrl(),
              QStringLiteral("http://127.0.0.1:8645/support?version=") + version);
    EXPECT_EQ(config.GetHelpUrl(), QStringLiteral("http://127.0.0.1:8645/help?version=") + version);
    // A URL with a query gets '&'; values are not escaped.
    config.SetHelpUrl(QStringLiteral("http://h/help?topic=a b"));
    EXPECT_EQ(config.GetHelpUrl(), QStringLiteral("http://h/help?topic=a b&version=") + version);

    // The affiliate identifier comes first; it is read once.
    WriteBytes(affiliateFile, "partner42");
    config.SetAffiliateFolder(affiliateFolder);
    EXPECT_EQ(config.GetUploadUrl(),
              QStringLiteral("http://127.0.0.1:8645/php/client-upload-dgst.php?affiliate=partner42"
                             "&version=") +
                  version + QStringLiteral("&language=de"));
    WriteBytes(affiliateFile, "other");
    EXPECT_EQ(config.GetHomePageUrl(),
              QStringLiteral("http://127.0.0.1:8645/?affiliate=partner42&version=") + version);

    // At most 128 bytes of it are read; an empty file adds nothing.
    WriteBytes(affiliateFile, QByteArray(200, 'z'));
    config.SetAffiliateFolder(affiliateFolder);
    EXPECT_EQ(config.GetSupportUrl(), QStringLiteral("http://127.0.0.1:8645/support?affiliate=") +
                                          QString(128, QLatin1Char('z')) +
                                          QStringLiteral("&version=") + version);
    WriteBytes(affiliateFile, QByteArray());
    config.SetAffiliateFolder(affiliateFolder);
    EXPECT_EQ(config.GetHomePageUrl(), QStringLiteral("http://127.0.0.1:8645/?version=") + version);
}

TEST_F(ConfigFileTest, SaveWritesUtf16WithLineFeeds) {
    {
        ConfigFile config(true);
        config.SetConfigFolder(Folder());
        config.Clear();
        config.SetValue(QStringLiteral("b"), QStringLiteral("2"));
        config.SetValue(QStringLiteral("A"), QStringLiteral("x\u00E9 \U0001F3B5"));
        config.SetValue(QStringLiteral(" key "), QStringLiteral(" value "));
        config.Save();
        EXPECT_EQ(
            ReadBytes(ConfigPath()),
            Utf16File(QStringLiteral("[Settings]\n key = value \nA=x\u00E9 \U0001F3B5\nb=2\n")));
    }

    // A default store saved by its destructor (as at the end of a run).
    QFile::remove(ConfigPath());
    {
        ConfigFile config(true);
        config.SetConfigFolder(Folder());
    }
    const QByteArray bytes = ReadBytes(ConfigPath());
    ASSERT_TRUE(bytes.startsWith(Utf16File(QStringLiteral("[Settings]\nActiveSkin="))));
    const QString text = FromUtf16Le(bytes);
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    const qsizetype active = text.indexOf(QStringLiteral("\nActiveSkin="));
    const qsizetype ask = text.indexOf(QStringLiteral("\nAskWantCDRip=1\n"));
    const qsizetype bitRate = text.indexOf(QStringLiteral("\nBitRate=0\n"));
    EXPECT_TRUE(active >= 0 && active < ask && ask < bitRate);
    // Upper case before lower case: LogViewParam_* before LogarithmicView.
    EXPECT_LT(text.indexOf(QStringLiteral("\nLogViewParam_X1=")),
              text.indexOf(QStringLiteral("\nLogarithmicView=")));
}

TEST_F(ConfigFileTest, PersistenceRoundTripAndMinZoomWrittenBack) {
    WriteBytes(ConfigPath(), Utf16File(QStringLiteral("[Settings]\r\nMinZoomSec=0\r\n"
                                                      "Extra Key=\u00E9t\u00E9\r\n"
                                                      "TraceLevel=Debug\r\nTraceLevel=None\r\n")));
    std::vector<ConfigFile::Pair> before;
    {
        ConfigFile config(true);
        config.SetConfigFolder(Folder());
        config.Reload();
        EXPECT_EQ(config.GetTraceLevel(), QStringLiteral("None"));
        EXPECT_EQ(config.GetMinZoomSec(), 6);
        config.SetCut(5000, 20000, 0, 250);
        before = config.GetPairs();
    }
    const QString text = FromUtf16Le(ReadBytes(ConfigPath()));
    EXPECT_TRUE(text.contains(QStringLiteral("\nMinZoomSec=6\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExtra Key=\u00E9t\u00E9\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nCut=5000,20000,0,250\n")));

    ConfigFile again(true);
    again.SetConfigFolder(Folder());
    again.Reload();
    const std::vector<ConfigFile::Pair> after = again.GetPairs();
    ASSERT_EQ(KeysOf(after), KeysOf(before));
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].value, before[i].value);

    // A non-persistent store neither reloads nor saves.
    const QString otherFolder = m_dir.filePath(QStringLiteral("other"));
    ASSERT_TRUE(QDir().mkpath(otherFolder));
    WriteBytes(otherFolder + QStringLiteral("/config.ini"),
               Utf16File(QStringLiteral("[Settings]\nBitRate=64\n")));
    {
        ConfigFile transient(false);
        transient.SetConfigFolder(otherFolder);
        transient.SetBitRate(96);
        transient.Reload();
        EXPECT_EQ(transient.GetBitRate(), 96);
        transient.Save();
    }
    EXPECT_EQ(ReadBytes(otherFolder + QStringLiteral("/config.ini")),
              Utf16File(QStringLiteral("[Settings]\nBitRate=64\n")));
}

TEST_F(ConfigFileTest, FailedSaveKeepsTheOldFile) {
    ConfigFile config(true);
    config.SetConfigFolder(Folder());
    config.Save();
    const QByteArray old = ReadBytes(ConfigPath());
    ASSERT_FALSE(old.isEmpty());

    // A disk that fills up while writing: the file size limit makes the write fail.
    TraceSetLevel(TRACE_ERROR); // keep the trace file itself small
    config.SetValue(QStringLiteral("Big"), QString(200000, QLatin1Char('x')));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 65536;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    config.Save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(ReadBytes(ConfigPath()), old);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{QStringLiteral("config.ini")});
    EXPECT_TRUE(
        TraceText().contains(QStringLiteral(" ERR: error saving config file. Error message: ")));

    // A folder that cannot exist (its parent is a file).
    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    WriteBytes(blocker, "x");
    config.SetConfigFolder(blocker + QStringLiteral("/sub"));
    config.Save();
    EXPECT_EQ(TraceText().count(QStringLiteral(" ERR: error saving config file. Error message: ")),
              2);

    // A folder the user may not write to (root writes anyway, so only as another user).
    if (geteuid() != 0) {
        config.SetConfigFolder(Folder());
        ASSERT_TRUE(QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::ExeOwner));
        config.Save();
        QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(ReadBytes(ConfigPath()), old);
        EXPECT_EQ(
            TraceText().count(QStringLiteral(" ERR: error saving config file. Error message: ")),
            3);
    }
    config.SetConfigFolder(m_dir.filePath(QStringLiteral("end"))); // the destructor's save
}

TEST_F(ConfigFileTest, ConfigurationFolder) {
    ConfigFile config(false);
    config.SetConfigFolder(QStringLiteral("/x/y"));
    EXPECT_EQ(config.GetConfigFolder(), QStringLiteral("/x/y/"));
    EXPECT_EQ(config.GetConfigFilePath(), QStringLiteral("/x/y/config.ini"));
    config.SetConfigFolder(QStringLiteral("/x/y/"));
    EXPECT_EQ(config.GetConfigFolder(), QStringLiteral("/x/y/"));

    config.SetConfigFolder(QString());
    const QString shared = m_dir.filePath(QStringLiteral("xdg/Brindle/Quillet/"));
    EXPECT_EQ(config.GetConfigFolder(), shared);
    EXPECT_TRUE(QFileInfo(shared).isDir());
}

TEST_F(ConfigFileTest, ConcurrentAccessFromThreads) {
    TraceSetLevel(TRACE_NONE);
    ConfigFile config(true);
    config.SetConfigFolder(Folder());
    config.Clear();
    constexpr int kThreads = 4;
    constexpr int kRounds = 2000;
    constexpr int kKeys = 50;
    std::atomic<int> badReads{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRounds; ++i) {
                const QString key = QStringLiteral("T%1_%2").arg(t).arg(i % kKeys);
                config.SetValue(key, QString::number(i));
                int value = -1;
                if (!config.GetInt(key, value) || value % kKeys != i % kKeys)
                    ++badReads;
                config.SetValue(QStringLiteral("Shared"), QString::number(t));
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
            EXPECT_TRUE(config.GetInt(QStringLiteral("T%1_%2").arg(t).arg(k), value));
            EXPECT_EQ(value, kRounds - kKeys + k);
        }

    // Every save wrote a whole file.
    ConfigFile reader(false);
    reader.Clear();
    reader.Load(ConfigPath());
    EXPECT_TRUE(FromUtf16Le(ReadBytes(ConfigPath())).startsWith(QStringLiteral("[Settings]\n")));
    EXPECT_FALSE(reader.GetPairs().empty());
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
    config.SetInputName(QStringLiteral("tone.mp3"));
    DestroyConfig();
    EXPECT_TRUE(
        FromUtf16Le(ReadBytes(ConfigPath())).contains(QStringLiteral("\nInputName=tone.mp3\n")));

    ConfigFile& next = GetConfig();
    EXPECT_EQ(next.GetInputName(), QString()); // a new store starts from the defaults
    next.SetConfigFolder(Folder());
    next.Reload();
    EXPECT_EQ(next.GetInputName(), QStringLiteral("tone.mp3"));
    DestroyConfig();
}
