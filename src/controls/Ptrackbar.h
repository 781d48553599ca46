#pragma once
// TPTrackBar: the vertical gain slider of an EQ band. It keeps a trackbar's
// position, range and change notification and draws two pictures of its own:
// ThumbBitmap in place of the thumb and ChannelBitmap in place of the groove
// (built-in pictures are drawn when none is given). Min is at the top, Max at
// the bottom, as on a native vertical trackbar.
//
// OnChange fires exactly when Position takes a new value, whoever moves it:
//  - SetPosition from code: the value is held to Min..Max; a new value moves
//    the thumb and fires OnChange once, synchronously, inside SetPosition; the
//    current value fires nothing.
//  - SetMin / SetMax that push Position into the new range fire it too.
//  - The user (drag, click on the channel, keys, wheel) fires it once per
//    position reached, while moving.
// The editor relies on this: a program-made move fires OnChange re-entrantly,
// so the caller closes its send gate before SetPosition.
//
// Mouse and keys: dragging the thumb follows the pointer to the nearest
// position; a press on the channel moves PageSize toward the pointer and
// repeats while held (first after 500 ms, then every 100 ms) until the thumb
// reaches the pointer; Up/Left and Down/Right move one position, PageUp and
// PageDown one page, Home and End to Min and Max; the wheel moves one
// position per notch (forward = up). OnMouseMove reports every pointer move.
//
// GUI thread only.
#include <QAbstractSlider>
#include <QPixmap>
#include <QTimer>

class QPainter;

namespace qireq {

enum class TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum class TTickStyle { tsNone, tsAuto, tsManual };

class TPTrackBar : public QAbstractSlider {
    Q_OBJECT
public:
    static constexpr int kFirstRepeatMs = 500;
    static constexpr int kRepeatMs = 100;

    // Vertical, Position = (max + min) / 2 truncated toward zero.
    explicit TPTrackBar(QWidget* parent = nullptr, int min = 0, int max = 10);

    int Min() const { return minimum(); }
    void SetMin(int value);
    int Max() const { return maximum(); }
    void SetMax(int value);
    int Position() const { return value(); }
    void SetPosition(int value);
    int PageSize() const { return pageStep(); }
    void SetPageSize(int value);
    int LineSize() const { return singleStep(); }
    void SetLineSize(int value);
    // Tick spacing in positions.
    int Frequency() const { return frequency_; }
    void SetFrequency(int value);
    TTickMark TickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark marks);
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle style);
    int SelStart() const { return selStart_; }
    void SetSelStart(int value);
    int SelEnd() const { return selEnd_; }
    void SetSelEnd(int value);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // Taking a copy of the picture and repainting. A null picture brings
    // back the built-in one.
    QPixmap ThumbBitmap() const { return thumbBitmap_; }
    void SetThumbBitmap(const QPixmap& picture);
    QPixmap ChannelBitmap() const { return channelBitmap_; }
    void SetChannelBitmap(const QPixmap& picture);

    // Geometry in widget pixels, for painting and for pointing at.
    QSize ThumbSize() const;
    QRect ThumbRect() const;     // the thumb at the present position
    QRect ChannelRect() const;   // the groove the thumb's centre runs along
    int ThumbTopFor(int position) const;
    int PositionAt(int thumbTop) const;  // nearest position for a thumb top

    QSize sizeHint() const override { return QSize(25, 177); }
    QSize minimumSizeHint() const override;

signals:
    void OnChange();
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static void PaintBevel(QPainter& painter, const QRect& area, const QColor& topLeft, const QColor& bottomRight);
    int TravelTop() const;
    int Travel() const;
    void PageTowardPointer();
    void StopPaging();

    QPixmap thumbBitmap_;
    QPixmap channelBitmap_;
    int frequency_ = 1;
    TTickMark tickMarks_ = TTickMark::tmBottomRight;
    TTickStyle tickStyle_ = TTickStyle::tsAuto;
    int selStart_ = 0;
    int selEnd_ = 0;
    int tag_ = 0;

    bool dragging_ = false;
    int dragOffset_ = 0;     // pointer y minus thumb top at the press
    QTimer pageRepeat_;
    int pagePointerY_ = 0;   // where the pointer holds the channel
    int wheelRemainder_ = 0;
};

}  // namespace qireq
