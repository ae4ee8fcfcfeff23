// Moving a frameless window by dragging one of its parts with the left mouse button.
#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

class CWindowDrag {
public:
    // A press on the part: the window system moves the window where it can (Wayland, X11);
    // elsewhere the window follows the pointer's later moves. False for other buttons.
    bool press(QWidget* part, QMouseEvent* event);
    // Moves the window by the pointer's offset from the press while a drag runs.
    void move(QWidget* part, QMouseEvent* event);
    // Ends the drag.
    void release() { m_dragging = false; }

private:
    bool m_dragging = false;
    QPoint m_pressed;
    QPoint m_windowAt;
};
