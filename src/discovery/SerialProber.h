#pragma once
// The SerialProber: a worker thread that looks for units on the serial ports
// not yet in the device list by sending each one the 9-byte Ping on the
// probing port (the window's ComPort2). An answer comes back through the
// receive path (CreditPingAnswer), which lists the unit and raises ProbeHold.
//
// One pass: wait until neither ProbeHold nor ListChanging is raised; take a
// copy of SerialPortNames; for each port from the last to the first: a
// listed port gets its position written to Memo1, any other is opened on
// the probing port (which closes the port probed before), sent a Ping and
// given 100 ms to answer. Errors of a single port (absent, busy, refused)
// are swallowed. Then 3000 ms until the next pass. The port probed last
// stays open on the probing port until the next probe or CloseTimer closes
// it.
//
// At its start the prober reads the port names itself, every 3000 ms until
// there is at least one.
//
// Threads: the prober owns its SerialLink on its own thread; every call into
// the probing port is carried over to that port's thread (the GUI thread) by
// the component, so that thread must keep running its event loop. Diagnostic
// lines are handed to the sink on the prober thread: the sink carries them
// to Memo1 (TForm1::AppendDiagnostic is safe from any thread).
//
// The program never stops the prober (closing the window ends the process);
// Stop is for tests and for an orderly exit.
#include "platform/SerialPortEnumeration.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace qireq {

class DeviceList;
class SerialLink;
class SerialPortNames;
class TComPort;

// The prober's waits; tests shorten the pass pause.
struct SerialProberTiming {
    int probeAnswerMs = 100;    // after the Ping to one port
    int passPauseMs = 3000;     // after each pass
    int noPortsRetryMs = 3000;  // between readings while no port exists at start
    int holdPollMs = 10;        // how often a raised ProbeHold / ListChanging is looked at
};

class SerialProber {
public:
    using Timing = SerialProberTiming;
    using DiagnosticSink = std::function<void(const QString& line)>;
    // The group a user must join to open a port, when this user may not
    // (SerialPortGroupNeeded); and where such a port is reported, on the
    // prober thread, each time a pass meets it.
    using AccessCheck = std::function<std::optional<QString>(const QString& port)>;
    using RefusedSink = std::function<void(const QString& port, const QString& group)>;

    // The probing port throws its failures (TComFailures::Throw): they
    // reach the prober as errors, which it swallows.
    SerialProber(TComPort& probingPort, DeviceList& devices, SerialPortNames& portNames,
        SerialPortEnumerator enumerate, DiagnosticSink diagnostics, Timing timing = {});
    // Stops the thread if it still runs (see Stop).
    ~SerialProber();

    SerialProber(const SerialProber&) = delete;
    SerialProber& operator=(const SerialProber&) = delete;

    // Before Start: ports this user may not open are reported, not probed
    // in vain.
    void ReportRefusedPorts(AccessCheck check, RefusedSink sink);

    // Starts the thread; once.
    void Start();
    // Raises the stop flag, cuts every wait short and waits until the thread
    // has closed the probing port and ended. Call on that port's thread: it
    // runs that thread's events meanwhile, since the prober may be waiting
    // for a port call to be carried out there.
    void Stop();

    bool IsRunning() const { return started_ && !finished_.load(); }
    // Passes begun so far (a pass is counted as it takes its copy of the
    // port names).
    int PassCount() const { return passes_.load(); }

private:
    void Run();
    void ReadPortNamesUntilSome();
    bool WaitUntilFree();
    void ProbePass(SerialLink& link);
    void ProbePort(SerialLink& link, const QString& name);
    // Sleeps up to ms; false when the stop flag was raised.
    bool Wait(int ms);
    bool Stopping() const;

    TComPort& port_;
    DeviceList& devices_;
    SerialPortNames& portNames_;
    SerialPortEnumerator enumerate_;
    DiagnosticSink diagnostics_;
    AccessCheck accessCheck_;
    RefusedSink refused_;
    const Timing timing_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool started_ = false;  // the starting thread's own record
    std::atomic<bool> finished_{false};
    std::atomic<int> passes_{0};
    std::thread thread_;
};

}  // namespace qireq
