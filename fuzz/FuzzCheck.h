#pragma once
// A broken invariant in a fuzz target: the condition and where it failed go
// to stderr and the process aborts, which libFuzzer reports as a finding
// and saves the input for.
#include <cstdio>
#include <cstdlib>

namespace qireq::fuzz {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

}  // namespace qireq::fuzz

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? static_cast<void>(0) : ::qireq::fuzz::Fail(#condition, __FILE__, __LINE__))
