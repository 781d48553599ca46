#include "platform/ThreadWakeup.h"

namespace qireq {

ThreadWakeup::ThreadWakeup(std::function<void()> woken, QObject* parent)
    : QObject(parent), woken_(std::move(woken))
{
}

ThreadWakeup::~ThreadWakeup() = default;

void ThreadWakeup::Wake()
{
    QMetaObject::invokeMethod(this, "RunWoken", Qt::QueuedConnection);
}

void ThreadWakeup::RunWoken()
{
    woken_();
}

}  // namespace qireq
