#include "SimOutputQueue.h"

#include <algorithm>

namespace qireq::sim {

SimOutputQueue::SimOutputQueue(Writer write, QObject* parent)
    : QObject(parent), write_(std::move(write))
{
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SimOutputQueue::Pump);
}

void SimOutputQueue::Push(Item item)
{
    items_.push_back(std::move(item));
    if (!timer_.isActive())
        Pump();
}

void SimOutputQueue::Clear()
{
    items_.clear();
    timer_.stop();
}

void SimOutputQueue::Pump()
{
    while (!items_.empty()) {
        const Item& head = items_.front();
        qint64 due = head.notBeforeMs;
        if (written_)
            due = std::max(due, lastWriteMs_ + head.gapMs);
        const qint64 now = NowMs();
        if (due > now) {
            timer_.start(static_cast<int>(due - now));
            return;
        }
        // Take the item off first: onSend or the writer may end the connection
        // and clear the queue.
        Item item = std::move(items_.front());
        items_.pop_front();
        if (item.onSend)
            item.onSend();
        if (!item.bytes.isEmpty())
            write_(item.bytes);
        lastWriteMs_ = NowMs();
        written_ = true;
    }
}

}  // namespace qireq::sim
