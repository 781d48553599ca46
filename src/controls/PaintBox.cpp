#include "controls/PaintBox.h"

#include <QPainter>

namespace qireq {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent)
{
    // Windowless in spirit: the box never takes the mouse from the controls
    // drawn over it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PaintBox::SetOnPaint(PaintHandler handler)
{
    onPaint_ = std::move(handler);
    update();
}

void PaintBox::paintEvent(QPaintEvent*)
{
    if (!onPaint_)
        return;
    QPainter canvas(this);
    canvas.setFont(font());
    onPaint_(*this, canvas);
}

}  // namespace qireq
