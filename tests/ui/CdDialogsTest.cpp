// The CD dialogs: the tracks of an image the test makes, Extract enabled for audio tracks only, a
// cancelled extraction that stays in the dialog, and a track opened as the model's input.
#include "UiTestSupport.h"
#include "platform/CdAudioTestImage.h"
#include "support/TestSupport.h"
#include "ui/AskWantCDRipDlg.h"
#include "ui/CdRipperDlg.h"
#include "ui/ProgressDlg.h"
#include "ui/WindowMessages.h"
#include "workflow/IRingtoneModelOwner.h"
#include "workflow/RingtoneModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace uitest;

namespace {
// The model's owner as the window is: progress dialogs and message boxes.
class WindowLikeOwner : public IRingtoneModelOwner {
public:
    void RefreshState() override {}
    void RefreshInputName(const QString& name) override { inputName = name; }
    std::unique_ptr<IOpProgress> CreateProgress(int titleId) override {
        return std::make_unique<CProgressDlg>(nullptr, titleId);
    }
    IUserMessages& Messages() override { return messages; }

    CWindowMessages messages;
    QString inputName;
};

using CdDialogsTest = DialogTest;

// Clicks Cancel of every visible progress dialog.
void CancelProgress() {
    if (auto* progress = FindTopLevel<CProgressDlg>())
        progress->cancelButton()->click();
}
} // namespace

TEST_F(CdDialogsTest, ATrackOfAnImageBecomesTheInput) {
    const cdtest::Image image({{false, 312, 0}, {false, 200, 0}, {true, 300, 0}});
    const cdtest::ImagesVariable images({image.writeCue(m_data.path(), QStringLiteral("disc"))});
    WindowLikeOwner owner;
    CRingtoneModel model;
    model.attach(&owner, nullptr);

    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = FindTopLevel<CCdRipperDlg>();
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->driveBox()->count(), 1);
        EXPECT_TRUE(dialog->driveBox()->currentText().endsWith(QStringLiteral("disc.cue")));
        QTreeWidget* list = dialog->trackList();
        ASSERT_EQ(list->topLevelItemCount(), 3);
        EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("Track 01 (audio)"));
        EXPECT_EQ(list->topLevelItem(2)->text(0), QStringLiteral("Track 03 (data)"));
        EXPECT_FALSE(dialog->extractButton()->isEnabled());
        list->setCurrentItem(list->topLevelItem(2));
        EXPECT_FALSE(dialog->extractButton()->isEnabled());
        list->setCurrentItem(list->topLevelItem(0));
        EXPECT_TRUE(dialog->extractButton()->isEnabled());
        SaveShot(dialog, QStringLiteral("cd_tracks_en"));

        // Cancelled at the first look at the flag: the dialog stays, no file is left.
        QTimer canceller;
        QObject::connect(&canceller, &QTimer::timeout, &CancelProgress);
        canceller.start(0);
        dialog->extractButton()->click();
        canceller.stop();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(QFile::exists(CRingtoneModel::workCdFileName()));
        EXPECT_TRUE(model.getInputName().isEmpty());
        checked = true;

        dialog->extractButton()->click();
    });
    ASSERT_TRUE(RunCdTrackDialogs(nullptr, model));
    EXPECT_TRUE(checked);
    EXPECT_EQ(model.getInputName(), QStringLiteral("Audio CD track [1]"));
    EXPECT_EQ(owner.inputName, QStringLiteral("Audio CD track [1]"));
    const QByteArray wav = testsupport::ReadBytes(CRingtoneModel::workWavFileName());
    EXPECT_EQ(wav.mid(44), cdtest::AudioFrames(0, 312));
    EXPECT_FALSE(QFile::exists(CRingtoneModel::workCdFileName()));

    // In German the track list speaks German.
    ASSERT_TRUE(SwitchLanguage(QStringLiteral("de")));
    CCdRipperDlg german(nullptr, model);
    german.show();
    SaveShot(&german, QStringLiteral("cd_tracks_de"));
    EXPECT_EQ(german.trackList()->topLevelItem(2)->text(0), QStringLiteral("Titel 03 (Daten)"));
}

TEST_F(CdDialogsTest, TheWarningStoresItsCheckBoxAndIsNeverNeededOnLinux) {
    GetConfig().SetAskWantCDRip(true);
    CAskWantCDRipDlg ask(nullptr);
    EXPECT_TRUE(ask.askAgainBox()->isChecked());
    ask.show();
    SaveShot(&ask, QStringLiteral("cd_warning_en"));
    ask.askAgainBox()->setChecked(false);
    ask.noButton()->click();
    EXPECT_EQ(ask.result(), QDialog::Rejected);
    EXPECT_FALSE(GetConfig().GetAskWantCDRip());

    // The warning guards against systems whose CD access can freeze; Linux is not one.
    GetConfig().SetAskWantCDRip(true);
    EXPECT_TRUE(AskWantCdRip(nullptr));
    EXPECT_EQ(FindTopLevel<CAskWantCDRipDlg>(), nullptr);
}
