// What the dialog tests share: the widget application, a private configuration with the program's
// translation files, simulated input, and screenshots for a person to look at.
#pragma once

#include "app/ConfigFile.h"
#include "app/Folders.h"
#include "app/Language.h"
#include "skin/GuiTestApp.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace uitest {

// A private configuration folder (and data folder) for each test, the language started in English
// from the translation files of the build, which are put beside the test program where the
// program looks for them.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        for (const char* lang : {"en", "de"}) {
            // Copied under a name of this process and renamed in one step: the suites that do
            // this run side by side.
            const QString built = QStringLiteral(QUILLET_BIN_DIR "/Quillet_%1.tra").arg(lang);
            const QString target = GetTraFilePath(QLatin1String(lang));
            const QString copy = target + QStringLiteral(".%1").arg(getpid());
            QFile::remove(copy);
            ASSERT_TRUE(QFile::copy(built, copy));
            ASSERT_EQ(std::rename(QFile::encodeName(copy), QFile::encodeName(target)), 0);
        }
        m_oldXdg = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        GetConfig().SetConfigFolder(m_config.path());
        GetConfig().Clear();
        GetConfig().SetDefaults();
        GetConfig().SetLanguage(QStringLiteral("en"), false);
        ASSERT_TRUE(StartLanguage(GetTraFilePath(QStringLiteral("en")), GetLanguageMemoryPath()));
    }
    void TearDown() override {
        GLStart(nullptr);
        GetConfig().Clear();
        GetConfig().SetDefaults();
        GetConfig().SetConfigFolder(QString());
        qputenv("XDG_DATA_HOME", m_oldXdg);
    }
    QString work(const QString& name) const { return m_config.filePath(name); }

    QTemporaryDir m_config;
    QTemporaryDir m_data;
    QByteArray m_oldXdg;
};

// The visible top-level widget of the type; null when there is none.
template <class T> T* FindTopLevel() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<T*>(widget); found && found->isVisible())
            return found;
    return nullptr;
}

// Posts a left click in the middle of the widget, as the window system delivers it.
inline void PostClick(QWidget* widget) {
    const QPointF at = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            widget,
            new QMouseEvent(type, at, global, Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
}

// Posts a key press and release to the widget.
inline void PostKey(QWidget* widget, int key, const QString& text = QString()) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QCoreApplication::postEvent(widget, new QKeyEvent(type, key, Qt::NoModifier, text));
}

// Saves a picture of the widget as <QUILLET_SCREENSHOT_DIR>/<name>.png when that variable is set.
inline void SaveShot(QWidget* widget, const QString& name) {
    const QString folder = qEnvironmentVariable("QUILLET_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace uitest
