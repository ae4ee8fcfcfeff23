// The command a skinned control sends its parent when it is clicked: control id and notification.
#pragma once

#include <QEvent>

class QWidget;

class CCommandEvent : public QEvent {
public:
    // A fixed event number, so that nothing registers one at start-up.
    static constexpr QEvent::Type EventType = static_cast<QEvent::Type>(QEvent::User + 0x111);
    // Notification codes: a click, and a right button press.
    static constexpr int NotifyClicked = 0;
    static constexpr int NotifyRightPress = 5;

    CCommandEvent(int id, int code, QWidget* sender)
        : QEvent(EventType), m_id(id), m_code(code), m_sender(sender) {}

    int id() const { return m_id; }
    int code() const { return m_code; }
    QWidget* sender() const { return m_sender; }

private:
    int m_id;
    int m_code;
    QWidget* m_sender;
};
