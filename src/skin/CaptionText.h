// Fitting a caption into a width: word ellipsis at the end, or path ellipsis in the middle.
#pragma once

#include <QString>

class QFontMetrics;

// The text cut at its end with "..." so that it fits (the whole text when it fits).
QString ElideEnd(const QString& text, const QFontMetrics& metrics, int width);
// A path shortened in its folder part so that its last component stays whole:
// "/home/ann/music/song.mp3" becomes "/home/an.../song.mp3"; when even ".../name" does not fit,
// the name itself is cut at its end.
QString ElidePath(const QString& text, const QFontMetrics& metrics, int width);
