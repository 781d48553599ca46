#include "controls/TShape.h"

#include <QPainter>

namespace qireq {

TShape::TShape(Form form, QWidget* parent) : QWidget(parent), form_(form)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void TShape::SetBrushColor(const QColor& colour)
{
    if (colour == brush_)
        return;
    brush_ = colour;
    update();
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(QColor(0x0b, 0x0f, 0x16), 1));
    painter.setBrush(brush_);
    if (form_ == Form::Circle)
        painter.drawEllipse(area);
    else
        painter.drawRoundedRect(area, 2, 2);
    // A soft highlight so a lamp reads as a lamp, not as a flat square.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 45));
    const QRectF shine(area.left() + 2, area.top() + 2, area.width() - 4, area.height() / 2 - 2);
    if (form_ == Form::Circle)
        painter.drawEllipse(shine);
    else
        painter.drawRoundedRect(shine, 1.5, 1.5);
}

}  // namespace qireq
