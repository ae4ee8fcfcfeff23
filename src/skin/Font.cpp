// A font described by a logical font record.
#include "skin/Font.h"

#include <cstdlib>

void CFont::create(const LogFont& record) {
    m_record = record;
    m_record.faceName.truncate(MaxFaceName);
    QFont font(m_record.faceName);
    // A character height or a cell height: both are taken as the pixel size of the letters.
    if (m_record.height != 0)
        font.setPixelSize(std::abs(m_record.height));
    font.setWeight(m_record.weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setItalic(m_record.italic);
    font.setUnderline(m_record.underline);
    font.setStrikeOut(m_record.strikeOut);
    // Skins are drawn at one pixel per pixel: letters snap to the pixel grid.
    font.setHintingPreference(QFont::PreferFullHinting);
    m_font = font;
    m_null = false;
}

void CFont::deleteObject() {
    m_record = LogFont();
    m_font = QFont();
    m_null = true;
}
