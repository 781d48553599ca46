#include "SimSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace qireq::sim {
namespace {

int g_pipe[2] = {-1, -1};

extern "C" void OnStopSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t ignored = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

SimSignals::SimSignals(QObject* parent) : QObject(parent) {}

SimSignals::~SimSignals()
{
    delete notifier_;
}

bool SimSignals::Install()
{
    if (g_pipe[0] < 0) {
        if (::pipe(g_pipe) != 0)
            return false;
        for (int fd : g_pipe) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // Peers that vanish mid-write (a closed log pipe, a reset connection)
    // must end in a failed write, not in the death of the unit.
    std::signal(SIGPIPE, SIG_IGN);

    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &SimSignals::Drain);
    return true;
}

void SimSignals::Drain()
{
    unsigned char byte = 0;
    int last = 0;
    while (::read(g_pipe[0], &byte, 1) == 1)
        last = byte;
    if (last != 0)
        emit Stop(last);
}

}  // namespace qireq::sim
