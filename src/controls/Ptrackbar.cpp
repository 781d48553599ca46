#include "controls/Ptrackbar.h"

#include "controls/VclColors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>

namespace qireq {

namespace {
constexpr QSize kBuiltInThumb{15, 9};
constexpr int kBuiltInChannelWidth = 15;
constexpr int kGrooveWidth = 4;
// The thumb stops this far from either end; the channel's top edge lies 3
// pixels further in, and its picture starts 2 pixels above that edge.
constexpr int kEndMargin = 4;
constexpr int kChannelInset = 3;
constexpr int kChannelPictureRise = 2;
constexpr int kTickLength = 3;
constexpr int kWheelNotch = 120;

QSize LogicalSize(const QPixmap& picture)
{
    return picture.deviceIndependentSize().toSize();
}
}  // namespace

TPTrackBar::TPTrackBar(QWidget* parent, int min, int max) : QAbstractSlider(parent)
{
    setOrientation(Qt::Vertical);
    setRange(min, max);
    setSingleStep(1);
    setPageStep(2);
    // Created in the middle of its range, before anyone listens.
    setValue(static_cast<int>((static_cast<std::int64_t>(minimum()) + maximum()) / 2));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    pageRepeat_.setSingleShot(false);
    connect(&pageRepeat_, &QTimer::timeout, this, [this] {
        pageRepeat_.setInterval(kRepeatMs);
        PageTowardPointer();
    });
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        update();
        emit OnChange();
    });
}

void TPTrackBar::SetMin(int value)
{
    setMinimum(value);
    update();
}

void TPTrackBar::SetMax(int value)
{
    setMaximum(value);
    update();
}

void TPTrackBar::SetPosition(int value)
{
    setValue(value);  // held to the range; fires OnChange only on a new value
}

void TPTrackBar::SetPageSize(int value)
{
    setPageStep(value);
}

void TPTrackBar::SetLineSize(int value)
{
    setSingleStep(value);
}

void TPTrackBar::SetFrequency(int value)
{
    frequency_ = value;
    update();
}

void TPTrackBar::SetTickMarks(TTickMark marks)
{
    tickMarks_ = marks;
    update();
}

void TPTrackBar::SetTickStyle(TTickStyle style)
{
    tickStyle_ = style;
    update();
}

void TPTrackBar::SetSelStart(int value)
{
    selStart_ = value;
}

void TPTrackBar::SetSelEnd(int value)
{
    selEnd_ = value;
}

void TPTrackBar::SetThumbBitmap(const QPixmap& picture)
{
    thumbBitmap_ = picture.copy();
    thumbBitmap_.setDevicePixelRatio(picture.devicePixelRatio());
    update();
}

void TPTrackBar::SetChannelBitmap(const QPixmap& picture)
{
    channelBitmap_ = picture.copy();
    channelBitmap_.setDevicePixelRatio(picture.devicePixelRatio());
    update();
}

// --- Geometry -----------------------------------------------------------------

QSize TPTrackBar::ThumbSize() const
{
    return thumbBitmap_.isNull() ? kBuiltInThumb : LogicalSize(thumbBitmap_);
}

QSize TPTrackBar::minimumSizeHint() const
{
    const QSize thumb = ThumbSize();
    return QSize(thumb.width(), thumb.height() + 2 * kEndMargin);
}

int TPTrackBar::TravelTop() const
{
    return kEndMargin;
}

int TPTrackBar::Travel() const
{
    return std::max(0, height() - 2 * kEndMargin - ThumbSize().height());
}

int TPTrackBar::ThumbTopFor(int position) const
{
    const std::int64_t range = static_cast<std::int64_t>(maximum()) - minimum();
    if (range <= 0)
        return TravelTop();
    const std::int64_t offset = std::clamp<std::int64_t>(static_cast<std::int64_t>(position) - minimum(), 0, range);
    return TravelTop() + static_cast<int>(offset * Travel() / range);
}

int TPTrackBar::PositionAt(int thumbTop) const
{
    const std::int64_t range = static_cast<std::int64_t>(maximum()) - minimum();
    const int travel = Travel();
    if (range <= 0 || travel <= 0)
        return minimum();
    const std::int64_t offset = std::clamp(thumbTop - TravelTop(), 0, travel);
    // The nearest position, so that a thumb put back on its own pixel row
    // keeps its position.
    return minimum() + static_cast<int>((offset * range + travel / 2) / travel);
}

QRect TPTrackBar::ThumbRect() const
{
    const QSize thumb = ThumbSize();
    return QRect(QPoint((width() - thumb.width()) / 2, ThumbTopFor(value())), thumb);
}

QRect TPTrackBar::ChannelRect() const
{
    const int channelWidth = channelBitmap_.isNull() ? kBuiltInChannelWidth : LogicalSize(channelBitmap_).width();
    const int top = kEndMargin + kChannelInset;
    return QRect((width() - channelWidth) / 2, top, channelWidth, std::max(0, height() - 2 * top));
}

// --- Painting -----------------------------------------------------------------

void TPTrackBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(0.5);

    const QRect channel = ChannelRect();
    if (!channelBitmap_.isNull()) {
        painter.drawPixmap(QPoint(channel.left(), channel.top() - kChannelPictureRise), channelBitmap_);
    } else {
        // A sunken groove down the middle of the channel.
        const QRect groove((width() - kGrooveWidth) / 2, channel.top(), kGrooveWidth, channel.height());
        PaintBevel(painter, groove, clBtnShadow, clWhite);
    }

    if (tickStyle_ != TTickStyle::tsNone) {
        const QColor tickColor = palette().color(QPalette::WindowText);
        const int half = ThumbSize().height() / 2;
        const auto tickAt = [&](int position) {
            const int y = ThumbTopFor(position) + half;
            if (tickMarks_ != TTickMark::tmTopLeft)
                painter.fillRect(width() - kTickLength, y, kTickLength, 1, tickColor);
            if (tickMarks_ != TTickMark::tmBottomRight)
                painter.fillRect(0, y, kTickLength, 1, tickColor);
        };
        tickAt(minimum());
        if (tickStyle_ == TTickStyle::tsAuto && frequency_ > 0) {
            for (std::int64_t p = static_cast<std::int64_t>(minimum()) + frequency_; p < maximum(); p += frequency_)
                tickAt(static_cast<int>(p));
        }
        tickAt(maximum());
    }

    const QRect thumb = ThumbRect();
    if (!thumbBitmap_.isNull()) {
        painter.drawPixmap(thumb.topLeft(), thumbBitmap_);
    } else {
        // A raised button with a line across its middle.
        PaintBevel(painter, thumb, clWhite, clBtnShadow);
        const int middle = thumb.top() + thumb.height() / 2;
        painter.fillRect(thumb.left() + 3, middle, thumb.width() - 6, 1, clBtnShadow);
    }
}

void TPTrackBar::PaintBevel(QPainter& painter, const QRect& area, const QColor& topLeft, const QColor& bottomRight)
{
    // Whole-pixel rectangles only, so the picture scales to any pixel ratio
    // without blur or half-pixel shifts.
    painter.fillRect(area, clBtnFace);
    painter.fillRect(area.left(), area.top(), area.width(), 1, topLeft);
    painter.fillRect(area.left(), area.top(), 1, area.height(), topLeft);
    painter.fillRect(area.left(), area.bottom(), area.width(), 1, bottomRight);
    painter.fillRect(area.right(), area.top() + 1, 1, area.height() - 1, bottomRight);
}

// --- Mouse, keys, wheel ---------------------------------------------------------

void TPTrackBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint pos = event->position().toPoint();
    const QRect thumb = ThumbRect();
    if (thumb.contains(pos)) {
        dragging_ = true;
        dragOffset_ = pos.y() - thumb.top();
        setSliderDown(true);
    } else {
        pagePointerY_ = pos.y();
        PageTowardPointer();
        pageRepeat_.start(kFirstRepeatMs);
    }
    event->accept();
}

void TPTrackBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit OnMouseMove(event->buttons(), event->modifiers(), pos);
    if (dragging_)
        SetPosition(PositionAt(pos.y() - dragOffset_));
    else if (pageRepeat_.isActive())
        pagePointerY_ = pos.y();
}

void TPTrackBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (dragging_) {
        dragging_ = false;
        setSliderDown(false);
    }
    StopPaging();
}

void TPTrackBar::PageTowardPointer()
{
    const QRect thumb = ThumbRect();
    if (pagePointerY_ < thumb.top())
        SetPosition(value() - pageStep());
    else if (pagePointerY_ > thumb.bottom())
        SetPosition(value() + pageStep());
    const QRect moved = ThumbRect();
    if (pagePointerY_ >= moved.top() && pagePointerY_ <= moved.bottom())
        StopPaging();  // the thumb has reached the pointer
}

void TPTrackBar::StopPaging()
{
    pageRepeat_.stop();
}

void TPTrackBar::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        SetPosition(value() - singleStep());
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        SetPosition(value() + singleStep());
        break;
    case Qt::Key_PageUp:
        SetPosition(value() - pageStep());
        break;
    case Qt::Key_PageDown:
        SetPosition(value() + pageStep());
        break;
    case Qt::Key_Home:
        SetPosition(minimum());
        break;
    case Qt::Key_End:
        SetPosition(maximum());
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void TPTrackBar::wheelEvent(QWheelEvent* event)
{
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    if (notches != 0)
        SetPosition(value() - notches * singleStep());  // forward moves the thumb up
    event->accept();
}

void TPTrackBar::changeEvent(QEvent* event)
{
    QAbstractSlider::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        dragging_ = false;
        setSliderDown(false);
        StopPaging();
    }
}

}  // namespace qireq
