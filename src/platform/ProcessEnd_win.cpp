#include "platform/ProcessEnd.h"

#include <cstdio>
#include <cstdlib>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace qireq {

// TerminateProcess rather than ExitProcess: ExitProcess would run the DLLs'
// detach code while the worker threads it killed may hold their locks.
void EndThisProcessNow(int exitCode)
{
    std::fflush(nullptr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(exitCode));
    std::_Exit(exitCode);  // not reached
}

}  // namespace qireq
