// Window dragging through the window system, or by following the pointer.
#include "ui/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

bool CWindowDrag::eventFilter(QObject* watched, QEvent* event) {
    auto* part = qobject_cast<QWidget*>(watched);
    const QEvent::Type type = event->type();
    if (!part || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
                  type != QEvent::MouseButtonRelease))
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonPress)
        return press(part, mouse);
    if (type == QEvent::MouseMove) {
        if (m_dragging && (mouse->buttons() & Qt::LeftButton))
            part->window()->move(m_windowAt + mouse->globalPosition().toPoint() - m_pressed);
        return m_dragging;
    }
    const bool dragged = m_dragging;
    m_dragging = false;
    return dragged;
}

bool CWindowDrag::press(QWidget* part, QMouseEvent* event) {
    // Only the part's own background: a press a child passed on (a disabled button) is no drag.
    if (event->button() != Qt::LeftButton || part->childAt(event->position().toPoint()))
        return false;
    QWidget* window = part->window();
    if (QWindow* handle = window->windowHandle(); handle && handle->startSystemMove())
        return true;
    m_dragging = true;
    m_pressed = event->globalPosition().toPoint();
    m_windowAt = window->pos();
    return true;
}
