// Skin file reading: the header check, sections, entries and value conversion.
#include "skin/SkinParser.h"

#include "app/IUserMessages.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "skin/CursorFile.h"
#include "skin/DynBitmap.h"
#include "skin/DynRgn.h"
#include "skin/Font.h"
#include "skin/ImageList.h"
#include "util/NumberText.h"

#include <QFile>
#include <QFileInfo>

CSkinParser::CSkinParser(IUserMessages* messages) : m_messages(messages) {}

CSkinParser::~CSkinParser() {
    close();
}

bool CSkinParser::init(const QString& path, const QString& headerKey) {
    close();
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        Trace(TRACE_ERROR, "CSkinParser::init : cannot open \"%s\" : %s", path,
              file->errorString());
        return false;
    }
    m_file = std::move(file);
    rewind();
    if (!nextKey() || m_key.isEmpty() || m_value.isEmpty() || m_key != headerKey) {
        Trace(TRACE_ERROR, "CSkinParser::init : \"%s\" has no %s header", path, headerKey);
        close();
        return false;
    }
    m_headerValue = m_value;
    m_folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    return true;
}

void CSkinParser::close() {
    m_file.reset();
    m_folder.clear();
}

void CSkinParser::rewind() {
    if (m_file)
        m_file->seek(0);
}

bool CSkinParser::readLine(QString& line) {
    if (!m_file || m_file->atEnd())
        return false;
    QByteArray bytes = m_file->readLine();
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    line = QString::fromUtf8(bytes);
    return true;
}

bool CSkinParser::openSection(const QString& header) {
    rewind();
    QString line;
    while (readLine(line)) {
        qsizetype first = 0;
        while (first < line.size() && line.at(first).isSpace())
            ++first;
        if (QStringView(line).mid(first).startsWith(header, Qt::CaseSensitive))
            return true;
    }
    return false;
}

QString CSkinParser::nextSection() {
    QString line;
    while (readLine(line)) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')))
            return trimmed;
    }
    return {};
}

bool CSkinParser::nextKey() {
    QString line;
    if (!readLine(line))
        return false;
    line = line.trimmed();
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.startsWith(QLatin1Char('[')))
        return false;
    // Trailing blanks of the key and leading blanks of the value are not part of them.
    QString key = line.left(eq);
    while (!key.isEmpty() && key.back().isSpace())
        key.chop(1);
    m_key = key;
    m_value = line.mid(eq + 1).trimmed();
    return true;
}

bool CSkinParser::isEntry(const QString& key) const {
    return !m_key.isEmpty() && !m_value.isEmpty() && m_key == key;
}

QStringList CSkinParser::SplitValue(const QString& value) {
    QStringList pieces;
    const QList<QStringView> parts = QStringView(value).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QStringView part : parts) {
        const QStringView piece = part.trimmed();
        if (!piece.isEmpty())
            pieces.append(piece.toString());
    }
    return pieces;
}

QList<int> CSkinParser::Numbers(const QString& value, int count) {
    QList<int> numbers(count, 0);
    const QStringList pieces = SplitValue(value);
    for (int i = 0; i < count && i < pieces.size(); ++i)
        numbers[i] = TextToInt(pieces[i]);
    return numbers;
}

bool CSkinParser::getInt(const QString& key, int& value) {
    if (!isEntry(key))
        return false;
    value = TextToInt(m_value);
    return true;
}

bool CSkinParser::getColor(const QString& key, ColorRef& value) {
    if (!isEntry(key))
        return false;
    const QList<int> n = Numbers(m_value, 3);
    value = ColorRef(quint32(n[0]) + quint32(n[1]) * 256u + quint32(n[2]) * 65536u);
    return true;
}

bool CSkinParser::getRect(const QString& key, SkinRect& value) {
    if (!isEntry(key))
        return false;
    const QList<int> n = Numbers(m_value, 4);
    value = SkinRect{n[0], n[1], n[2], n[3]};
    return true;
}

bool CSkinParser::getTwoPoints(const QString& key, QPoint& first, QPoint& second) {
    if (!isEntry(key))
        return false;
    const QList<int> n = Numbers(m_value, 4);
    first = QPoint(n[0], n[1]);
    second = QPoint(n[2], n[3]);
    return true;
}

bool CSkinParser::getPoint(const QString& key, QPoint& value) {
    if (!isEntry(key))
        return false;
    const QList<int> n = Numbers(m_value, 2);
    value = QPoint(n[0], n[1]);
    return true;
}

bool CSkinParser::getSize(const QString& key, QSize& value) {
    if (!isEntry(key))
        return false;
    const QList<int> n = Numbers(m_value, 2);
    value = QSize(n[0], n[1]);
    return true;
}

bool CSkinParser::getFont(const QString& key, CFont& value) {
    if (!isEntry(key))
        return false;
    // Face, height, weight word, then two style words; further pieces are not looked at.
    const QStringList words = SplitValue(m_value).mid(0, 5);
    auto word = [&](int i) { return i < words.size() ? words[i] : QString(); };
    LogFont record;
    record.faceName = word(0);
    record.height = TextToInt(word(1));
    record.weight = word(2) == QLatin1String("bold") ? 700 : 400;
    for (int i : {3, 4}) {
        if (word(i) == QLatin1String("italic"))
            record.italic = true;
        if (word(i) == QLatin1String("underline"))
            record.underline = true;
    }
    value.deleteObject();
    value.create(record);
    return true;
}

bool CSkinParser::getBitmap(const QString& key, CDynBitmap& value) {
    return isEntry(key) && value.load(m_folder + m_value);
}

bool CSkinParser::getRegion(const QString& key, CDynRgn& value) {
    return isEntry(key) && value.load(m_folder + m_value, 1.0, 1.0);
}

bool CSkinParser::getImageList(const QString& key, CImageList& value) {
    if (!isEntry(key))
        return false;
    const QStringList pieces = SplitValue(m_value);
    if (pieces.size() < 5)
        return false;
    CDynBitmap bitmap;
    if (!bitmap.load(m_folder + pieces[0]))
        return false;
    const int imageWidth = TextToInt(pieces[1]);
    const ColorRef transparent =
        MakeColorRef(TextToInt(pieces[2]), TextToInt(pieces[3]), TextToInt(pieces[4]));
    if (imageWidth <= 0 || bitmap.width() / imageWidth < 1) {
        Trace(TRACE_ERROR, "CSkinParser::getImageList : %s: images %d wide do not fit", key,
              imageWidth);
        return false;
    }
    value.deleteImageList();
    return value.create(bitmap, imageWidth, transparent);
}

bool CSkinParser::getFile(const QString& key, QString& path) {
    if (!isEntry(key))
        return false;
    const QString full = m_folder + m_value;
    if (!QFileInfo(full).isFile())
        return false;
    path = full;
    return true;
}

bool CSkinParser::getText(const QString& key, QString& value) {
    if (!isEntry(key))
        return false;
    value = m_value;
    return true;
}

bool CSkinParser::getBool(const QString& key, bool& value) {
    if (!isEntry(key))
        return false;
    value = TextToInt(m_value) != 0;
    return true;
}

bool CSkinParser::getCursor(const QString& key, QCursor& value) {
    if (!isEntry(key))
        return false;
    CCursorFile file;
    if (!file.load(m_folder + m_value)) {
        const QString text = FormatString(IDS_SKIN_CURSOR_FAILED, key);
        if (m_messages)
            ShowErrorMessage(*m_messages, text);
        else
            Trace(TRACE_ERROR, "%s", text);
        return false;
    }
    value = file.cursor();
    return true;
}

bool CSkinParser::getTextList(const QString& key, QStringList& value) {
    if (!isEntry(key))
        return false;
    value = SplitValue(m_value);
    return true;
}
