#pragma once
// The pause a link takes after each write, on the calling thread. Links
// sleep for real; tests hand in a recorder to see which pauses were taken.
#include <functional>

namespace qireq {

using LinkPause = std::function<void(int ms)>;

void SleepMs(int ms);

}  // namespace qireq
