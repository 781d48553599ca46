#include "controls/PictureButton.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qireq {

PictureButton::PictureButton(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
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
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    emit MouseDown();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    EndPress();
    if (rect().contains(event->position().toPoint()))
        emit Clicked();
}

void PictureButton::mouseMoveEvent(QMouseEvent*)
{
    emit MouseMoved();
}

// A button disabled or hidden while held never sees its release; end the
// press here so that whatever the press started (an auto-repeat) stops.
void PictureButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled() && pressed_)
        EndPress();
    QWidget::changeEvent(event);
}

void PictureButton::hideEvent(QHideEvent* event)
{
    if (pressed_)
        EndPress();
    QWidget::hideEvent(event);
}

void PictureButton::EndPress()
{
    pressed_ = false;
    emit MouseUp();
}

}  // namespace qireq
