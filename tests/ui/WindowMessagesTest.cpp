// The window's message boxes: translated text, caption, icon and parent, also when a worker
// thread asks for one.
#include "ui/WindowMessages.h"
#include "UiTestSupport.h"
#include "app/IUserMessages.h"
#include "app/StringIds.h"
#include "app/StringTable.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <thread>

using namespace uitest;

namespace {
// What a box showed, read when it appeared; the box is then closed.
struct SeenBox {
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* parent = nullptr;
};

// Reads and closes the next box as soon as it is shown.
void CloseNextBox(SeenBox& seen, const QString& shot = QString()) {
    QTimer::singleShot(0, [&seen, shot] {
        QMessageBox* box = FindTopLevel<QMessageBox>();
        if (!box) {
            CloseNextBox(seen, shot); // not shown yet: look again
            return;
        }
        seen = {box->text(), box->windowTitle(), box->icon(), box->parentWidget()};
        if (!shot.isEmpty())
            SaveShot(box, shot);
        box->buttons().value(0)->click();
    });
}
} // namespace

using WindowMessagesTest = DialogTest;

TEST_F(WindowMessagesTest, BoxesShowTheTranslatedTextOverTheirWindow) {
    QWidget window;
    window.show();
    CWindowMessages messages(&window);
    SeenBox seen;
    CloseNextBox(seen, QStringLiteral("message_error_en"));
    ShowErrorMessageId(messages, IDS_COULD_NOT_OPEN, QStringLiteral("song.mp3"));
    EXPECT_EQ(seen.text, QStringLiteral("Could not open file: song.mp3."));
    EXPECT_EQ(seen.caption, QStringLiteral("Quillet"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.parent, &window);

    ASSERT_TRUE(SwitchLanguage(QStringLiteral("de")));
    CloseNextBox(seen, QStringLiteral("message_error_de"));
    ShowErrorMessageId(messages, IDS_COULD_NOT_OPEN, QStringLiteral("song.mp3"));
    EXPECT_EQ(seen.text, QStringLiteral("Die Datei konnte nicht geöffnet werden: song.mp3."));

    // From a worker thread the box still opens on the GUI thread, and the worker waits for it.
    std::atomic<bool> done{false};
    CloseNextBox(seen);
    std::thread worker([&] {
        ShowInfoMessage(messages, LoadString(210));
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(seen.text, QStringLiteral("Der Klingelton wurde erfolgreich heruntergeladen."));
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.parent, &window);
}
