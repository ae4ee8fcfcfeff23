// The window's identity on the desktop: which desktop entry it belongs to, and its icon.
#pragma once

#include <QIcon>
#include <QString>

// The application icon: the icon theme's, else the icon files of the installed tree (beside the
// program folder, share/icons/hicolor/) or of the build tree; null when none is found.
QIcon ApplicationIcon(const QString& programFolder);

// Names the desktop entry (so a desktop shows the entry's name and icon for the window) and
// gives every window the application icon. Call once the application exists.
void SetDesktopIdentity();
