#pragma once
// A label that can take the mouse like the window's other controls: a
// press, a release and a click (press and release over it with the left
// button) each go to a handler the owner sets. A label without a handler
// for an event lets that event pass to its parent, so an unwired label on a
// tile presses the tile itself.
#include <QLabel>

#include <functional>

namespace qireq {

class TMouseLabel : public QLabel {
    Q_OBJECT
public:
    using MouseHandler = std::function<void(TMouseLabel& sender, Qt::MouseButton button,
                                            Qt::KeyboardModifiers shift, const QPoint& pos)>;
    using NotifyHandler = std::function<void(TMouseLabel& sender)>;

    static constexpr int kHeight = 13;

    // Placed at geometry, widened where the caption needs more room.
    TMouseLabel(const QString& caption, const QRect& geometry, QWidget* parent);

    // Sets the caption and widens or narrows the label to its text, as a
    // self-sizing label does (also when its font changes); the height stays.
    void SetCaption(const QString& caption);
    QString Caption() const { return text(); }

    MouseHandler OnMouseDown;
    MouseHandler OnMouseUp;
    NotifyHandler OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Fit();

    int layoutWidth_;
    bool clickArmed_ = false;
};

}  // namespace qireq
