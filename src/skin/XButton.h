// A skinned push button or label: draws itself from skin bitmaps and sends commands to its parent.
#pragma once

#include "skin/SkinControl.h"
#include "skin/XButtonCfg.h"

#include <QWidget>

class CSkinParser;

class CXButton : public QWidget, public CSkinControl<CXButtonCfg> {
    Q_OBJECT
public:
    // Kinds: 0 push button, 3 label; 1, 2 and 4 are kept for toggle and indicator buttons.
    enum Kind { PushButton = 0, Label = 3 };

    // A control with the given identifier, the number its commands carry.
    CXButton(int id, QWidget* parent);

    int id() const { return m_id; }
    int kind() const { return m_kind; }

    // Loads the configuration from the section and applies it: placement, shown or hidden.
    bool create(CSkinParser& parser, const QString& section, int kind, bool ignoreVisible);

    using QWidget::show;
    void show(bool visible) override;
    // Moves the control to position + parent size × anchor / 100 with the configured size.
    void place(const CXButtonCfg& config) override;
    // The top-left corner placement gives for a parent of the given client size.
    static QPoint PlacedPosition(QPoint position, QPoint anchor, QSize parentSize);

    void setEnabled(bool enabled);
    void setCaption(const QString& caption);
    // The string-table entry shown as tooltip (0: the entry of the control's identifier).
    void setTooltip(int stringId);
    // A text shown as tooltip in place of the string-table entry (empty: use the entry again).
    void setTooltipText(const QString& text);
    void setPathEllipsis(bool on);
    // Stops hovering and repaints; the parent calls it after acting on a command.
    void clearHover();

    // The text the tooltip shows now, at most 299 characters.
    QString tooltipText() const;
    // The state the control is drawn in.
    bool isPressed() const { return m_pressed; }
    bool isSpaceHeld() const { return m_spaceHeld; }
    bool isHovering() const { return m_hovering; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void press();
    void cancelMode();
    void sendCommand(int code);
    const CDynBitmap& stateBitmap() const;
    ColorRef stateTextColor() const;
    void drawCaption(QPainter& painter) const;

    int m_id;
    int m_kind = PushButton;
    QString m_tooltipText;
    int m_tooltipId = 0;
    bool m_pressed = false;
    bool m_spaceHeld = false;
    bool m_hovering = false;
    bool m_pathEllipsis = false;
};
