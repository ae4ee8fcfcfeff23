// Navigation verdicts and download names of the embedded browser.
#include "web/DownloadLink.h"

namespace {

constexpr qsizetype kMaxNameBytes = 255;

} // namespace

bool IsWebScheme(const QString& scheme) {
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

std::optional<DownloadLink> ParseDownloadLink(const QUrl& url) {
    if (!url.isValid() || !IsWebScheme(url.scheme()))
        return std::nullopt;
    // The raw text, so that an encoded "?" in the path does not start the query.
    const QString text = url.toString(QUrl::FullyEncoded);
    const qsizetype mark = text.indexOf(QLatin1Char('?'));
    if (mark < 0)
        return std::nullopt;
    QString query = text.mid(mark + 1);
    query.truncate(query.indexOf(QLatin1Char('#')) < 0 ? query.size()
                                                       : query.indexOf(QLatin1Char('#')));
    if (!query.contains(QLatin1String(kDirectDownloadMarker)))
        return std::nullopt;
    DownloadLink link;
    link.address = text.left(mark);
    const QString path = QUrl(link.address).path(QUrl::FullyDecoded);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    link.fileName = slash < 0 ? path : path.mid(slash + 1);
    return link;
}

NavigationVerdict JudgeNavigation(const QUrl& url) {
    if (ParseDownloadLink(url))
        return NavigationVerdict::Download;
    if (IsWebScheme(url.scheme()) || url.toString() == QLatin1String("about:blank"))
        return NavigationVerdict::Follow;
    return NavigationVerdict::Refuse;
}

QString SanitizeDownloadName(const QString& name) {
    QString clean;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            clean += QLatin1Char('_');
        else if (c.category() != QChar::Other_Control)
            clean += c;
    }
    qsizetype start = 0;
    while (start < clean.size() && (clean[start] == QLatin1Char('.') || clean[start].isSpace()))
        ++start;
    clean = clean.mid(start);
    // Cut at whole characters (a surrogate pair is one) until the UTF-8 form fits.
    while (clean.toUtf8().size() > kMaxNameBytes) {
        const qsizetype last = clean.size() - 1;
        clean.chop(last > 0 && clean[last].isLowSurrogate() ? 2 : 1);
    }
    clean = clean.trimmed();
    return clean.isEmpty() ? QStringLiteral("ringtone") : clean;
}
