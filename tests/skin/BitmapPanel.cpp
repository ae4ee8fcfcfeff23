// A widget drawing one skin bitmap.
#include "BitmapPanel.h"

#include <QPainter>

BitmapPanel::BitmapPanel(const CDynBitmap& bitmap, QWidget* parent)
    : QWidget(parent), m_bitmap(bitmap) {
    resize(bitmap.size());
}

void BitmapPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    m_bitmap.draw(p, QPoint(0, 0));
}
