#include "controls/MouseLabel.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QMouseEvent>

#include <algorithm>

namespace qireq {

TMouseLabel::TMouseLabel(const QString& caption, const QRect& geometry, QWidget* parent)
    : QLabel(caption, parent), layoutWidth_(geometry.width())
{
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setGeometry(geometry);
    Fit();
}

void TMouseLabel::SetCaption(const QString& caption)
{
    layoutWidth_ = 0;
    setText(caption);
    Fit();
}

// As wide as the caption, and at first at least as wide as laid out. The
// places were laid out for a narrower font: a caption is never cut.
void TMouseLabel::Fit()
{
    const int textWidth = fontMetrics().horizontalAdvance(text()) + 2;
    resize(std::max(layoutWidth_, textWidth), height());
}

void TMouseLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Fit();
}

void TMouseLabel::mousePressEvent(QMouseEvent* event)
{
    clickArmed_ = event->button() == Qt::LeftButton;
    if (!OnMouseDown) {
        event->ignore();
        return;
    }
    OnMouseDown(*this, event->button(), event->modifiers(), event->position().toPoint());
}

void TMouseLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = clickArmed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    clickArmed_ = false;
    if (!OnMouseUp && !OnClick) {
        event->ignore();
        return;
    }
    if (OnMouseUp)
        OnMouseUp(*this, event->button(), event->modifiers(), event->position().toPoint());
    if (click && OnClick)
        OnClick(*this);
}

// The second press of a double click presses the label again but is not
// the start of another click.
void TMouseLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    clickArmed_ = false;
    if (!OnMouseDown) {
        event->ignore();
        return;
    }
    OnMouseDown(*this, event->button(), event->modifiers(), event->position().toPoint());
}

void TMouseLabel::mouseMoveEvent(QMouseEvent* event)
{
    event->ignore();
}

// The menu belongs to whatever the label sits on.
void TMouseLabel::contextMenuEvent(QContextMenuEvent* event)
{
    event->ignore();
}

}  // namespace qireq
