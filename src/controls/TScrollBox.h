#pragma once
// A scroll box whose children are placed by coordinates (the device tiles of
// the left column). The area it scrolls grows to hold every visible child and
// never shrinks below the box itself, so tiles placed below the fold can be
// scrolled to without anyone sizing the contents by hand.
#include <QScrollArea>

namespace qireq {

class TScrollBox : public QScrollArea {
    Q_OBJECT
public:
    explicit TScrollBox(QWidget* parent = nullptr);

    // The parent for everything shown inside the box.
    QWidget* Contents() const { return contents_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ScheduleFit();
    void FitContents();

    QWidget* contents_;
    bool fitPending_ = false;
};

}  // namespace qireq
