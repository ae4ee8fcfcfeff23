// The skins' pictures, drawn from code; sizes and places come from the layout.
#pragma once

#include "SkinLayout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRegion>
#include <QString>

enum class Band { Empty, Center, Stream, Selected };

QString CaptionText(Caption caption, const Texts& t);
// The skins' font, DejaVu Sans, at a pixel size.
QFont Font(int pixels, bool bold);
// A colour as a skin file writes it: "r,g,b".
QString Rgb(const QColor& c);
QImage NewImage(int w, int h, const QColor& fill);

// The window's shape: a rectangle with rounded corners.
QRegion WindowRegion();
// The frame, title bar and body shared by the main window and the browser dialog.
QImage Chrome(const Texts& t);
// A control in one state, drawn over the part of the background it covers.
QImage Face(const QImage& background, const Control& c, State state);
QImage ControlBackground();
QImage BrowserBackground(const Texts& t);

// Columns of the stream view's background in one of its bands; markColor fills the time area.
QImage ViewColumns(int width, Band band, const QColor& markColor = QColor());
// The play cursor on the transparent colour.
QImage PlayCursor();
// The picture the stream view shows while it has no input.
QImage EmptyDescription(const Texts& t);
QImage HandCursor();
QImage LogoImage(int size);
