#include "controls/CSpinButton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace qireq {

TCSpinButton::TCSpinButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    repeat_.setSingleShot(false);
    connect(&repeat_, &QTimer::timeout, this, &TCSpinButton::RepeatTick);
}

QRect TCSpinButton::HalfRect(Half half) const
{
    const int upHeight = height() / 2;
    if (half == Half::Up)
        return QRect(0, 0, width(), upHeight);
    return QRect(0, upHeight, width(), height() - upHeight);
}

void TCSpinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (Half half : {Half::Up, Half::Down}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = HalfRect(half);
        const bool sunken = held_ && heldHalf_ == half && pointerOnHeldHalf_;
        button.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        if (!hasFocus() || focused_ != half)
            button.state &= ~QStyle::State_HasFocus;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);

        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = HalfRect(half).adjusted(3, 2, -3, -2);
        style()->drawPrimitive(half == Half::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &arrow, &painter, this);
    }
}

void TCSpinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    heldHalf_ = HalfRect(Half::Up).contains(at) ? Half::Up : Half::Down;
    focused_ = heldHalf_;
    held_ = true;
    pointerOnHeldHalf_ = true;
    update();
    Fire(heldHalf_);
    // The click may have disabled or hidden this button; then no repeat.
    if (held_)
        repeat_.start(kFirstRepeatMs);
}

void TCSpinButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!held_)
        return;
    const bool onHalf = HalfRect(heldHalf_).contains(event->position().toPoint());
    if (onHalf != pointerOnHeldHalf_) {
        pointerOnHeldHalf_ = onHalf;
        update();
    }
}

void TCSpinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        StopPress();
}

void TCSpinButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        Fire(Half::Up);
        break;
    case Qt::Key_Down:
        Fire(Half::Down);
        break;
    case Qt::Key_Space:
        Fire(focused_);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

// A half held while the button is disabled or hidden would keep stepping
// with nobody holding it: the release can no longer arrive.
void TCSpinButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        StopPress();
    QWidget::changeEvent(event);
}

void TCSpinButton::hideEvent(QHideEvent* event)
{
    StopPress();
    QWidget::hideEvent(event);
}

void TCSpinButton::Fire(Half half)
{
    if (half == Half::Up)
        emit UpClick();
    else
        emit DownClick();
}

// Repeats fire only while the pointer stays on the half that was pressed.
void TCSpinButton::RepeatTick()
{
    if (repeat_.interval() != kRepeatMs)
        repeat_.setInterval(kRepeatMs);
    if (held_ && pointerOnHeldHalf_)
        Fire(heldHalf_);
}

void TCSpinButton::StopPress()
{
    repeat_.stop();
    if (held_) {
        held_ = false;
        update();
    }
}

}  // namespace qireq
