// The serial port list: its order on Linux, and the device-change source
// that compares re-readings of the list where no udev daemon sends events.
#include "support/ProbedPty.h"

#include "platform/DeviceChangeSource.h"
#include "platform/PortListDiffSource.h"
#include "platform/SerialPortEnumeration.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace qireq {
namespace {

using test::ProbedPty;

TEST(SerialPortOrder, DigitRunsCompareByValue)
{
    QStringList names{"/dev/ttyUSB10", "/dev/ttyS10", "/dev/ttyACM0", "/dev/ttyS2",
        "/dev/ttyUSB9", "/dev/ttyS0", "/dev/ttyAMA0", "/dev/rfcomm1"};
    SortPortNamesNaturally(names);
    EXPECT_EQ(names, QStringList({"/dev/rfcomm1", "/dev/ttyACM0", "/dev/ttyAMA0", "/dev/ttyS0",
        "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB9", "/dev/ttyUSB10"}));

    // Windows names read the same way; a prefix comes first.
    QStringList com{"COM10", "COM3", "COM", "COM1"};
    SortPortNamesNaturally(com);
    EXPECT_EQ(com, QStringList({"COM", "COM1", "COM3", "COM10"}));
}

TEST(SerialPortOrder, IsAStrictOrderEvenWithLeadingZerosAndHugeNumbers)
{
    EXPECT_TRUE(NaturalLess("ttyS1", "ttyS01"));  // same value: fewer zeros first
    EXPECT_FALSE(NaturalLess("ttyS01", "ttyS1"));
    EXPECT_FALSE(NaturalLess("ttyS1", "ttyS1"));
    // Longer than any integer type: still compared digit by digit.
    EXPECT_TRUE(NaturalLess("p99999999999999999999999", "p100000000000000000000000"));
    EXPECT_TRUE(NaturalLess("a2b", "a10a"));
    EXPECT_TRUE(NaturalLess("a2a", "a2b"));
}

// The terminals that exist now, out of the ones a test made. Present is
// the enumerator: the source calls it on its reading thread. A removed
// terminal stays out even when another process gets its /dev/pts number.
class PtySet {
public:
    void Add()
    {
        auto pty = std::make_unique<ProbedPty>();
        std::lock_guard<std::mutex> lock(mutex_);
        ptys_.push_back(std::move(pty));
    }
    void Remove(size_t i)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ptys_[i]->Remove();
        removed_.push_back(i);
    }
    QStringList Present() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        QStringList names;
        for (size_t i = 0; i < ptys_.size(); ++i) {
            const bool gone = std::find(removed_.begin(), removed_.end(), i) != removed_.end();
            if (!gone && QFileInfo::exists(ptys_[i]->Path()))
                names.append(ptys_[i]->Path());
        }
        return names;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<ProbedPty>> ptys_;
    std::vector<size_t> removed_;
};

struct Recorder {
    explicit Recorder(DeviceChangeSource& source)
    {
        QObject::connect(&source, &DeviceChangeSource::DeviceChanged, &source,
            [this](DeviceChange change) { changes.push_back(change); });
    }
    std::vector<DeviceChange> changes;
};

void RunFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

TEST(PortListDiffSource, ReportsAVanishedTerminalAsRemovedAndANewOneAsArrived)
{
    PtySet ptys;
    ptys.Add();
    ptys.Add();
    PortListDiffSource source([&] { return ptys.Present(); }, 50);
    Recorder recorder(source);

    RunFor(200);
    EXPECT_TRUE(recorder.changes.empty()) << "the first reading reports nothing";

    ptys.Remove(1);
    RunFor(200);
    EXPECT_EQ(recorder.changes, std::vector<DeviceChange>{DeviceChange::Removed});

    recorder.changes.clear();
    ptys.Add();
    RunFor(200);
    EXPECT_EQ(recorder.changes, std::vector<DeviceChange>{DeviceChange::Arrived});
}

TEST(PortListDiffSource, OneTickWithBothReportsRemovedFirst)
{
    QStringList names{"COM1", "COM3"};
    PortListDiffSource source([&] { return names; }, 0);
    Recorder recorder(source);

    names = QStringList{"COM3", "COM1"};  // same ports, other order
    source.Check();
    EXPECT_TRUE(recorder.changes.empty());

    names = QStringList{"COM3", "COM4"};
    source.Check();
    EXPECT_EQ(recorder.changes,
        (std::vector<DeviceChange>{DeviceChange::Removed, DeviceChange::Arrived}));
}

TEST(DeviceChangeSource, WithoutAUdevDaemonThePortListIsWatched)
{
    if (QFileInfo::exists(QStringLiteral("/run/udev/control")))
        GTEST_SKIP() << "a udev daemon runs here";
    std::unique_ptr<DeviceChangeSource> source =
        CreateDeviceChangeSource(0, [] { return QStringList(); });
    EXPECT_NE(dynamic_cast<PortListDiffSource*>(source.get()), nullptr);
}

}  // namespace
}  // namespace qireq

namespace qireq {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        qputenv(name_, value);
    }
    ~ScopedEnvironment()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(ExtraSerialPorts, NamedPseudoTerminalsFollowTheSystemPorts)
{
    test::ProbedPty first;
    test::ProbedPty second;
    ASSERT_TRUE(first.IsValid() && second.IsValid());
    const QByteArray listed = (second.Path() + ":/dev/no-such-port::" + first.Path() + ":"
                               + second.Path())
                                  .toLocal8Bit();
    const ScopedEnvironment environment(kExtraSerialPortsVariable, listed);

    // Given order, missing paths left out, each path once, after the rest.
    EXPECT_EQ(ExtraSerialPorts(), QStringList({second.Path(), first.Path()}));
    const QStringList all = EnumerateSerialPorts();
    ASSERT_GE(all.size(), 2);
    EXPECT_EQ(all.mid(all.size() - 2), QStringList({second.Path(), first.Path()}));
}

TEST(ExtraSerialPorts, NothingNamedAddsNothing)
{
    const ScopedEnvironment environment(kExtraSerialPortsVariable, QByteArray());
    EXPECT_TRUE(ExtraSerialPorts().isEmpty());
    for (const QString& name : EnumerateSerialPorts())
        EXPECT_FALSE(name.startsWith(QLatin1String("/dev/pts/"))) << qPrintable(name);
}

}  // namespace
}  // namespace qireq
