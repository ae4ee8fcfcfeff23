// The reader of skin files: walks sections and entries and converts their values.
#pragma once

#include "skin/ColorRef.h"
#include "skin/SkinRect.h"

#include <QCursor>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class CDynBitmap;
class CDynRgn;
class CFont;
class CImageList;
class IUserMessages;
class QFile;

// A skin file is 8-bit text (UTF-8 here): a header line "PP_SDF=<value>", then sections that
// start at a line beginning with "[name]", each followed by key=value entries up to the first
// line without "=" or beginning with "[".
class CSkinParser {
public:
    // Messages (a cursor that cannot be loaded) go to the user-message interface when given,
    // else only to the trace log.
    explicit CSkinParser(IUserMessages* messages = nullptr);
    virtual ~CSkinParser();
    CSkinParser(const CSkinParser&) = delete;
    CSkinParser& operator=(const CSkinParser&) = delete;

    // Opens the file and checks that its first entry has the header key and a value.
    virtual bool init(const QString& path, const QString& headerKey);
    virtual void close();
    virtual void rewind();
    // Positions after the first line that, without leading blanks, begins with the header.
    virtual bool openSection(const QString& header);
    // The next line beginning with "[", without leading blanks; empty at the end of the file.
    virtual QString nextSection();
    // Reads the next entry into the current key and value; false at the end of the section.
    virtual bool nextKey();

    // The value operations: each is true only when the current entry has the key asked for, a
    // non-empty key and value, and the value converts. Otherwise the out-parameter is unchanged.
    virtual bool getInt(const QString& key, int& value);
    virtual bool getColor(const QString& key, ColorRef& value);
    virtual bool getRect(const QString& key, SkinRect& value);
    virtual bool getTwoPoints(const QString& key, QPoint& first, QPoint& second);
    virtual bool getPoint(const QString& key, QPoint& value);
    virtual bool getSize(const QString& key, QSize& value);
    virtual bool getFont(const QString& key, CFont& value);
    virtual bool getBitmap(const QString& key, CDynBitmap& value);
    virtual bool getRegion(const QString& key, CDynRgn& value);
    virtual bool getImageList(const QString& key, CImageList& value);
    virtual bool getFile(const QString& key, QString& path);
    virtual bool getText(const QString& key, QString& value);
    virtual bool getBool(const QString& key, bool& value);
    virtual bool getCursor(const QString& key, QCursor& value);
    virtual bool getTextList(const QString& key, QStringList& value);
    // Kept free for a future kind of value: accepts nothing and reports success.
    virtual bool reserved() { return true; }

    // The skin folder: the file's folder, with a trailing '/'.
    const QString& skinFolder() const { return m_folder; }
    const QString& headerValue() const { return m_headerValue; }
    const QString& currentKey() const { return m_key; }
    const QString& currentValue() const { return m_value; }

    // The pieces of a value cut at commas; runs of commas are one separator, pieces are trimmed.
    static QStringList SplitValue(const QString& value);
    // Up to count integers of a comma-separated value; missing ones are 0.
    static QList<int> Numbers(const QString& value, int count);

private:
    bool readLine(QString& line);
    bool isEntry(const QString& key) const;

    IUserMessages* m_messages;
    std::unique_ptr<QFile> m_file;
    QString m_folder;
    QString m_headerValue;
    QString m_key;
    QString m_value;
};
