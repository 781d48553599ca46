#include "discovery/SerialProber.h"

#include "platform/TComPort.h"
#include "protocol/Frames.h"
#include "protocol/SerialLink.h"
#include "state/DeviceList.h"
#include "state/SerialPortNames.h"

#include <QCoreApplication>

#include <chrono>
#include <exception>
#include <utility>

namespace qireq {

SerialProber::SerialProber(TComPort& probingPort, DeviceList& devices, SerialPortNames& portNames,
    SerialPortEnumerator enumerate, DiagnosticSink diagnostics, Timing timing)
    : port_(probingPort), devices_(devices), portNames_(portNames),
      enumerate_(std::move(enumerate)), diagnostics_(std::move(diagnostics)), timing_(timing)
{
    Q_ASSERT(probingPort.Failures() == TComFailures::Throw);
}

SerialProber::~SerialProber()
{
    Stop();
}

void SerialProber::ReportRefusedPorts(AccessCheck check, RefusedSink sink)
{
    accessCheck_ = std::move(check);
    refused_ = std::move(sink);
}

void SerialProber::Start()
{
    if (started_)
        return;
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

void SerialProber::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (!thread_.joinable())
        return;
    // The prober may be inside a call to the probing port, which is carried
    // out on this thread: keep serving those calls until the prober is done.
    while (!finished_.load()) {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(1), [this] { return finished_.load(); });
    }
    thread_.join();
}

bool SerialProber::Stopping() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return stop_;
}

bool SerialProber::Wait(int ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_; });
}

void SerialProber::Run()
{
    {
        SerialLink link(port_);
        ReadPortNamesUntilSome();
        while (!Stopping()) {
            if (!WaitUntilFree())
                break;
            ProbePass(link);
            if (!Wait(timing_.passPauseMs))
                break;
        }
        try {
            link.Close();
        } catch (const std::exception&) {
            // The port is going away with the program; nothing to release.
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_.store(true);
    }
    wake_.notify_all();
}

void SerialProber::ReadPortNamesUntilSome()
{
    for (;;) {
        QStringList names = enumerate_ ? enumerate_() : QStringList();
        const bool none = names.isEmpty();
        portNames_.Replace(std::move(names));
        if (!none || !Wait(timing_.noPortsRetryMs))
            return;
    }
}

// Returns once neither ProbeHold nor ListChanging is raised and no run on
// many units pauses the prober; false when stopped meanwhile. Both are looked at again after every wait, so a list
// change that starts while the hold is being lowered is waited out too.
bool SerialProber::WaitUntilFree()
{
    ProcessFlags& flags = devices_.Flags();
    for (;;) {
        if (Stopping())
            return false;
        if (!flags.ProbeHold.load() && !flags.ListChanging.load() && flags.ProbePauses.load() == 0)
            return true;
        if (!Wait(timing_.holdPollMs))
            return false;
    }
}

void SerialProber::ProbePass(SerialLink& link)
{
    ++passes_;
    const QStringList names = portNames_.Snapshot();
    for (qsizetype i = names.size() - 1; i >= 0; --i) {
        if (Stopping() || devices_.Flags().ProbePauses.load() > 0)
            return;  // a run on many units began: the rest of the pass waits
        if (devices_.Contains(names[i])) {
            if (diagnostics_)
                diagnostics_(QString::number(i));
            continue;
        }
        ProbePort(link, names[i]);
        if (!Wait(timing_.probeAnswerMs))
            return;
    }
}

void SerialProber::ProbePort(SerialLink& link, const QString& name)
{
    if (accessCheck_) {
        if (const std::optional<QString> group = accessCheck_(name)) {
            if (refused_)
                refused_(name, *group);
            return;
        }
    }
    try {
        // On an open probing port this closes the port probed before and
        // opens this one in its place.
        link.SetAddress(name);
        link.Open();
        if (link.IsOpen())
            link.WriteBytes(PingRequest());
    } catch (const std::exception&) {
        // Absent, in use by the connection or another program, refused:
        // this port is simply not probed in this pass.
    }
}

}  // namespace qireq
