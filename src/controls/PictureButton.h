#pragma once
// A picture that acts as a button: it shows one picture of a picture list and
// reports presses, releases, clicks and hovering. Used for the band on/off and
// type buttons, the trim "-"/"+" buttons, bypass and reset.
#include <QPixmap>
#include <QVector>
#include <QWidget>

namespace qireq {

using PictureList = QVector<QPixmap>;

class PictureButton : public QWidget {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    // Copies picture `index` of `list` into the button; an index the list does
    // not hold leaves the button blank (the index is still remembered).
    void ShowPicture(const PictureList& list, int index);
    int ShownPicture() const { return shownIndex_; }
    const QPixmap& Picture() const { return picture_; }

    // True while any mouse button pressed on the picture is held.
    bool IsPressed() const { return held_.toInt() != 0; }

signals:
    // Presses and releases of every mouse button: each press is followed by
    // exactly one release of the same button, reported also when the picture
    // is disabled or hidden while it is held, or when it is pressed again
    // before its release arrived.
    void MouseDown(Qt::MouseButton button);
    void MouseUp(Qt::MouseButton button);
    void Clicked();     // left button pressed and released on the picture
    void MouseMoved();  // pointer moved over the picture, with or without a button

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void EndPress(Qt::MouseButton button);
    void EndAllPresses();

    QPixmap picture_;
    int shownIndex_ = -1;
    Qt::MouseButtons held_;
};

}  // namespace qireq
