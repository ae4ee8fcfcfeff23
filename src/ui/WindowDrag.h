// Moving a frameless window by dragging one of its parts with the left mouse button.
#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

// Watches the mouse on the parts it is installed on (installEventFilter). A left press on a part
// itself (not on a child) makes the window system move the window where it can (Wayland, X11
// with a window manager); elsewhere the window follows the pointer until the release.
class CWindowDrag : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool press(QWidget* part, QMouseEvent* event);

    bool m_dragging = false;
    QPoint m_pressed;
    QPoint m_windowAt;
};
