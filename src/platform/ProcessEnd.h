#pragma once
// Ends this process at once with the given exit code: buffered output is
// flushed, then the process stops without running destructors or exit
// handlers. The program's worker threads loop for the whole run, so an
// orderly unwinding at exit would destroy state they still use.
// Only this process ends; no other process is looked at.

namespace qireq {

[[noreturn]] void EndThisProcessNow(int exitCode);

}  // namespace qireq
