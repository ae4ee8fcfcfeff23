// The loader of the stream view's skin section.
#include "view/gui/StreamViewSkin.h"

#include "skin/SkinParser.h"

bool StreamViewSkin::load(CSkinParser& p) {
    if (!p.openSection(QStringLiteral("[stream_view]")))
        return false;
    const auto key = [](const char* name) { return QString::fromLatin1(name); };
    while (p.nextKey()) {
        (void)(p.getRect(key("position"), position) ||
               p.getRect(key("slider_range"), sliderRange) ||
               p.getBitmap(key("bitmap_center"), center) ||
               p.getBitmap(key("bitmap_center_empty"), centerEmpty) ||
               p.getBitmap(key("bitmap_empty_stream_desc"), emptyStreamDesc) ||
               p.getBitmap(key("bitmap_stream"), stream) ||
               p.getBitmap(key("bitmap_cut_left"), cutLeft) ||
               p.getBitmap(key("bitmap_cut_right"), cutRight) ||
               p.getBitmap(key("bitmap_cut_middle"), cutMiddle) ||
               p.getBitmap(key("bitmap_curpos"), curpos) ||
               p.getBitmap(key("bitmap_margin"), margin) ||
               p.getColor(key("color_transparent"), colorTransparent) ||
               p.getColor(key("color_axis"), colorAxis) || p.getFont(key("font_axis"), fontAxis) ||
               p.getColor(key("color_waveform"), colorWaveform) ||
               p.getColor(key("color_mark_rect"), colorMarkRect) ||
               p.getInt(key("y_pos_axis_line"), yPosAxisLine) ||
               p.getInt(key("y_pos_axis_text"), yPosAxisText) ||
               p.getInt(key("y_pos_current"), yPosCurrent) ||
               p.getInt(key("y_wave_top"), yWaveTop) ||
               p.getInt(key("y_wave_bottom"), yWaveBottom) ||
               p.getInt(key("y_preview_bmps_top"), yPreviewBmpsTop) ||
               p.getInt(key("y_preview_bmps_bottom"), yPreviewBmpsBottom) ||
               p.getInt(key("y_mark_rect_top"), yMarkRectTop) ||
               p.getInt(key("y_mark_rect_bottom"), yMarkRectBottom) ||
               p.getInt(key("axis_timemark_small"), axisTimemarkSmall) ||
               p.getInt(key("axis_timemark_middle"), axisTimemarkMiddle) ||
               p.getInt(key("axis_timemark_big"), axisTimemarkBig));
    }
    return true;
}
