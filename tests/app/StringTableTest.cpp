// The string table: order and identifiers, lookup, and a German translation of every entry.
#include "app/StringTable.h"

#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/UserText.h"
#include "platform/glossa/Glossa.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <cstring>

namespace {
// The printf conversions of a text in their order ("%%" is none).
QStringList Conversions(const QString& text) {
    const QRegularExpression conversion(QStringLiteral(
        "%[-+ #0]*(\\*|\\d+)?(\\.(\\*|\\d+))?(hh|h|ll|l|L|z|j|t|q|I64)?[diouxXeEfFgGaAcspn%]"));
    QStringList found;
    for (const QRegularExpressionMatch& m : conversion.globalMatch(text))
        if (m.captured() != QStringLiteral("%%"))
            found.append(m.captured());
    return found;
}

GLStartParams StartBlock(const QString& traFile) {
    GLStartParams params;
    std::memset(&params, 0, sizeof(params));
    GLSetFieldText(params.traFile, kGlossaPathChars, traFile);
    params.value1568 = 1;
    params.value1576 = 1;
    params.magic = kGlossaStartMagic;
    params.value1584 = 1;
    return params;
}
} // namespace

TEST(StringTableTest, EntriesAreSortedUniqueAndFound) {
    const auto entries = StringTableEntries();
    ASSERT_GT(entries.size(), 100u);
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_LT(entries[i - 1].id, entries[i].id) << "entry " << entries[i].id << " out of order";
    for (const StringTableEntry& entry : entries) {
        ASSERT_NE(entry.english, nullptr);
        EXPECT_GT(std::strlen(entry.english), 0u) << entry.id;
        EXPECT_EQ(EnglishString(entry.id), entry.english);
    }
    EXPECT_EQ(EnglishString(0), nullptr);
    EXPECT_EQ(EnglishString(105), nullptr);
    EXPECT_EQ(EnglishString(99999), nullptr);
    EXPECT_STREQ(EnglishString(123), "Could not open file: %s.");
    EXPECT_STREQ(EnglishString(164), "The ringtone cannot be larger than %d seconds.");
    EXPECT_STREQ(EnglishString(51349), "Year");
    EXPECT_STREQ(EnglishString(51373), "Seconds");
    EXPECT_STREQ(EnglishString(51386), " %s in %s ");
    EXPECT_EQ(LoadString(99999), QString());
}

TEST(StringTableTest, FormatsWithTheTranslatedFormat) {
    GLStart(nullptr);
    EXPECT_EQ(FormatString(164, 30),
              QStringLiteral("The ringtone cannot be larger than 30 seconds."));
    EXPECT_EQ(FormatString(170, 7), QStringLiteral("track07"));
    const GLStartParams params = StartBlock(QStringLiteral(QUILLET_BIN_DIR "/Quillet_de.tra"));
    ASSERT_TRUE(GLStart(&params));
    EXPECT_EQ(FormatString(164, 30),
              QStringLiteral("Der Klingelton darf höchstens 30 Sekunden lang sein."));
    EXPECT_EQ(FormatString(123, QStringLiteral("Datei fehlt")),
              QStringLiteral("Die Datei konnte nicht geöffnet werden: Datei fehlt."));
    EXPECT_EQ(LoadString(StringId{160}), QStringLiteral("Hilfe"));
    GLStart(nullptr);
    EXPECT_EQ(LoadString(StringId{160}), QStringLiteral("help"));
}

TEST(StringTableTest, UserTextsKeepEnglishForTheTraceLogAndShowTheCurrentLanguage) {
    const GLStartParams params = StartBlock(QStringLiteral(QUILLET_BIN_DIR "/Quillet_de.tra"));
    ASSERT_TRUE(GLStart(&params));
    // A text inside a text: each form takes the inner text's own form.
    const UserText opening = FormatUserText(IDS_WAV_OPEN_FAILED, QStringLiteral("/a/b.wav"),
                                            LoadUserText(IDS_WAV_FILE_NOT_FOUND));
    EXPECT_EQ(opening.english,
              QStringLiteral("error opening file /a/b.wav: the file was not found"));
    EXPECT_EQ(
        opening.shown,
        QStringLiteral("Fehler beim Öffnen der Datei /a/b.wav: die Datei wurde nicht gefunden"));
    EXPECT_EQ(FormatUserText(IDS_ENC_WRITE_ERROR, 4096ul).shown,
              QStringLiteral("Fehler beim Schreiben von 4096 Bytes in die Datei"));
    // A text without translation is both forms at once.
    const UserText system(QStringLiteral("No space left on device (28)"));
    EXPECT_EQ(system.english, system.shown);

    // An exception shows the German text and traces the English one.
    const COxaException fromTable(StringId{IDS_WAV_NOT_A_WAVE_FILE});
    EXPECT_EQ(fromTable.message(), QStringLiteral("keine WAV-Datei"));
    EXPECT_EQ(fromTable.traceMessage(), QStringLiteral("not a wave file"));
    EXPECT_EQ(fromTable.traceText(), QStringLiteral("COxaException: not a wave file (0)"));
    EXPECT_STREQ(fromTable.what(), "keine WAV-Datei");
    const COxaException formatted(opening, 2);
    EXPECT_EQ(formatted.message(), opening.shown);
    EXPECT_EQ(formatted.traceMessage(), opening.english);
    EXPECT_EQ(formatted.code(), 2);
    GLStart(nullptr);
    EXPECT_EQ(COxaException(StringId{IDS_WAV_NOT_A_WAVE_FILE}).message(),
              QStringLiteral("not a wave file"));
}

TEST(StringTableTest, EveryEntryHasAGermanTranslationWithTheSameConversions) {
    const QString tra = QStringLiteral(QUILLET_BIN_DIR "/Quillet_de.tra");
    ASSERT_TRUE(QFile::exists(tra));
    const GLStartParams params = StartBlock(tra);
    ASSERT_TRUE(GLStart(&params));
    // Words that German writes as English does.
    const QSet<QString> sameInGerman = {
        QStringLiteral("OK"),       QStringLiteral("h"),          QStringLiteral("Minute"),
        QStringLiteral("April"),    QStringLiteral("August"),     QStringLiteral("September"),
        QStringLiteral("November"), QStringLiteral(" %s in %s "),
    };
    const QRegularExpression letter(QStringLiteral("\\p{L}"));
    for (const StringTableEntry& entry : StringTableEntries()) {
        const QString english = QString::fromUtf8(entry.english);
        char16_t out[2048];
        const int n = GLTranslateString(out, reinterpret_cast<const char16_t*>(english.utf16()),
                                        int(std::size(out)));
        ASSERT_GT(n, 0) << "no German text for " << entry.id << " \"" << entry.english << "\"";
        const QString german = QString::fromUtf16(out, n);
        if (english.contains(letter) && !sameInGerman.contains(english)) {
            EXPECT_NE(german.toStdString(), english.toStdString()) << entry.id;
        }
        EXPECT_EQ(Conversions(german).join(QLatin1Char(' ')).toStdString(),
                  Conversions(english).join(QLatin1Char(' ')).toStdString())
            << entry.id << ": " << german.toStdString();
        // Texts that are followed by more text keep their trailing blank.
        EXPECT_EQ(german.endsWith(QLatin1Char(' ')), english.endsWith(QLatin1Char(' ')))
            << entry.id;
    }
    GLStart(nullptr);
}
