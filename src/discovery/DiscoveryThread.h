#pragma once
// A worker thread that runs one discovery loop until it is told to stop.
// The loop asks Running() once per pass and waits through Pause(), which a
// stop cuts short, so Stop() returns promptly: the program never stops its
// discovery threads (closing the window ends the process), but tests and a
// destroyed window do.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace qireq {

class DiscoveryThread {
public:
    using Loop = std::function<void(DiscoveryThread& thread)>;

    explicit DiscoveryThread(Loop loop);
    ~DiscoveryThread();  // stops and joins
    DiscoveryThread(const DiscoveryThread&) = delete;
    DiscoveryThread& operator=(const DiscoveryThread&) = delete;

    void Start();
    // Raises the stop flag and cuts a pause short; Join waits for the end.
    void RequestStop();
    void Join();

    // On the loop's thread.
    bool Running() const;
    // Waits ms; false when the thread is to stop.
    bool Pause(int ms);

private:
    Loop loop_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace qireq
