// The string table: order and identifiers, lookup, and a German translation of every entry.
#include "app/StringTable.h"

#include "app/Language.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/UserText.h"
#include "platform/glossa/Glossa.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <cstring>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
// The printf conversions of a text in their order ("%%" is none).
QStringList Conversions(const QString& text) {
    const QRegularExpression conversion(QStringLiteral(
        "%[-+ #0]*(\\*|\\d+)?(\\.(\\*|\\d+))?(hh|h|ll|l|L|z|j|t|q|I64)?[diouxXeEfFgGaAcspn%]"));
    QStringList found;
    for (const QRegularExpressionMatch& m : conversion.globalMatch(text))
        if (m.captured() != u"%%"_s)
            found.append(m.captured());
    return found;
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
    EXPECT_EQ(LoadString(99999), QString());
}

TEST(StringTableTest, FormatsAndUserTextsTakeTheTranslationAndKeepEnglishForTheLog) {
    GLStart(nullptr);
    EXPECT_EQ(FormatString(164, 30), u"The ringtone cannot be larger than 30 seconds."_s);
    EXPECT_EQ(FormatString(170, 7), u"track07"_s);
    const GLStartParams params =
        MakeStartParams(QStringLiteral(QUILLET_BIN_DIR "/Quillet_de.tra"), QString());
    ASSERT_TRUE(GLStart(&params));
    EXPECT_EQ(FormatString(164, 30), u"Der Klingelton darf höchstens 30 Sekunden lang sein."_s);
    EXPECT_EQ(FormatString(123, u"Datei fehlt"_s),
              u"Die Datei konnte nicht geöffnet werden: Datei fehlt."_s);
    EXPECT_EQ(LoadString(StringId{160}), u"Hilfe"_s);

    // User texts keep English for the trace log and show the current language. A text inside a
    // text: each form takes the inner text's own form.
    const UserText opening =
        FormatUserText(IDS_WAV_OPEN_FAILED, u"/a/b.wav"_s, LoadUserText(IDS_WAV_FILE_NOT_FOUND));
    EXPECT_EQ(opening.english, u"error opening file /a/b.wav: the file was not found"_s);
    EXPECT_EQ(opening.shown,
              u"Fehler beim Öffnen der Datei /a/b.wav: die Datei wurde nicht gefunden"_s);
    EXPECT_EQ(FormatUserText(IDS_ENC_WRITE_ERROR, 4096ul).shown,
              u"Fehler beim Schreiben von 4096 Bytes in die Datei"_s);
    // A text without translation is both forms at once.
    const UserText system(u"No space left on device (28)"_s);
    EXPECT_EQ(system.english, system.shown);

    // An exception shows the German text and traces the English one.
    const COxaException fromTable(StringId{IDS_WAV_NOT_A_WAVE_FILE});
    EXPECT_EQ(fromTable.message(), u"keine WAV-Datei"_s);
    EXPECT_EQ(fromTable.traceMessage(), u"not a wave file"_s);
    EXPECT_EQ(fromTable.traceText(), u"COxaException: not a wave file (0)"_s);
    EXPECT_STREQ(fromTable.what(), "keine WAV-Datei");
    const COxaException formatted(opening, 2);
    EXPECT_EQ(formatted.message(), opening.shown);
    EXPECT_EQ(formatted.traceMessage(), opening.english);
    EXPECT_EQ(formatted.code(), 2);
    GLStart(nullptr);
    EXPECT_EQ(LoadString(StringId{160}), u"help"_s);
    EXPECT_EQ(COxaException(StringId{IDS_WAV_NOT_A_WAVE_FILE}).message(), u"not a wave file"_s);
}

TEST(StringTableTest, EveryEntryHasAGermanTranslationWithTheSameConversions) {
    const QString tra = QStringLiteral(QUILLET_BIN_DIR "/Quillet_de.tra");
    ASSERT_TRUE(QFile::exists(tra));
    const GLStartParams params = MakeStartParams(tra, QString());
    ASSERT_TRUE(GLStart(&params));
    // Words that German writes as English does.
    const QSet<QString> sameInGerman = {
        u"OK"_s,       u"h"_s,          u"Minute"_s, u"April"_s, u"August"_s, u"September"_s,
        u"November"_s, u" %s in %s "_s, u"L"_s,      u"R"_s, // the channels: links, rechts
    };
    const QRegularExpression letter(u"\\p{L}"_s);
    for (const StringTableEntry& entry : StringTableEntries()) {
        const QString english = QString::fromUtf8(entry.english);
        char16_t out[4096];
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
