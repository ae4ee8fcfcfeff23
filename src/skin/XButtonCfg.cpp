// Reading a button section: every entry is offered to the keys in a fixed order.
#include "skin/XButtonCfg.h"

#include "skin/SkinParser.h"

int CXButtonCfg::ResizeBehaviorOf(const QString& word) {
    static constexpr const char* words[] = {
        "RESIZE_ON_X",  "RESIZE_ON_X_NO_MOVE",  "RESIZE_ON_Y",
        "RESIZE_ON_XY", "RESIZE_ON_XY_NO_MOVE", "RESIZE_ON_XY_NO_MOVE_ON_X",
    };
    for (int i = 0; i < int(std::size(words)); ++i) {
        if (word == QLatin1String(words[i]))
            return i + 1;
    }
    return -1;
}

bool CXButtonCfg::load(CSkinParser& p, const QString& section, int kind, bool ignoreVisible) {
    if (!p.openSection(section))
        return false;
    bool hasPosition = false;
    bool hasSize = false;
    bool hasUp = false;
    bool hasDown = false;
    bool hasOver = false;
    QCursor cursorRead;
    QString word;
    while (p.nextKey()) {
        bool flag = false;
        if (p.getBool(QStringLiteral("not_used"), flag)) {
            visible = false;
            notUsed = flag;
            if (notUsed)
                return true;
            break;
        } else if (p.getTwoPoints(QStringLiteral("position"), position, anchor)) {
            hasPosition = true;
        } else if (p.getPoint(QStringLiteral("size"), size)) {
            hasSize = true;
        } else if (p.getBitmap(QStringLiteral("bitmap_up"), bitmapUp) ||
                   p.getBitmap(QStringLiteral("bitmap_off_up"), bitmapUp)) {
            hasUp = true;
        } else if (p.getBitmap(QStringLiteral("bitmap_do"), bitmapDown) ||
                   p.getBitmap(QStringLiteral("bitmap_off_do"), bitmapDown)) {
            hasDown = true;
        } else if (p.getBitmap(QStringLiteral("bitmap_mo"), bitmapMouseOver) ||
                   p.getBitmap(QStringLiteral("bitmap_off_mo"), bitmapMouseOver)) {
            hasOver = true;
        } else if (p.getColor(QStringLiteral("font_color_up"), colorUp) ||
                   p.getColor(QStringLiteral("font_color_do"), colorDown) ||
                   p.getColor(QStringLiteral("font_color_mo"), colorMouseOver) ||
                   p.getColor(QStringLiteral("font_color_da"), colorDisabled) ||
                   p.getColor(QStringLiteral("focus_color"), colorFocus) ||
                   p.getFont(QStringLiteral("font"), font) ||
                   p.getPoint(QStringLiteral("align"), align) ||
                   p.getPoint(QStringLiteral("xbounds"), xbounds) ||
                   p.getBitmap(QStringLiteral("bitmap_da"), bitmapDisabled) ||
                   p.getBitmap(QStringLiteral("bitmap_off_da"), bitmapDisabled) ||
                   p.getText(QStringLiteral("caption"), caption) ||
                   p.getBitmap(QStringLiteral("bitmap_od"), bitmapOnMouseOver) ||
                   p.getBitmap(QStringLiteral("bitmap_on_mo"), bitmapOnMouseOver) ||
                   p.getBitmap(QStringLiteral("bitmap_ad"), bitmapOnDisabled) ||
                   p.getBitmap(QStringLiteral("bitmap_on_da"), bitmapOnDisabled) ||
                   p.getBitmap(QStringLiteral("bitmap_pd"), bitmapOnUp) ||
                   p.getBitmap(QStringLiteral("bitmap_on_up"), bitmapOnUp) ||
                   p.getBitmap(QStringLiteral("bitmap_pu"), bitmapOnDown) ||
                   p.getBitmap(QStringLiteral("bitmap_on_do"), bitmapOnDown)) {
            // stored by the operation that matched
        } else if (p.getCursor(QStringLiteral("cursor"), cursorRead)) {
            cursor = cursorRead;
        } else if (p.getRegion(QStringLiteral("region_paint"), paintRegion) ||
                   (!ignoreVisible && p.getBool(QStringLiteral("visible"), visible))) {
            // stored by the operation that matched
        } else if (p.getText(QStringLiteral("resize_behavior"), word)) {
            const int behavior = ResizeBehaviorOf(word);
            if (behavior > 0)
                resizeBehavior = behavior;
        } else if (!p.getBool(QStringLiteral("multiline"), multiline)) {
            // Any other entry, "mouseover" among them, turns hover highlighting on.
            mouseover = true;
        }
    }
    return hasPosition && hasSize && hasUp && (kind == 3 || (hasDown && hasOver));
}
