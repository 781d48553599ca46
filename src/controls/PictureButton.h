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

    bool IsPressed() const { return pressed_; }

signals:
    void MouseDown();   // left button pressed on the picture
    void MouseUp();     // left button released after a press (also when the
                        // button is disabled or hidden while held)
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
    void EndPress();

    QPixmap picture_;
    int shownIndex_ = -1;
    bool pressed_ = false;
};

}  // namespace qireq
