// Cursor files of the skin: Windows cursors (.cur), icons (.ico) and animated cursors (.ani).
#pragma once

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

class CCursorFile {
public:
    // Reads a cursor file: of several images the one nearest to 32 pixels is taken; an animated
    // cursor gives its first frame.
    bool load(const QString& path);
    bool loadData(const QByteArray& data);

    const QImage& image() const { return m_image; }
    QPoint hotSpot() const { return m_hotSpot; }
    // The cursor of the image and hot spot (needs the GUI application).
    QCursor cursor() const;

private:
    bool loadIconDirectory(const QByteArray& data);
    bool loadAnimated(const QByteArray& data);

    QImage m_image;
    QPoint m_hotSpot;
};
