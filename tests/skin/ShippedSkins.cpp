// The tables of the shipped skins' controls and keys, and a section reader over them.
#include "ShippedSkins.h"

#include "skin/DynBitmap.h"
#include "skin/DynRgn.h"
#include "skin/Font.h"
#include "skin/SkinParser.h"

const ShippedControl DialogControls[5] = {
    {"[btn_help]", 1004, 0, 160},     {"[btn_skylark]", 1003, 0, 158},
    {"[btn_minimize]", 1002, 0, 152}, {"[btn_about]", 1001, 0, 154},
    {"[btn_exit]", 1000, 0, 153},
};

const ShippedControl MainControls[18] = {
    {"[btn_open]", 1, 0, 136},         {"[lbl_input_file]", 2, 3, 137},
    {"[btn_cd_track]", 3, 0, 138},     {"[btn_record]", 4, 0, 139},
    {"[btn_zoom_in]", 10, 0, 140},     {"[btn_zoom_out]", 12, 0, 141},
    {"[btn_play]", 21, 0, 143},        {"[btn_play_cut]", 22, 0, 144},
    {"[btn_stop]", 23, 0, 145},        {"[btn_cut_begin]", 31, 0, 146},
    {"[btn_cut_end]", 32, 0, 147},     {"[btn_fading_begin]", 41, 0, 148},
    {"[btn_fading_end]", 42, 0, 149},  {"[btn_fading_remove]", 43, 0, 150},
    {"[btn_scroll_left]", 51, 0, 156}, {"[btn_scroll_right]", 52, 0, 157},
    {"[lbl_beam]", 92, 3, 0},          {"[btn_beam]", 101, 0, 151},
};

const SectionKey StreamViewKeys[28] = {
    {"position", ValueKind::Rect},
    {"slider_range", ValueKind::Rect},
    {"bitmap_center", ValueKind::Bitmap},
    {"bitmap_center_empty", ValueKind::Bitmap},
    {"bitmap_empty_stream_desc", ValueKind::Bitmap},
    {"bitmap_stream", ValueKind::Bitmap},
    {"bitmap_cut_left", ValueKind::Bitmap},
    {"bitmap_cut_right", ValueKind::Bitmap},
    {"bitmap_cut_middle", ValueKind::Bitmap},
    {"bitmap_curpos", ValueKind::Bitmap},
    {"bitmap_margin", ValueKind::Bitmap},
    {"color_transparent", ValueKind::Color},
    {"color_axis", ValueKind::Color},
    {"font_axis", ValueKind::Font},
    {"color_waveform", ValueKind::Color},
    {"color_mark_rect", ValueKind::Color},
    {"y_pos_axis_line", ValueKind::Int},
    {"y_pos_axis_text", ValueKind::Int},
    {"y_pos_current", ValueKind::Int},
    {"y_wave_top", ValueKind::Int},
    {"y_wave_bottom", ValueKind::Int},
    {"y_preview_bmps_top", ValueKind::Int},
    {"y_preview_bmps_bottom", ValueKind::Int},
    {"y_mark_rect_top", ValueKind::Int},
    {"y_mark_rect_bottom", ValueKind::Int},
    {"axis_timemark_small", ValueKind::Int},
    {"axis_timemark_middle", ValueKind::Int},
    {"axis_timemark_big", ValueKind::Int},
};

QStringList ReadSectionKeys(CSkinParser& parser, const QString& section, const SectionKey* keys,
                            int count) {
    QStringList found;
    if (!parser.openSection(section))
        return found;
    while (parser.nextKey()) {
        for (int i = 0; i < count; ++i) {
            const QString key = QString::fromLatin1(keys[i].key);
            int n = 0;
            ColorRef color = 0;
            SkinRect rect;
            QPoint point;
            CFont font;
            CDynBitmap bitmap;
            CDynRgn region;
            QString text;
            bool ok = false;
            switch (keys[i].kind) {
            case ValueKind::Int:
                ok = parser.getInt(key, n);
                break;
            case ValueKind::Color:
                ok = parser.getColor(key, color);
                break;
            case ValueKind::Rect:
                ok = parser.getRect(key, rect);
                break;
            case ValueKind::Point:
                ok = parser.getPoint(key, point);
                break;
            case ValueKind::Font:
                ok = parser.getFont(key, font);
                break;
            case ValueKind::Bitmap:
                ok = parser.getBitmap(key, bitmap);
                break;
            case ValueKind::Region:
                ok = parser.getRegion(key, region);
                break;
            case ValueKind::File:
                ok = parser.getFile(key, text);
                break;
            case ValueKind::Text:
                ok = parser.getText(key, text);
                break;
            }
            if (ok) {
                found.append(key);
                break;
            }
        }
    }
    return found;
}
