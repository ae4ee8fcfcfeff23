// Skinned buttons and labels: state painting, caption layout, mouse, keys and tooltips.
#include "skin/XButton.h"

#include "app/StringTable.h"
#include "skin/CaptionText.h"
#include "skin/CommandEvent.h"
#include "skin/SkinParser.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

namespace {
constexpr int MaxTooltipChars = 299;
}

CXButton::CXButton(int id, QWidget* parent) : QWidget(parent), m_id(id) {
    setMouseTracking(true);
    if (parent)
        parent->installEventFilter(this);
}

bool CXButton::create(CSkinParser& parser, const QString& section, int kind, bool ignoreVisible) {
    if (kind < 0 || kind > 4)
        return false;
    CXButtonCfg config;
    if (!config.load(parser, section, kind, ignoreVisible))
        return false;
    config.enabled = m_config.enabled;
    m_config = std::move(config);
    m_kind = kind;
    setFocusPolicy(kind == PushButton ? Qt::TabFocus : Qt::NoFocus);
    if (m_config.cursor)
        setCursor(*m_config.cursor);
    else
        unsetCursor();
    place(m_config);
    show(m_config.visible);
    update();
    return true;
}

void CXButton::show(bool visible) {
    setVisible(visible);
}

QPoint CXButton::PlacedPosition(QPoint position, QPoint anchor, QSize parentSize) {
    const qint64 x = position.x() + qint64(parentSize.width()) * anchor.x() / 100;
    const qint64 y = position.y() + qint64(parentSize.height()) * anchor.y() / 100;
    return QPoint(int(x), int(y));
}

void CXButton::place(const CXButtonCfg& config) {
    const QSize parentSize = parentWidget() ? parentWidget()->size() : QSize(0, 0);
    const QPoint at = PlacedPosition(config.position, config.anchor, parentSize);
    setGeometry(at.x(), at.y(), config.size.x(), config.size.y());
    clearMask();
}

void CXButton::setEnabled(bool enabled) {
    m_config.enabled = enabled;
    QWidget::setEnabled(enabled);
    update();
}

void CXButton::setCaption(const QString& caption) {
    m_config.caption = caption;
    update();
}

void CXButton::setTooltip(int stringId) {
    m_tooltipId = stringId;
}

void CXButton::setTooltipText(const QString& text) {
    m_tooltipText = text;
}

void CXButton::setPathEllipsis(bool on) {
    m_pathEllipsis = on;
    update();
}

void CXButton::clearHover() {
    m_hovering = false;
    update();
}

QString CXButton::tooltipText() const {
    const QString text =
        m_tooltipText.isEmpty() ? LoadString(m_tooltipId != 0 ? m_tooltipId : m_id) : m_tooltipText;
    return text.left(MaxTooltipChars);
}

bool CXButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const QString text = m_config.visible ? tooltipText() : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, this, rect());
        }
        return true;
    }
    return QWidget::event(event);
}

bool CXButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize &&
        (m_config.anchor.x() != 0 || m_config.anchor.y() != 0))
        place(m_config);
    return QWidget::eventFilter(watched, event);
}

const CDynBitmap& CXButton::stateBitmap() const {
    const CXButtonCfg& c = m_config;
    const CDynBitmap* chosen = &c.bitmapUp;
    if (m_kind != Label) {
        if (!c.enabled)
            chosen = &c.bitmapDisabled;
        else if ((m_pressed && m_hovering) || m_spaceHeld)
            chosen = &c.bitmapDown;
        else if (m_hovering && c.mouseover)
            chosen = &c.bitmapMouseOver;
    }
    // A state the skin has no picture for is drawn with the picture of the up state.
    return chosen->isNull() ? c.bitmapUp : *chosen;
}

ColorRef CXButton::stateTextColor() const {
    const CXButtonCfg& c = m_config;
    if (!c.enabled)
        return c.colorDisabled;
    if (m_kind == Label)
        return c.colorUp;
    if ((m_pressed && m_hovering) || m_spaceHeld)
        return c.colorDown;
    if (m_hovering && c.mouseover)
        return c.colorMouseOver;
    return c.colorUp;
}

void CXButton::drawCaption(QPainter& painter) const {
    const CXButtonCfg& c = m_config;
    if (c.caption.isEmpty())
        return;
    const QFont font = c.font.isNull() ? this->font() : c.font.font();
    painter.setFont(font);
    painter.setPen(ToQColor(stateTextColor()));
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics(font);
    const int l = 0, t = 0, r = width(), b = height();
    QSize text(metrics.horizontalAdvance(c.caption), metrics.height());
    if (c.multiline)
        text =
            metrics.boundingRect(QRect(l, t, r - l, 1 << 20), Qt::TextWordWrap, c.caption).size();
    const int ax = c.align.x(), ay = c.align.y();
    int x = ax < 0 ? r - text.width() + ax : l + ax;
    if (ax == 0)
        x = qMax((l + r) / 2 - text.width() / 2, l + c.xbounds.x());
    int y = ay < 0 ? b - text.height() + ay : t + ay;
    if (ay == 0)
        y = (t + b) / 2 - text.height() / 2;
    const int right = c.xbounds.y() > 0 ? r - c.xbounds.y() : r;
    const QRect box(QPoint(x, y), QPoint(right - 1, b - 1));
    if (box.width() <= 0 || box.height() <= 0)
        return;
    painter.save();
    painter.setClipRect(box);
    if (c.multiline) {
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, c.caption);
    } else {
        const QString shown = m_pathEllipsis ? ElidePath(c.caption, metrics, box.width())
                                             : ElideEnd(c.caption, metrics, box.width());
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    }
    painter.restore();
}

void CXButton::paintEvent(QPaintEvent*) {
    if (!m_config.visible || width() <= 0 || height() <= 0)
        return;
    QPixmap buffer(size());
    buffer.fill(Qt::transparent);
    {
        QPainter painter(&buffer);
        stateBitmap().draw(painter, QPoint(0, 0));
        drawCaption(painter);
        if (hasFocus() && m_kind != Label) {
            // The keyboard focus: a dotted frame in the skin's focus colour.
            painter.setPen(QPen(ToQColor(m_config.colorFocus), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(1, 1, -2, -2));
        }
    }
    QPainter screen(this);
    if (!m_config.paintRegion.isNull())
        screen.setClipRegion(m_config.paintRegion.region());
    screen.drawPixmap(0, 0, buffer);
}

void CXButton::press() {
    if (!m_config.enabled || !m_config.visible)
        return;
    m_pressed = true;
    update();
}

void CXButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        press();
    else if (event->button() == Qt::RightButton)
        sendCommand(CCommandEvent::NotifyRightPress);
    else
        QWidget::mousePressEvent(event);
}

void CXButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        press();
    else
        QWidget::mouseDoubleClickEvent(event);
}

void CXButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool inside = rect().contains(event->position().toPoint());
    m_pressed = false;
    update();
    if (inside)
        sendCommand(CCommandEvent::NotifyClicked);
}

void CXButton::mouseMoveEvent(QMouseEvent* event) {
    if (m_config.mouseover && !m_hovering) {
        m_hovering = true;
        update();
    }
    if (m_config.cursor)
        setCursor(*m_config.cursor);
    QWidget::mouseMoveEvent(event);
}

void CXButton::leaveEvent(QEvent* event) {
    cancelMode();
    QWidget::leaveEvent(event);
}

void CXButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_kind != Label && m_config.enabled && m_config.visible) {
        sendCommand(CCommandEvent::NotifyClicked);
        return;
    }
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_config.enabled &&
        m_config.visible) {
        m_spaceHeld = true;
        update();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CXButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_spaceHeld) {
        m_spaceHeld = false;
        update();
        sendCommand(CCommandEvent::NotifyClicked);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CXButton::hideEvent(QHideEvent* event) {
    cancelMode();
    QWidget::hideEvent(event);
}

void CXButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        cancelMode();
    QWidget::changeEvent(event);
}

void CXButton::cancelMode() {
    m_pressed = false;
    m_spaceHeld = false;
    m_hovering = false;
    if (m_config.cursor)
        setCursor(*m_config.cursor);
    update();
}

void CXButton::sendCommand(int code) {
    if (QWidget* parent = parentWidget()) {
        CCommandEvent command(m_id, code, this);
        QCoreApplication::sendEvent(parent, &command);
    }
}
