#include "discovery/DiscoveryThread.h"

#include <chrono>
#include <utility>

namespace qireq {

DiscoveryThread::DiscoveryThread(Loop loop) : loop_(std::move(loop)) {}

DiscoveryThread::~DiscoveryThread()
{
    RequestStop();
    Join();
}

void DiscoveryThread::Start()
{
    if (!thread_.joinable())
        thread_ = std::thread([this] { loop_(*this); });
}

void DiscoveryThread::RequestStop()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
}

void DiscoveryThread::Join()
{
    if (thread_.joinable())
        thread_.join();
}

bool DiscoveryThread::Running() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return !stop_;
}

bool DiscoveryThread::Pause(int ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_; });
}

}  // namespace qireq
