#pragma once
// The up/down spin button beside the frequency and Q fields. Each half fires
// its click once on press, again after 400 ms while held, then every 100 ms
// until release. With keyboard focus, Up and Down click the matching half and
// Space clicks the half that has focus (the half last pressed).
#include <QTimer>
#include <QWidget>

namespace qireq {

class TCSpinButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstRepeatMs = 400;
    static constexpr int kRepeatMs = 100;

    enum class Half { Up, Down };

    explicit TCSpinButton(QWidget* parent = nullptr);

    Half FocusedHalf() const { return focused_; }
    bool IsRepeating() const { return repeat_.isActive(); }
    // The rectangle of one half in widget pixels (the upper half is the smaller
    // one when the height is odd).
    QRect HalfRect(Half half) const;

signals:
    void UpClick();
    void DownClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Fire(Half half);
    void RepeatTick();
    void StopPress();

    QTimer repeat_;
    Half focused_ = Half::Up;
    bool held_ = false;
    Half heldHalf_ = Half::Up;
    bool pointerOnHeldHalf_ = false;
};

}  // namespace qireq
