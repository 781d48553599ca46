#include "controls/MouseLabel.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

namespace qireq {

TMouseLabel::TMouseLabel(const QString& caption, const QRect& geometry, QWidget* parent)
    : QLabel(caption, parent)
{
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setGeometry(geometry);
}

void TMouseLabel::SetCaption(const QString& caption)
{
    setText(caption);
    resize(fontMetrics().horizontalAdvance(caption) + 2, height());
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
