// The program's own download of a file from the service's pages, with progress, cancel and the
// person told how it ended.
#pragma once

#include <QString>

class IOpProgress;
class IUserMessages;

// How a download ended.
enum class DownloadOutcome { Done, Failed, Cancelled };

// Fetches address over HTTP (agent "Quillet", the Proxy setting, Referer the page that held the
// link) into target in pieces of 1024 bytes, telling progress the texts of a ringtone download,
// the size when the server sends it, and the bytes so far; a cancel of progress stops it before
// the next piece. The bytes go to a temporary file beside target that replaces it only once all
// arrived, so a failed or cancelled download leaves target as it was and no partial file. Success
// and failures are shown through messages; a cancel only traced. Runs on any thread.
DownloadOutcome DownloadFile(const QString& address, const QString& referrer, const QString& target,
                             IOpProgress& progress, IUserMessages& messages);
