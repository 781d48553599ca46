#include "SoakProcessFigures.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <cstddef>
#include <sys/resource.h>
#include <unistd.h>

namespace qireq::soak {

long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

int OpenDescriptors()
{
    // QDir reads the directory through a descriptor of its own while it lists.
    const int listed = static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                            .size());
    return listed - 1;
}

double CpuSeconds()
{
    rusage usage{};
    if (::getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

namespace {

// Only async-signal-safe calls in here: no printf, no allocation.
extern "C" void OnFatalSignal(int number)
{
    char line[32] = "CRASH signal ";
    std::size_t size = sizeof "CRASH signal " - 1;
    char digits[12];
    int count = 0;
    for (unsigned rest = static_cast<unsigned>(number); count == 0 || rest > 0; rest /= 10)
        digits[count++] = static_cast<char>('0' + rest % 10);
    while (count > 0)
        line[size++] = digits[--count];
    line[size++] = '\n';
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line, size);
    std::signal(number, SIG_DFL);
    std::raise(number);
}

}  // namespace

void ReportCrashes()
{
    for (const int number : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        std::signal(number, OnFatalSignal);
}

}  // namespace qireq::soak
