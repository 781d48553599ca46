#pragma once
// What the soak measures of its own process: resident memory, open file
// descriptors and the CPU time spent so far (all threads). Linux only.
namespace qireq::soak {

// VmRSS of /proc/self/status in kB; -1 when it cannot be read.
long ResidentKb();
// Entries of /proc/self/fd, the one the listing itself uses not counted.
int OpenDescriptors();
// User plus system time of the whole process, in seconds.
double CpuSeconds();

// On a fatal signal, one line "CRASH signal N" on stderr before the process
// dies as it would have, so the log says what ended the soak.
void ReportCrashes();

}  // namespace qireq::soak
