// Turns a device-independent bitmap (info header, colour table, pixel bits) into an image.
#pragma once

#include <QByteArrayView>
#include <QImage>

class CDibDecoder {
public:
    // What the bytes hold: a bitmap of a BMP file, or the image of an icon or cursor (colour
    // bits of half the header's height followed by a one-bit transparency mask).
    enum class Kind { Bitmap, IconImage };

    static constexpr int InfoHeaderSize = 40;
    // The largest picture accepted, in pixels.
    static constexpr qint64 MaxPixels = qint64(1) << 24;

    // The bytes from the info header on. Bitmaps become RGB32 images, icon images ARGB32.
    // A null image on failure, with an errno-style number in *error (EINVAL: damaged data,
    // ENOMEM: too large).
    static QImage Decode(QByteArrayView dib, Kind kind, int* error = nullptr);

    // Where the pixel bits start, counted from the info header: the header, then the colour
    // table of the colours-used count (2 to the bit count when 0) for up to 8 bits per pixel,
    // else of the colours-used count plus the three masks of bit-field bitmaps.
    static qint64 BitsOffset(int bitCount, int compression, quint32 colorsUsed);
};
