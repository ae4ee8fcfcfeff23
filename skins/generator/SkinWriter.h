// Writes one skin folder: every picture, the region, the cursor, the icon and the skin file.
#pragma once

#include "ArtFiles.h"
#include "SkinLayout.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

class CSkinWriter {
public:
    CSkinWriter(const QString& folder, const Texts& texts) : m_dir(folder), m_t(texts) {}

    void write();

private:
    QString bmp(const QString& name, const QImage& image) {
        WriteBmp(m_dir.filePath(name + ".bmp"), image);
        return name + ".bmp";
    }
    void line(const QString& text) { m_lines.append(text); }
    void entry(const char* key, const QString& value) {
        m_lines.append(QString::fromLatin1(key) + QLatin1Char('=') + value);
    }
    void section(const char* name, const char* comment) {
        m_lines.append(QString());
        m_lines.append(QStringLiteral("; ") + QString::fromLatin1(comment));
        m_lines.append(QStringLiteral("[%1]").arg(QString::fromLatin1(name)));
    }
    void button(const Control& c, const QImage& background, QPoint parentOrigin, int parentW);
    void checkCaption(const Control& c, const QString& text, const QFont& font, int left,
                      int right);

    QDir m_dir;
    const Texts& m_t;
    QStringList m_lines;
};
