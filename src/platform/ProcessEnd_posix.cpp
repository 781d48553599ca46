#include "platform/ProcessEnd.h"

#include <cstdio>
#include <unistd.h>

namespace qireq {

void EndThisProcessNow(int exitCode)
{
    std::fflush(nullptr);
    ::_exit(exitCode);
}

}  // namespace qireq
