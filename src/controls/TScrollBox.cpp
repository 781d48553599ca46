#include "controls/TScrollBox.h"

#include <QChildEvent>
#include <QEvent>
#include <QScrollBar>
#include <QTimer>

namespace qireq {

TScrollBox::TScrollBox(QWidget* parent) : QScrollArea(parent), contents_(new QWidget)
{
    contents_->setObjectName(QStringLiteral("DeviceBoxContents"));
    setWidget(contents_);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    contents_->installEventFilter(this);
}

bool TScrollBox::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == contents_) {
            if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
                child->installEventFilter(this);
            ScheduleFit();
        }
        break;
    case QEvent::ChildRemoved:
        if (watched == contents_)
            ScheduleFit();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched != contents_)
            ScheduleFit();
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

void TScrollBox::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    FitContents();
}

// Placing several tiles in a row costs one fit, not one per move.
void TScrollBox::ScheduleFit()
{
    if (fitPending_)
        return;
    fitPending_ = true;
    QTimer::singleShot(0, this, [this] {
        fitPending_ = false;
        FitContents();
    });
}

void TScrollBox::FitContents()
{
    int right = 0;
    int bottom = 0;
    for (QObject* object : contents_->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isHidden())
            continue;
        right = std::max(right, child->geometry().right() + 1);
        bottom = std::max(bottom, child->geometry().bottom() + 1);
    }
    const QSize view = viewport()->size();
    contents_->resize(std::max(view.width(), right), std::max(view.height(), bottom + 10));
}

}  // namespace qireq
