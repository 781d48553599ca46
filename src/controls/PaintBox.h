#pragma once
// A plain box whose whole content is painted by its owner's OnPaint handler
// (the gain scales beside the sliders, the axis labels around the plot).
#include <QWidget>

#include <functional>

class QPainter;

namespace qireq {

class PaintBox : public QWidget {
    Q_OBJECT
public:
    using PaintHandler = std::function<void(PaintBox& box, QPainter& canvas)>;

    explicit PaintBox(QWidget* parent = nullptr);
    void SetOnPaint(PaintHandler handler);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PaintHandler onPaint_;
};

}  // namespace qireq
