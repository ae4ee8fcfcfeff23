// The skin's icons, drawn from paths on a 20-pixel grid (dialog icons on a 14-pixel grid).
#pragma once

#include <QColor>
#include <QPoint>

class QPainter;

enum class Icon {
    Open,
    Cd,
    Record,
    ZoomIn,
    ZoomOut,
    Play,
    PlayRingtone,
    Stop,
    SetStart,
    SetEnd,
    FadeIn,
    FadeOut,
    RemoveFades,
    ScrollLeft,
    ScrollRight,
    Beam,
    Help,
    Website,
    About,
    Minimize,
    Exit,
    Note,
};

// Grid size of an icon: 20 for the main control's icons, 14 for the dialog's.
int IconGrid(Icon icon);
// Draws the icon with its grid's top-left corner at the point.
void DrawIcon(QPainter& painter, Icon icon, QPoint at, const QColor& color);
// The program's mark: a rounded square with a waveform, size pixels wide.
void DrawLogo(QPainter& painter, QPoint at, int size);
