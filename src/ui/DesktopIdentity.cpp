// The window's identity on the desktop.
#include "ui/DesktopIdentity.h"

#include "Version.h"
#include "app/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

QIcon ApplicationIcon(const QString& programFolder) {
    const QString name = QStringLiteral(QUILLET_APP_ID);
    QIcon icon = QIcon::fromTheme(name);
    if (!icon.isNull())
        return icon;
    // Installed: <prefix>/share/quillet/ is the program folder, the icons are in
    // <prefix>/share/icons/. In the build tree the program folder is bin/, the icons in icons/.
    const QDir hicolor(programFolder + QStringLiteral("../icons/hicolor"));
    const QStringList sizes = hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& size : sizes) {
        // The scalable icon would need Qt's SVG plug-in; the sized ones always load.
        const QString file =
            hicolor.filePath(size + QStringLiteral("/apps/") + name + QStringLiteral(".png"));
        if (QFileInfo::exists(file))
            icon.addFile(file);
    }
    return icon;
}

void SetDesktopIdentity() {
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLET_APP_ID));
    const QIcon icon = ApplicationIcon(GetProgramFolder());
    if (!icon.isNull())
        QGuiApplication::setWindowIcon(icon);
}
