#include "support/ProbedPty.h"

#include "protocol/Frames.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace qireq::test {

ProbedPty::ProbedPty()
{
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
        master_ = -1;
        return;
    }
    termios raw{};
    ::tcgetattr(master_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(master_, TCSANOW, &raw);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    // From now on only the program opens the slave.
    ::close(slave);
    path_ = QString::fromLocal8Bit(name);
    clock_.start();
}

ProbedPty::~ProbedPty()
{
    Remove();
}

void ProbedPty::AnswerPings(int delayMs)
{
    answers_ = true;
    answerDelayMs_ = delayMs;
}

void ProbedPty::Service(int& sequence)
{
    if (master_ < 0)
        return;
    pollfd p{master_, POLLIN, 0};
    ::poll(&p, 1, 0);
    // A hang-up on the master means no one holds the slave open.
    slaveOpen_ = (p.revents & POLLHUP) == 0;
    everOpened_ = everOpened_ || slaveOpen_;
    if ((p.revents & POLLIN) != 0) {
        char buffer[512];
        for (;;) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            received_.append(buffer, static_cast<qsizetype>(n));
        }
    }
    const QByteArray& ping = PingRequest();
    for (;;) {
        const qsizetype at = received_.indexOf(ping, scanned_);
        if (at < 0)
            break;
        scanned_ = at + ping.size();
        pingOrder_.push_back(sequence++);
        if (answers_)
            answersDue_.push_back(clock_.elapsed() + answerDelayMs_);
    }
    const qint64 now = clock_.elapsed();
    while (!answersDue_.empty() && answersDue_.front() <= now) {
        answersDue_.erase(answersDue_.begin());
        // The ping answer has the same nine bytes as the request.
        const ssize_t n = ::write(master_, ping.constData(), static_cast<size_t>(ping.size()));
        (void)n;  // a port closed meanwhile takes nothing: the answer is lost
    }
}

void ProbedPty::Remove()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
    slaveOpen_ = false;
}

}  // namespace qireq::test
