// A download from the embedded browser as the person sees it: the save dialog, the progress
// dialog with Cancel, and the message at the end.
#pragma once

#include "web/FileDownload.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <mutex>

class IUserMessages;
class QWidget;

class CBrowserDownload {
public:
    // Asks where to save: the proposed path and the file dialog's filter; empty when the person
    // gave up.
    using Chooser = std::function<QString(const QString& proposed, const QString& filter)>;

    // The dialogs appear over parent; messages tell how a download ended.
    CBrowserDownload(QWidget* parent, IUserMessages& messages);

    // Fetches the download link clicked on the page at referrer: asks for the file, then
    // downloads on a thread of its own while the window's events are served. Nothing happens
    // when the link is no download link or the person gives up in the save dialog. GUI thread.
    DownloadOutcome start(const QUrl& link, const QUrl& referrer);
    // The same for any http or https address, offered under the name (sanitised here) in the
    // save dialog.
    DownloadOutcome fetch(const QString& address, const QString& name, const QUrl& referrer);
    // Replaces the save dialog (the tests answer it themselves).
    void setChooser(Chooser chooser) { m_chooser = std::move(chooser); }

    // The folder the last download went to, shared by the process; empty before the first.
    static QString LastFolder();
    // The folder the save dialog starts in: the last one, else music, else documents.
    static QString StartFolder();
    // The filter of the save dialog for a file of the extension ("Ogg Vorbis audio (*.ogg);;All
    // Files (*)").
    static QString Filter(const QString& fileName, const QString& extension);

private:
    // The save dialog with an overwrite prompt.
    QString ChooseFile(const QString& proposed, const QString& filter) const;

    QWidget* m_parent;
    IUserMessages& m_messages;
    Chooser m_chooser;
    static std::mutex s_folderLock;
    static QString s_lastFolder; // under s_folderLock
};
