#include "platform/ThreadWakeup.h"

#include <QSocketNotifier>

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace qireq {

ThreadWakeup::ThreadWakeup(std::function<void()> woken, QObject* parent)
    : QObject(parent), woken_(std::move(woken)), fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (fd_ < 0)
        return;  // falls back to queued calls
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        std::uint64_t count = 0;
        while (::read(fd_, &count, sizeof count) > 0) {
        }
        RunWoken();
    });
}

ThreadWakeup::~ThreadWakeup()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

void ThreadWakeup::Wake()
{
    if (fd_ < 0) {
        QMetaObject::invokeMethod(this, "RunWoken", Qt::QueuedConnection);
        return;
    }
    const std::uint64_t one = 1;
    // Only fails when the counter is full, and then a wake is pending anyway.
    [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}

void ThreadWakeup::RunWoken()
{
    woken_();
}

}  // namespace qireq
