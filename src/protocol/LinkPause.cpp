#include "protocol/LinkPause.h"

#include <chrono>
#include <thread>

namespace qireq {

void SleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace qireq
