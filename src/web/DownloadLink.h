// What the embedded browser does with an address: follow it, fetch it as a download, or refuse
// it; and the safe file name a download is offered under.
#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// A link the program downloads itself: an HTTP address whose query holds the download marker.
struct DownloadLink {
    QString address;  // the address cut at its first "?": the query is not sent
    QString fileName; // the last piece of the path (the whole path when it has no "/")
};

// The browser's answer to a navigation.
enum class NavigationVerdict { Follow, Download, Refuse };

// The text in a link's query that asks the program to download it itself.
inline constexpr char kDirectDownloadMarker[] = "client_direct_download";

// True for "http" and "https".
bool IsWebScheme(const QString& scheme);
// The download a link asks for; none when it is not an HTTP(S) address with the marker in its
// query.
std::optional<DownloadLink> ParseDownloadLink(const QUrl& url);
// Download links are fetched by the program; other http and https addresses (and the empty page)
// are followed; every other scheme (file, data, javascript, ftp, ...) is refused.
NavigationVerdict JudgeNavigation(const QUrl& url);
// The name as a file name in the chosen folder: path separators become "_", control characters
// go, leading dots and blanks go, at most 255 bytes of UTF-8 (whole characters); "ringtone" when
// nothing is left.
QString SanitizeDownloadName(const QString& name);
