// Window dragging through the window system, or by following the pointer.
#include "ui/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

bool CWindowDrag::press(QWidget* part, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return false;
    QWidget* window = part->window();
    if (QWindow* handle = window->windowHandle(); handle && handle->startSystemMove())
        return true;
    m_dragging = true;
    m_pressed = event->globalPosition().toPoint();
    m_windowAt = window->pos();
    return true;
}

void CWindowDrag::move(QWidget* part, QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        part->window()->move(m_windowAt + event->globalPosition().toPoint() - m_pressed);
}
