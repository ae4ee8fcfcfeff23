// A widget of the contact sheet that draws one skin bitmap over itself.
#pragma once

#include "skin/DynBitmap.h"

#include <QWidget>

// A widget that draws one bitmap over itself and takes its size.
class BitmapPanel : public QWidget {
public:
    BitmapPanel(const CDynBitmap& bitmap, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    CDynBitmap m_bitmap;
};
