// The main window driven with simulated events: skin fall-back, opening by command line and by
// drop, button enabling, keyboard, exit during a beam, hand-over from a later start.
#include "WindowTestSupport.h"
#include "app/Folders.h"
#include "app/SingleInstance.h"
#include "app/WorkFolderLock.h"
#include "skin/XButton.h"
#include "support/BeamTestSupport.h"
#include "ui/AboutDlg.h"
#include "ui/QuilletCtrl.h"
#include "ui/QuilletDlg.h"
#include "view/gui/StreamViewCtrl.h"

#include <QAbstractButton>
#include <QDir>
#include <QLockFile>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QUuid>

using namespace windowtest;
using namespace testsupport;
using namespace Qt::StringLiterals;
using Ctrl = CQuilletCtrl;

namespace {

class QuilletWindowTest : public WindowTest {
protected:
    // What a drop of the URL onto the window does: accepted on entering, and opened on dropping.
    static bool drop(CQuilletDlg& dlg, const QUrl& url) {
        QMimeData data;
        data.setUrls({url});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &enter);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &dropped);
        EXPECT_EQ(enter.isAccepted(), dropped.isAccepted());
        return enter.isAccepted();
    }
};

TEST_F(QuilletWindowTest, SkinThatCannotBeReadFallsBackToTheDefaultSkin) {
    GetConfig().SetActiveSkin(u"/nowhere/skin.sdf"_s);
    CQuilletDlg dlg(m_messages, QString());
    EXPECT_EQ(m_messages.errors, QStringList{u"couldn't open skin \"/nowhere/skin.sdf\""_s});
    ASSERT_TRUE(QFileInfo::exists(GetDefaultSkinPath()));
    EXPECT_EQ(dlg.skinPath(), GetDefaultSkinPath());
    EXPECT_EQ(GetConfig().GetActiveSkin(), GetDefaultSkinPath());
    // The window takes the skin's size and shape, the control its place, the buttons theirs.
    EXPECT_EQ(dlg.size(), QSize(800, 460));
    EXPECT_FALSE(dlg.mask().isEmpty());
    EXPECT_EQ(dlg.ctrl().pos(), QPoint(12, 48));
    EXPECT_EQ(dlg.button(CQuilletDlg::BtnExit)->geometry(), QRect(760, 8, 28, 28));
    EXPECT_EQ(dlg.ctrl().streamView()->geometry(), QRect(8, 56, 760, 250));
    uitest::SaveShot(&dlg, u"window-en-empty"_s);

    // A skin without its buttons does not parse; the skin in use stays.
    const QString broken = file(u"broken.sdf"_s);
    WriteBytes(broken, "PP_SDF=broken\n[main]\nbitmap=main_bg.bmp\n");
    m_messages.errors.clear();
    EXPECT_TRUE(dlg.chooseSkin(broken, true));
    EXPECT_EQ(m_messages.errors, QStringList{u"failed to parse skin \""_s + broken + u"\""_s});
    EXPECT_EQ(dlg.skinPath(), GetDefaultSkinPath());
    // The German skin applies and is stored.
    EXPECT_TRUE(dlg.chooseSkin(ShippedSkin("de"), true));
    EXPECT_EQ(GetConfig().GetActiveSkin(), ShippedSkin("de"));
    uitest::SaveShot(&dlg, u"window-de-empty"_s);
}

TEST_F(QuilletWindowTest, LanguageSwitchAppliesTheLanguagesSkinAndTexts) {
    WriteToneWav(file(u"Blackbird at dawn.wav"_s), 40.0);
    auto dlg = start(file(u"Blackbird at dawn.wav"_s));
    uitest::SaveShot(dlg.get(), u"window-en-input"_s);
    // The about button's dialog: German is picked and confirmed.
    bool picked = false;
    QTimer::singleShot(0, [&] {
        auto* about = uitest::FindTopLevel<CAboutDlg>();
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(about->offersLanguages());
        about->languageButton(u"de"_s)->click();
        about->accept();
        picked = true;
    });
    Click(dlg->button(CQuilletDlg::BtnAbout));
    ASSERT_TRUE(picked);
    uitest::SaveShot(dlg.get(), u"window-de-input"_s);
    EXPECT_EQ(dlg->skinPath(), GetSkinPath(u"de"_s));
    EXPECT_EQ(GetConfig().GetActiveSkin(), GetSkinPath(u"de"_s));
    EXPECT_EQ(dlg->ctrl().control(Ctrl::CmdOpen)->config().caption, u"Öffnen"_s);
    EXPECT_EQ(dlg->ctrl().control(Ctrl::CmdOpen)->accessibleName(), u"Datei öffnen"_s);
    EXPECT_EQ(dlg->ctrl().control(Ctrl::LblInputFile)->config().caption,
              u"["_s + file(u"Blackbird at dawn.wav"_s) + u"]"_s);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(m_messages.errors.isEmpty());
}

TEST_F(QuilletWindowTest, OpensTheCommandLineFileAndDroppedFiles) {
    WriteToneWav(file(u"first.wav"_s), 25.0);
    auto dlg = start(file(u"first.wav"_s));
    CRingtoneModel& model = dlg->ctrl().model();
    EXPECT_EQ(model.getInputFileName(), file(u"first.wav"_s));
    EXPECT_EQ(model.getDuration(), 25000);
    EXPECT_EQ(dlg->ctrl().control(Ctrl::LblInputFile)->config().caption, model.getInputName());
    // Input with the proposed selection, the position at its start, all of it shown: everything
    // but stop, zooming out and removing fades.
    EXPECT_EQ(enabled(*dlg), (std::vector<int>{1, 3, 4, 10, 21, 22, 31, 32, 41, 42, 51, 52, 101}));
    // Playing (on the virtual card): stop, ringtone play, zoom and scrolling only.
    qputenv("QUILLET_VIRTUAL_OUT", file(u"played.wav"_s).toUtf8());
    Click(dlg->ctrl().control(Ctrl::CmdPlay));
    EXPECT_TRUE(WaitFor([&] { return dlg->ctrl().buttonState()[ButtonState::Playing]; }));
    EXPECT_EQ(enabled(*dlg), (std::vector<int>{10, 22, 23, 51, 52}));
    EXPECT_TRUE(WaitFor([&] { return QFileInfo(file(u"played.wav"_s)).size() > 8000; }));
    Click(dlg->ctrl().control(Ctrl::CmdStop));
    EXPECT_TRUE(WaitFor([&] { return !dlg->ctrl().buttonState()[ButtonState::Playing]; }));
    qunsetenv("QUILLET_VIRTUAL_OUT");
    // A key the focused button does not take goes to the view: Home moves to the begin.
    dlg->activateWindow();
    dlg->ctrl().control(Ctrl::CmdOpen)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    EXPECT_EQ(dlg->ctrl().streamView()->GetPosition(), 0);
    EXPECT_FALSE(dlg->ctrl().control(Ctrl::CmdScrollLeft)->isEnabled());

    // A folder, a file of another type and a file while the model is busy are refused.
    EXPECT_FALSE(drop(*dlg, QUrl::fromLocalFile(m_files.path())));
    WriteBytes(file(u"notes.txt"_s), "text");
    EXPECT_FALSE(drop(*dlg, QUrl::fromLocalFile(file(u"notes.txt"_s))));
    WriteToneWav(file(u"second.WAV"_s), 3.0);
    model.setState(CRingtoneModel::State::Opening);
    EXPECT_FALSE(drop(*dlg, QUrl::fromLocalFile(file(u"second.WAV"_s))));
    EXPECT_EQ(enabled(*dlg), (std::vector<int>{10, 52}));
    model.setState(CRingtoneModel::State::Idle);
    // A supported file is opened as from the open-file dialog.
    EXPECT_TRUE(drop(*dlg, QUrl::fromLocalFile(file(u"second.WAV"_s))));
    EXPECT_EQ(model.getInputFileName(), file(u"second.WAV"_s));
    EXPECT_EQ(model.getDuration(), 3000);
    EXPECT_TRUE(m_messages.errors.isEmpty());
}

TEST_F(QuilletWindowTest, ButtonsFollowTheStateTable) {
    using F = ButtonState;
    auto state = [](std::initializer_list<F::Flag> on) {
        ButtonState s;
        for (F::Flag flag : on)
            s[flag] = true;
        return s;
    };
    auto enabledIn = [](const ButtonState& s) {
        std::vector<int> ids;
        for (int id : {1, 3, 4, 10, 12, 21, 22, 23, 31, 32, 41, 42, 43, 51, 52, 101})
            if (Ctrl::IsEnabledIn(id, s))
                ids.push_back(id);
        return ids;
    };
    // Input, nothing selected: no ringtone play, no beam, no fades.
    EXPECT_EQ(enabledIn(state({F::HasInput, F::PosAtBegin, F::CanZoomIn})),
              (std::vector<int>{1, 3, 4, 10, 21, 52}));
    // Playing inside a faded selection: stop and ringtone play, nothing that changes the input.
    EXPECT_EQ(enabledIn(state({F::HasInput, F::HasCut, F::PosInCut, F::CutHasFade, F::Playing,
                               F::CanSetStart, F::CanSetEnd, F::IsZoomed})),
              (std::vector<int>{12, 22, 23, 51, 52}));
    // Recording: record stays, open, CD, play, ringtone play and beam do not.
    EXPECT_EQ(enabledIn(state({F::HasInput, F::HasCut, F::PosInCut, F::Recording})),
              (std::vector<int>{4, 41, 42, 51, 52}));
    // Busy (opening or beaming): only scrolling and zooming the view.
    EXPECT_EQ(enabledIn(state({F::HasInput, F::HasCut, F::Busy, F::Playing, F::PosAtEnd})),
              (std::vector<int>{51}));

    // The live window without input: only the commands that bring one.
    auto dlg = start();
    EXPECT_EQ(enabled(*dlg), (std::vector<int>{1, 3, 4}));
}

TEST_F(QuilletWindowTest, KeyboardReachesEveryButton) {
    auto dlg = start();
    dlg->activateWindow();
    // Tab walks the view, the main control's buttons and the dialog's buttons; each one enabled
    // is reached and named for assistive tools by its tooltip.
    QStringList reached;
    dlg->ctrl().streamView()->setFocus();
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (auto* b = qobject_cast<CXButton*>(QApplication::focusWidget()))
            reached << b->accessibleName();
    }
    EXPECT_EQ(reached.mid(0, 9), (QStringList{u"open file"_s, u"extract cd track"_s, u"record"_s,
                                              u"help"_s, u"go to Quillet website"_s, u"minimize"_s,
                                              u"about"_s, u"exit"_s, u"open file"_s}));
    // The focus frame is drawn in the skin's focus colour.
    CXButton* open = dlg->ctrl().control(Ctrl::CmdOpen);
    open->setFocus();
    const QImage picture = open->grab().toImage();
    int framed = 0;
    for (int y = 0; y < picture.height(); ++y)
        framed += picture.pixelColor(1, y) == QColor(242, 181, 68);
    EXPECT_GT(framed, picture.height() / 4);

    // Keypad 4 and 6 reach the view as gain commands; with Shift they do not.
    std::vector<int> commands;
    QObject::connect(&dlg->ctrl(), &CQuilletCtrl::viewCommand,
                     [&](int id) { commands.push_back(id); });
    QTest::keyClick(open, Qt::Key_4, Qt::KeypadModifier);
    QTest::keyClick(open, Qt::Key_6, Qt::KeypadModifier);
    QTest::keyClick(open, Qt::Key_6, Qt::KeypadModifier | Qt::ShiftModifier);
    QTest::keyClick(open, Qt::Key_4);
    EXPECT_EQ(commands, (std::vector<int>{32771, 32772}));
    // Escape leaves the window open; Enter on the exit button closes it.
    QTest::keyClick(open, Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    QTest::keyClick(dlg->button(CQuilletDlg::BtnExit), Qt::Key_Return);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), 1);
}

TEST_F(QuilletWindowTest, ExitDuringABeamCancelsItAndTheNextExitSaves) {
    CServiceProcess service;
    ASSERT_TRUE(service.started());
    GetConfig().SetUploadUrl(beamtest::UploadUrl(service));
    WriteToneWav(file(u"tone.wav"_s), 25.0);
    auto dlg = start(file(u"tone.wav"_s));
    dlg->move(140, 90);
    CQuilletCtrl& ctrl = dlg->ctrl();

    // Once the transfer page is open, the person presses exit: the beam ends, the window stays.
    Person person([](CBrowserDlg&, const QUrl&, int) {}); // without the engine: the desktop's page
    bool exitPressedWhileBeaming = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!ctrl.isBrowserOpen() || exitPressedWhileBeaming)
            return;
        exitPressedWhileBeaming = ctrl.model().getState() == CRingtoneModel::State::Beaming;
        Click(dlg->button(CQuilletDlg::BtnExit));
    });
    watch.start(20);
    Click(ctrl.control(Ctrl::CmdBeam)); // returns when the beam is over
    watch.stop();
    EXPECT_TRUE(exitPressedWhileBeaming);
    EXPECT_EQ(ctrl.model().getState(), CRingtoneModel::State::Idle);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(ctrl.model().getRingtoneFileName().isEmpty());

    // Now exit closes the window, with the input, the selection and the position stored.
    Click(dlg->button(CQuilletDlg::BtnExit));
    EXPECT_FALSE(dlg->isVisible());
    QString value;
    EXPECT_TRUE(GetConfig().GetValue(u"WindowPosition"_s, value));
    EXPECT_EQ(value, u"140,90"_s);
    EXPECT_TRUE(GetConfig().GetValue(u"Cut"_s, value));
    EXPECT_TRUE(value.startsWith(u"10000,20000,"_s)) << value.toStdString();
}

TEST_F(QuilletWindowTest, AnotherProcessesWorkAndAFailedSaveAreShownAndLoseNothing) {
    WriteToneWav(file(u"first.wav"_s), 5.0);
    WriteToneWav(file(u"second.wav"_s), 7.0);
    auto dlg = start(file(u"first.wav"_s));
    CQuilletCtrl& ctrl = dlg->ctrl();
    const QDir folder(GetConfig().GetConfigFolder());

    // Another Quillet works in the folder: the open is refused with the message, the input stays.
    {
        QLockFile other(folder.filePath(QLatin1String(CWorkFolderLock::kFileName)));
        ASSERT_TRUE(other.tryLock(0));
        ctrl.openFile(file(u"second.wav"_s));
        ASSERT_EQ(m_messages.errors.size(), 1);
        EXPECT_TRUE(m_messages.errors[0].contains(u"Another Quillet is still working"_s));
        EXPECT_EQ(ctrl.model().getDuration(), 5000);
    }
    ctrl.openFile(file(u"second.wav"_s));
    EXPECT_EQ(ctrl.model().getDuration(), 7000);

    // config.ini cannot be replaced (a folder took its name): exit says so and still closes.
    QFile::remove(folder.filePath(u"config.ini"_s));
    ASSERT_TRUE(folder.mkpath(u"config.ini/kept"_s));
    Click(dlg->button(CQuilletDlg::BtnExit));
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_EQ(m_messages.errors.size(), 2);
    EXPECT_TRUE(m_messages.errors[1].contains(u"config.ini"_s))
        << m_messages.errors[1].toStdString();
    EXPECT_TRUE(folder.exists(u"config.ini/kept"_s));
    folder.rmpath(u"config.ini/kept"_s);
}

TEST_F(QuilletWindowTest, LaterStartHandsItsFileToTheRunningWindow) {
    WriteToneWav(file(u"later.wav"_s), 4.0);
    auto dlg = start();
    const QString name = u"quillet_test_"_s + QUuid::createUuid().toString(QUuid::Id128);
    CSingleInstance running(name);
    ASSERT_TRUE(running.TryBecomeInstance());
    QObject::connect(&running, &CSingleInstance::activationRequested, dlg.get(),
                     &CQuilletDlg::bringToFront);
    dlg->showMinimized();
    CSingleInstance later(name);
    EXPECT_FALSE(later.TryBecomeInstance(file(u"later.wav"_s)));
    EXPECT_TRUE(WaitFor([&] { return !dlg->ctrl().model().getInputFileName().isEmpty(); }));
    EXPECT_EQ(dlg->ctrl().model().getInputFileName(), file(u"later.wav"_s));
    EXPECT_FALSE(dlg->isMinimized());
}

TEST(QuilletCtrl, OpenFileDialogFilterAndStart) {
    EXPECT_EQ(CQuilletCtrl::FileDialogFilter(
                  u"supported files|*.wav;*.mp3|window media files (*.wma, *.wmv; *.asf)|"
                  "*.wma;*.wmv;*.asf||"_s),
              u"supported files (*.wav *.mp3);;window media files (*.wma, *.wmv; *.asf) "
              "(*.wma *.wmv *.asf)"_s);
    EXPECT_EQ(CQuilletCtrl::FileDialogStart(u"/a/b.mp3"_s, u"/"_s, u"/d"_s), u"/a/b.mp3"_s);
    EXPECT_EQ(CQuilletCtrl::FileDialogStart({}, u"/"_s, u"/d"_s), u"/"_s);
    EXPECT_EQ(CQuilletCtrl::FileDialogStart({}, u"/no/such/music"_s, u"/d"_s), u"/d"_s);
}

} // namespace
