// The configuration of one skinned button or label, read from its skin section.
#pragma once

#include "skin/ColorRef.h"
#include "skin/DynBitmap.h"
#include "skin/DynRgn.h"
#include "skin/Font.h"

#include <QCursor>
#include <QPoint>
#include <QString>

#include <optional>

class CSkinParser;

class CXButtonCfg {
public:
    // The words of "resize_behavior"; read and kept, placement does not use them.
    enum ResizeBehavior {
        ResizeNone = 0,
        ResizeOnX = 1,
        ResizeOnXNoMove = 2,
        ResizeOnY = 3,
        ResizeOnXY = 4,
        ResizeOnXYNoMove = 5,
        ResizeOnXYNoMoveOnX = 6,
    };

    virtual ~CXButtonCfg() = default;

    // Reads the section; kind 3 (label) needs "position", "size" and "bitmap_up", other kinds
    // also "bitmap_do" and "bitmap_mo". With ignoreVisible the key "visible" is not read.
    virtual bool load(CSkinParser& parser, const QString& section, int kind, bool ignoreVisible);

    // The number of a "resize_behavior" word; -1 for any other word.
    static int ResizeBehaviorOf(const QString& word);

    bool mouseover = false;
    bool multiline = false;
    bool enabled = true;
    ColorRef colorUp = MakeColorRef(0, 0, 0);
    ColorRef colorDown = MakeColorRef(0, 0, 0);
    ColorRef colorMouseOver = MakeColorRef(0, 0, 0);
    ColorRef colorDisabled = MakeColorRef(114, 128, 141);
    ColorRef colorFocus = MakeColorRef(242, 181, 68); // the keyboard focus frame
    CDynBitmap bitmapUp;
    CDynBitmap bitmapDown;
    CDynBitmap bitmapMouseOver;
    CDynBitmap bitmapDisabled;
    CDynBitmap bitmapOnUp;
    CDynBitmap bitmapOnDown;
    CDynBitmap bitmapOnMouseOver;
    CDynBitmap bitmapOnDisabled;
    CDynRgn paintRegion;
    bool visible = true;
    bool notUsed = false;
    int resizeBehavior = ResizeNone;
    QPoint align{0, 0};     // text offset from the left/top (negative: from the right/bottom)
    QPoint xbounds{-1, -1}; // left and right inset of the text
    QString caption;
    CFont font;
    QPoint size{10, 10};
    QPoint position{0, 0};
    QPoint anchor{0, 0}; // per cent of the parent's width and height added to the position
    std::optional<QCursor> cursor;
};
