// Reading and writing one value of an INI file.
#include "platform/glossa/PrivateProfile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {
// The lines of an INI file and the text encoding it came in.
struct ProfileText {
    QStringList lines;
    bool utf16 = false;
};

ProfileText ReadProfileText(const QString& file) {
    ProfileText text;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return text;
    const QByteArray bytes = in.readAll();
    QString all;
    if (bytes.startsWith("\xFF\xFE")) {
        text.utf16 = true;
        all = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                 (bytes.size() - 2) / 2);
    } else {
        all = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    }
    all.remove(QLatin1Char('\r'));
    text.lines = all.split(QLatin1Char('\n'));
    if (!text.lines.isEmpty() && text.lines.last().isEmpty())
        text.lines.removeLast();
    return text;
}

// The section named by a "[name]" line; a null text for any other line.
QString SectionName(const QString& line) {
    const QString t = line.trimmed();
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (!t.startsWith(QLatin1Char('[')) || close < 0)
        return {};
    return t.mid(1, close - 1).trimmed();
}

// Whether the line is "key=..." for the key.
bool IsKeyLine(const QString& line, const QString& key) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}

// Where in the lines the section and the key stand.
struct KeyPlace {
    qsizetype section = -1; // the "[section]" line
    qsizetype end = -1;     // after the section's last non-empty line
    qsizetype key = -1;     // the key's line
};

KeyPlace FindKey(const QStringList& lines, const QString& section, const QString& key) {
    KeyPlace place;
    bool inside = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = SectionName(lines[i]);
        if (!name.isNull()) {
            if (inside)
                break;
            inside = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inside) {
                place.section = i;
                place.end = i + 1;
            }
            continue;
        }
        if (!inside)
            continue;
        if (!lines[i].trimmed().isEmpty())
            place.end = i + 1;
        if (place.key < 0 && IsKeyLine(lines[i], key))
            place.key = i;
    }
    return place;
}
} // namespace

QString ReadProfileString(const QString& file, const QString& section, const QString& key,
                          int maxChars) {
    const ProfileText text = ReadProfileText(file);
    const KeyPlace place = FindKey(text.lines, section, key);
    if (place.key < 0)
        return {};
    const QString& line = text.lines[place.key];
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return value.left(std::max(maxChars - 1, 0));
}

bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return false;
    ProfileText text = ReadProfileText(file);
    const KeyPlace place = FindKey(text.lines, section, key);
    const QString keyLine = key + QLatin1Char('=') + value;
    if (place.key >= 0) {
        text.lines[place.key] = keyLine;
    } else if (place.section >= 0) {
        text.lines.insert(place.end, keyLine);
    } else {
        if (!text.lines.isEmpty() && !text.lines.last().trimmed().isEmpty())
            text.lines.append(QString());
        text.lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        text.lines.append(keyLine);
    }
    const QString all = text.lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    QByteArray bytes;
    if (text.utf16) {
        bytes = QByteArray("\xFF\xFE", 2);
        bytes.append(reinterpret_cast<const char*>(all.utf16()), all.size() * 2);
    } else {
        bytes = all.toUtf8();
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return false;
    return out.commit();
}
