#pragma once
// Wakes the event loop of the thread this object lives on from any other
// thread: Wake() may be called from anywhere, Woken() then runs on the
// owning thread (several wakes may run it once).
//
// On Linux the wake is an eventfd watched by a socket notifier, so the
// waking thread hands nothing to Qt's event queue; on other platforms it
// is a queued call.
#include <QObject>

#include <functional>

class QSocketNotifier;

namespace qireq {

class ThreadWakeup : public QObject {
    Q_OBJECT
public:
    ThreadWakeup(std::function<void()> woken, QObject* parent);
    ~ThreadWakeup() override;

    void Wake();

private:
    Q_INVOKABLE void RunWoken();

    std::function<void()> woken_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qireq
