// A font described by a logical font record, as the skin's font values give it.
#pragma once

#include <QFont>
#include <QString>

// The fields of a logical font record that a skin font sets.
struct LogFont {
    int height = 0; // negative: character height in pixels; positive: cell height; 0: default
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1;
    int outPrecision = 0;
    int clipPrecision = 0;
    int quality = 0;
    int pitchAndFamily = 0;
    QString faceName; // at most 31 characters
};

class CFont {
public:
    static constexpr int MaxFaceName = 31;

    // Replaces any font held with the one the record describes.
    void create(const LogFont& record);
    void deleteObject();
    bool isNull() const { return m_null; }
    const LogFont& logFont() const { return m_record; }
    // The font to draw with; the default font when none is held.
    const QFont& font() const { return m_font; }

private:
    LogFont m_record;
    QFont m_font;
    bool m_null = true;
};
