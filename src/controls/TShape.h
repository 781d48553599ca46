#pragma once
// A filled shape with a thin outline: the 20 x 20 lamps of the status row
// and the round connection lamp on the top bar. Its only state is the fill
// colour, which the status and connection code set.
#include <QColor>
#include <QWidget>

namespace qireq {

class TShape : public QWidget {
    Q_OBJECT
public:
    enum class Form { Rectangle, Circle };

    // Lamps start grey until something paints them.
    static inline const QColor kLampGrey{128, 128, 128};

    explicit TShape(Form form, QWidget* parent = nullptr);

    Form ShapeForm() const { return form_; }
    QColor BrushColor() const { return brush_; }
    void SetBrushColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Form form_;
    QColor brush_ = kLampGrey;
};

}  // namespace qireq
