#include "controls/PictureButton.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qireq {

PictureButton::PictureButton(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
    // The right button presses the picture like any other; it must not open
    // a context menu of a parent, which would swallow the release.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void PictureButton::ShowPicture(const PictureList& list, int index)
{
    shownIndex_ = index;
    picture_ = (index >= 0 && index < list.size()) ? list.at(index) : QPixmap();
    update();
}

void PictureButton::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button == Qt::NoButton)
        return;
    // A second press of a held button means its release went elsewhere:
    // report that release first, so presses and releases stay paired.
    if (held_.testFlag(button))
        EndPress(button);
    held_.setFlag(button);
    emit MouseDown(button);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button == Qt::NoButton || !held_.testFlag(button))
        return;
    EndPress(button);
    if (button == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}

void PictureButton::mouseMoveEvent(QMouseEvent*)
{
    emit MouseMoved();
}

// A button disabled or hidden while held never sees its releases; end the
// presses here so that whatever they started (an auto-repeat) stops.
void PictureButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        EndAllPresses();
    QWidget::changeEvent(event);
}

void PictureButton::hideEvent(QHideEvent* event)
{
    EndAllPresses();
    QWidget::hideEvent(event);
}

// The button is let go before the signal, so a handler that disables or
// hides the picture cannot report the same release twice.
void PictureButton::EndPress(Qt::MouseButton button)
{
    held_.setFlag(button, false);
    emit MouseUp(button);
}

void PictureButton::EndAllPresses()
{
    for (unsigned bit = 1; held_.toInt() != 0 && bit != 0; bit <<= 1) {
        const auto button = static_cast<Qt::MouseButton>(bit);
        if (held_.testFlag(button))
            EndPress(button);
    }
}

}  // namespace qireq
