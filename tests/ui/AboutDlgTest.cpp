// The about dialog: the language switch at run time (stored and announced), when the buttons are
// offered, the key help and the folders in the current language.
#include "ui/AboutDlg.h"
#include "UiTestSupport.h"
#include "app/StringIds.h"
#include "app/StringTable.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>

using namespace uitest;

using AboutDlgTest = DialogTest;

namespace {
// Whether a label of the dialog shows exactly the text.
bool HasLabel(const QWidget& dialog, const QString& text) {
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == text)
            return true;
    return false;
}
} // namespace

TEST_F(AboutDlgTest, SwitchesTheLanguageStoresItAndTellsTheWindow) {
    CAboutDlg about(nullptr, false);
    ASSERT_TRUE(about.offersLanguages());
    EXPECT_TRUE(about.languageButton(QStringLiteral("en"))->isChecked());
    EXPECT_TRUE(about.languageButton(QStringLiteral("de"))->isEnabled());
    EXPECT_TRUE(HasLabel(about, QStringLiteral("Ctrl+Shift+Z, Ctrl+Y")));
    EXPECT_EQ(about.settingsFolderText(), GetConfig().GetConfigFolder());
    EXPECT_FALSE(about.traceFolderText().isEmpty());
    about.show();
    SaveShot(&about, QStringLiteral("about_en"));

    // OK with the current language changes nothing.
    QStringList changed;
    QObject::connect(&about, &CAboutDlg::languageChanged,
                     [&changed](const QString& lang) { changed.append(lang); });
    about.accept();
    EXPECT_TRUE(changed.isEmpty());

    about.languageButton(QStringLiteral("de"))->click();
    about.accept();
    EXPECT_EQ(changed, QStringList{QStringLiteral("de")});
    EXPECT_EQ(GetCurrentLanguage(), QStringLiteral("de"));
    EXPECT_EQ(GetConfig().GetLanguage(), QStringLiteral("de"));
    EXPECT_FALSE(GetConfig().IsLanguageFromCommandLine());
    EXPECT_EQ(GetLastTraFile(), GetTraFilePath(QStringLiteral("de")));
    EXPECT_EQ(LoadString(IDS_DLG_CANCEL), QStringLiteral("Abbrechen"));

    CAboutDlg german(nullptr, false);
    EXPECT_EQ(german.windowTitle(), QStringLiteral("Über Quillet"));
    EXPECT_TRUE(german.languageButton(QStringLiteral("de"))->isChecked());
    EXPECT_TRUE(HasLabel(german, QStringLiteral("Strg+Umschalt+Z, Strg+Y")));
    EXPECT_TRUE(HasLabel(
        german, QStringLiteral("Den vorgeschlagenen Klingelton wählen: den lautesten Teil, der "
                               "sich wiederholt")));
    german.show();
    SaveShot(&german, QStringLiteral("about_de"));
}

TEST_F(AboutDlgTest, OffersNoLanguagesDuringABeamOrWithTheLanguageFromTheCommandLine) {
    EXPECT_FALSE(CAboutDlg(nullptr, true).offersLanguages());
    GetConfig().SetLanguage(QStringLiteral("en"), true);
    CAboutDlg about(nullptr, false);
    EXPECT_FALSE(about.offersLanguages());
    EXPECT_EQ(about.chosenLanguage(), QStringLiteral("en"));
}

TEST_F(AboutDlgTest, StoresTheRingtoneSettingsOnOkOnly) {
    CAboutDlg about(nullptr, false);
    EXPECT_FALSE(about.loudnessBox()->isChecked());
    EXPECT_EQ(about.targetBox()->value(), -14.0);
    EXPECT_EQ(about.ceilingBox()->value(), -1.0);
    about.loudnessBox()->click();
    about.targetBox()->setValue(-16.5);
    about.suggestBox()->click();
    about.reject();
    EXPECT_FALSE(GetConfig().GetLoudnessNormalization());
    about.accept();
    QString mode;
    GetConfig().GetValue(QStringLiteral("NormalizationMode"), mode);
    EXPECT_EQ(mode, QStringLiteral("loudness"));
    EXPECT_EQ(GetConfig().GetTargetLoudness(), -16.5);
    EXPECT_EQ(GetConfig().GetTruePeakCeiling(), -1.0);
    EXPECT_TRUE(GetConfig().GetSuggestOnOpen());
}
