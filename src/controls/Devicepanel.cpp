#include "controls/Devicepanel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace qireq {

namespace {

constexpr int kLabelHeight = TMouseLabel::kHeight;

// The tile keeps a font of its own, not the column's, at a pixel size the
// fixed label places were laid out for.
QFont TileFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(11);
    font.setBold(false);
    return font;
}

PaintBox* MakeRedCross(QWidget* parent)
{
    auto* box = new PaintBox(parent);
    box->setObjectName(QStringLiteral("RedCross"));
    box->setGeometry(20, 4, TDevicePanel::kRedCrossSize, TDevicePanel::kRedCrossSize);
    box->SetOnPaint(&TDevicePanel::RedCrossOnPaint);
    box->hide();
    return box;
}

TMouseLabel* MakeLabel(const char* name, const QString& caption, int left, int top, int width,
                       QWidget* parent)
{
    auto* label = new TMouseLabel(caption, QRect(left, top, width, kLabelHeight), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

TDevicePanel::TDevicePanel(QWidget* parent)
    : QWidget(parent),
      NameCaption(MakeLabel("NameCaption", QStringLiteral("Name:"), 8, 8, 31, this)),
      AddressCaption(MakeLabel("AddressCaption", QStringLiteral("Address:"), 8, 32, 50, this)),
      MacCaption(MakeLabel("MacCaption", QStringLiteral("MAC:"), 8, 56, 28, this)),
      NameLabel(MakeLabel("NameLabel", QStringLiteral("Device"), 53, 8, 40, this)),
      AddressLabel(MakeLabel("AddressLabel", QStringLiteral("192.168.1.1"), 53, 32, 75, this)),
      MacLabel(MakeLabel("MacLabel", QStringLiteral("FF:FF:FF:FF:FF:FF"), 43, 56, 90, this)),
      RedCross(MakeRedCross(this))
{
    setFont(TileFont());
    resize(kWidth, kHeight);
    setAutoFillBackground(false);
    // Clicking the missing mark presses the tile under it.
    RedCross->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TDevicePanel::SetBevelOuter(Bevel bevel)
{
    if (bevel == bevel_)
        return;
    bevel_ = bevel;
    update();
}

void TDevicePanel::RedCrossMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                     const QPoint& pos)
{
    if (OnMouseDown)
        OnMouseDown(*this, button, shift, pos);
}

void TDevicePanel::RedCrossMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                   const QPoint& pos)
{
    if (OnMouseUp)
        OnMouseUp(*this, button, shift, pos);
}

void TDevicePanel::RedCrossOnPaint(PaintBox& box, QPainter& canvas)
{
    const int w = box.width();
    const int h = box.height();
    const int a = (w - 8) / 4;
    const int b = (h - 8) / 4;
    const QColor tileColour = box.palette().color(QPalette::Button);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(QColor(255, 0, 0), 2));
    canvas.setBrush(tileColour);
    // Corner coordinates as given, right and bottom edges exclusive.
    canvas.drawEllipse(QRect(QPoint(4, 4), QPoint(w - 4 - 1, h - 4 - 1)));
    canvas.drawLine(w / 2 - a, h / 2 - b, w / 2 + b, h / 2 + b);
    canvas.drawLine(w / 2 - a, h / 2 + b, w / 2 + b, h / 2 - b);
}

// A panel in the button face colour with a single dark border, inside it a
// one-pixel bevel: light above and left when raised, dark there when
// lowered (the tile looks pressed in).
void TDevicePanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    const QRect outer = rect();
    painter.fillRect(outer, colours.color(QPalette::Button));
    painter.setPen(colours.color(QPalette::Shadow));
    painter.drawRect(outer.adjusted(0, 0, -1, -1));

    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const QColor light = colours.color(QPalette::Light);
    const QColor dark = colours.color(QPalette::Dark);
    const QColor topLeft = bevel_ == Bevel::Raised ? light : dark;
    const QColor bottomRight = bevel_ == Bevel::Raised ? dark : light;
    painter.setPen(topLeft);
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());
}

void TDevicePanel::mousePressEvent(QMouseEvent* event)
{
    clickArmed_ = event->button() == Qt::LeftButton;
    if (OnMouseDown)
        OnMouseDown(*this, event->button(), event->modifiers(), event->position().toPoint());
}

void TDevicePanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = clickArmed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    clickArmed_ = false;
    if (OnMouseUp)
        OnMouseUp(*this, event->button(), event->modifiers(), event->position().toPoint());
    if (click && OnClick)
        OnClick(*this);
}

// The second press of a double click presses the tile again; it starts no
// second click.
void TDevicePanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    clickArmed_ = false;
    if (OnMouseDown)
        OnMouseDown(*this, event->button(), event->modifiers(), event->position().toPoint());
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(*this);
}

void TDevicePanel::contextMenuEvent(QContextMenuEvent* event)
{
    if (!popup_) {
        event->ignore();
        return;
    }
    popup_->popup(event->globalPos());
}

}  // namespace qireq
