// The stream view's look: the record filled from the skin section "[stream_view]".
#pragma once

#include "skin/ColorRef.h"
#include "skin/DynBitmap.h"
#include "skin/Font.h"
#include "skin/SkinRect.h"

class CSkinParser;

struct StreamViewSkin {
    SkinRect position;    // the view's rectangle in the main control; its height is every column's
    SkinRect sliderRange; // top and bottom: the vertical extent of the position area
    CDynBitmap center;    // background tile of the time area with an input
    CDynBitmap centerEmpty;     // background tile without an input
    CDynBitmap emptyStreamDesc; // picture centred in the view without an input
    CDynBitmap stream;          // tile over the part of the time area that has audio
    CDynBitmap cutLeft;         // column at the ringtone start without fade-in
    CDynBitmap cutRight;        // column at the ringtone end without fade-out
    CDynBitmap cutMiddle;       // tile of the selected part and of the fade ramps
    CDynBitmap curpos;          // the play-position cursor, drawn with transparency
    CDynBitmap margin;          // left and right edge; its width is the time area's margin
    ColorRef colorTransparent = 0;
    ColorRef colorAxis = 0; // axis pen and text colour
    CFont fontAxis;
    ColorRef colorWaveform = 0;
    ColorRef colorMarkRect = 0; // selection box and saved-position line
    int yPosAxisLine = 0;       // top of the 50-pixel axis rectangle
    int yPosAxisText = 0;
    int yPosCurrent = 0; // y of the two text lines
    int yWaveTop = 0;
    int yWaveBottom = 0;
    int yPreviewBmpsTop = 0; // read and kept; nothing draws with them
    int yPreviewBmpsBottom = 0;
    int yMarkRectTop = 0; // time rectangle and fade ramps
    int yMarkRectBottom = 0;
    int axisTimemarkSmall = 0;
    int axisTimemarkMiddle = 0;
    int axisTimemarkBig = 0;

    // Reads the section; missing keys leave their fields as they were. False only when the
    // section cannot be opened.
    bool load(CSkinParser& parser);
    // The centre line and the amplitude of the waveform band.
    int waveCentre() const { return (yWaveTop + yWaveBottom) / 2; }
    int waveAmplitude() const { return (yWaveBottom - yWaveTop) / 2; }
};
