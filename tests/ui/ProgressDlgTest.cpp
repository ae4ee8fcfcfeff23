// The progress dialog: its texts and bar, Cancel by click and by Escape while an operation runs on
// the GUI thread with key events held back, and calls from a worker thread.
#include "ui/ProgressDlg.h"
#include "UiTestSupport.h"
#include "app/StringIds.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <thread>

using namespace uitest;

namespace {
class ProgressDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        m_window = std::make_unique<QWidget>(); // once the application exists
        m_window->resize(500, 300);
        m_edit = new QLineEdit(m_window.get());
        m_window->show();
        m_edit->setFocus();
    }
    // An operation on the GUI thread: steps until it sees the cancel, at most 10 s.
    static bool RunUntilCancelled(CProgressDlg& progress) {
        QElapsedTimer clock;
        clock.start();
        while (!progress.IsCanceled()) {
            if (clock.elapsed() > 10000)
                return false;
            progress.Step(1);
            QThread::msleep(1);
        }
        return true;
    }

    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_edit = nullptr;
};
} // namespace

TEST_F(ProgressDlgTest, ShowsTextsAndPercentAndCancelsByClickOrEscapeOnly) {
    CProgressDlg progress(m_window.get(), IDS_EXTRACTING_CD_TRACK);
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("Extracting CD track"));
    // Cancel while hidden does nothing.
    progress.cancelButton()->click();
    EXPECT_FALSE(progress.IsCanceled());

    progress.Show(true);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_TRUE(progress.isModal());
    progress.SetTextId(IDS_EXTRACTING_TRACK);
    progress.SetSubText(QStringLiteral("track 3"));
    EXPECT_EQ(progress.labelText(), QStringLiteral("extracting track\ntrack 3"));
    // A range beyond a widget's int: 3 of 4 billion units are 75 %.
    progress.SetRange(4000000000u);
    progress.SetPos(3000000000u);
    EXPECT_EQ(progress.barValue(), 750);
    EXPECT_EQ(progress.findChild<QProgressBar*>()->text(), QStringLiteral("75%"));
    SaveShot(&progress, QStringLiteral("progress_en"));
    progress.SetRange(10);
    EXPECT_EQ(progress.barValue(), 0);

    // A key typed during the operation is held back; the click on Cancel gets through.
    QTimer::singleShot(20, [&] {
        PostKey(m_edit, Qt::Key_X, QStringLiteral("x"));
        PostClick(progress.cancelButton());
    });
    EXPECT_TRUE(RunUntilCancelled(progress));
    EXPECT_EQ(m_edit->text(), QString());
    EXPECT_TRUE(progress.isVisible()); // Cancel leaves closing to the operation's owner

    CProgressDlg second(m_window.get(), IDS_EXTRACTING_CD_TRACK);
    second.Show(true);
    QTimer::singleShot(20, [&] { PostKey(&second, Qt::Key_Escape); });
    EXPECT_TRUE(RunUntilCancelled(second));
    second.Show(false);
    EXPECT_FALSE(second.isVisible());

    // Texts from the string table come in the current language.
    ASSERT_TRUE(SwitchLanguage(QStringLiteral("de")));
    second.SetTextId(IDS_EXTRACTING_TRACK);
    EXPECT_EQ(second.labelText(), QStringLiteral("Titel wird eingelesen"));
    second.Show(true);
    SaveShot(&second, QStringLiteral("progress_de"));
}

TEST_F(ProgressDlgTest, WorkerThreadCallsAreCarriedOutOnTheGuiThread) {
    CProgressDlg progress(m_window.get(), IDS_EXTRACTING_CD_TRACK);
    std::thread worker([&] {
        progress.Show(true);
        progress.SetText(QStringLiteral("from the worker"));
        progress.SetRange(200);
        for (int i = 0; i < 100; ++i)
            progress.Step(1);
        EXPECT_FALSE(progress.IsCanceled());
    });
    worker.join();
    // Nothing changed the widgets yet: the calls wait for the GUI thread.
    EXPECT_FALSE(progress.isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.labelText(), QStringLiteral("from the worker"));
    EXPECT_EQ(progress.barValue(), 500);

    progress.cancelButton()->click();
    std::thread([&] { EXPECT_TRUE(progress.IsCanceled()); }).join();
}
