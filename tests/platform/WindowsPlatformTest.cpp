// The Windows side of the platform layer, as the Windows build's CTest runs
// it under Wine: the system's serial port list, WM_DEVICECHANGE turned into
// arrival and removal events, the MAC look-up by SendARP, and the Windows
// error numbers and texts of the serial port component.
#include "platform/DeviceChangeSource.h"
#include "platform/MacLookup.h"
#include "platform/PlatformErrors.h"
#include "platform/SerialPortEnumeration.h"
#include "platform/TComPort.h"
#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QWidget>

#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>
#include <dbt.h>
#undef SetPort  // windows.h's name for SetPortW

#include <string>
#include <vector>

namespace qireq {
namespace {

using test::WaitFor;

// Values written into the system's port list for one test, removed after.
class SerialCommValues {
public:
    SerialCommValues()
    {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
            REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~SerialCommValues()
    {
        for (const std::wstring& name : written_)
            RegDeleteValueW(key_, name.c_str());
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    bool Opened() const { return key_ != nullptr; }

    // The port name as the system stores it, with or without its ending zero.
    void Port(const std::wstring& device, const std::wstring& port, bool zeroEnded = true)
    {
        const DWORD bytes = static_cast<DWORD>((port.size() + (zeroEnded ? 1 : 0)) * sizeof(wchar_t));
        Write(device, REG_SZ, reinterpret_cast<const BYTE*>(port.c_str()), bytes);
    }
    void Number(const std::wstring& name, DWORD value)
    {
        Write(name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }

private:
    void Write(const std::wstring& name, DWORD type, const BYTE* data, DWORD bytes)
    {
        ASSERT_EQ(RegSetValueExW(key_, name.c_str(), 0, type, data, bytes), ERROR_SUCCESS);
        written_.push_back(name);
    }

    HKEY key_ = nullptr;
    std::vector<std::wstring> written_;
};

TEST(WindowsPortList, TheSystemsComPortsInRegistryOrderOnlyStringsNoEndingZero)
{
    SerialCommValues values;
    ASSERT_TRUE(values.Opened());
    // Windows enumerates values in the order they were written, Wine by
    // name: both give COM48 first here, a sorting by port name would not.
    values.Port(L"\\Device\\QireqTestA", L"COM48");
    values.Number(L"\\Device\\QireqTestB", 49);
    values.Port(L"\\Device\\QireqTestC", L"COM47", /*zeroEnded=*/false);

    QStringList ours;
    for (const QString& name : EnumerateSerialPorts()) {
        if (name == QStringLiteral("COM47") || name == QStringLiteral("COM48"))
            ours << name;
    }
    EXPECT_EQ(ours, (QStringList{QStringLiteral("COM48"), QStringLiteral("COM47")}));
}

// The main window as the system sees it: a native top-level window.
class DeviceChangeWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QStringLiteral("windows"))
            GTEST_SKIP() << "needs Qt's windows platform (-platform windows), not "
                         << QGuiApplication::platformName().toStdString();
        window_.show();
        source_ = CreateDeviceChangeSource(window_.winId());
        QObject::connect(source_.get(), &DeviceChangeSource::DeviceChanged,
            [this](DeviceChange change) { seen_.push_back(change); });
    }

    // As the system broadcasts it: sent, not posted, to each top-level window.
    static void Send(const QWidget& to, WPARAM event)
    {
        DEV_BROADCAST_HDR header{};
        header.dbch_size = sizeof header;
        header.dbch_devicetype = DBT_DEVTYP_PORT;
        SendMessageW(reinterpret_cast<HWND>(to.winId()), WM_DEVICECHANGE, event,
            reinterpret_cast<LPARAM>(&header));
    }

    QWidget window_;
    std::unique_ptr<DeviceChangeSource> source_;
    std::vector<DeviceChange> seen_;
};

TEST_F(DeviceChangeWindow, ArrivalAndRemovalAtTheMainWindowAreReportedOnce)
{
    QWidget otherWindow;
    otherWindow.show();

    Send(window_, DBT_DEVICEARRIVAL);
    Send(otherWindow, DBT_DEVICEARRIVAL);  // the same broadcast, at another window
    Send(window_, DBT_DEVNODES_CHANGED);   // neither arrival nor removal
    Send(window_, DBT_DEVICEREMOVEPENDING);
    Send(window_, DBT_DEVICEREMOVECOMPLETE);
    QCoreApplication::processEvents();

    EXPECT_EQ(seen_, (std::vector<DeviceChange>{DeviceChange::Arrived, DeviceChange::Removed}));
}

// SendARP answers for an address of this machine with its interface's MAC.
// Wine's SendARP is a stub that answers ERROR_NOT_SUPPORTED for every
// address; this test then says so and checks only that the look-up fails
// cleanly, which is what the program meets under Wine.
TEST(WindowsMacLookup, SendArpGivesTheInterfacesMacOrFailsCleanly)
{
    bool anyChecked = false;
    for (const QNetworkInterface& nic : QNetworkInterface::allInterfaces()) {
        if (nic.type() == QNetworkInterface::Loopback || nic.hardwareAddress().isEmpty())
            continue;
        for (const QNetworkAddressEntry& entry : nic.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            const std::optional<QString> mac = NeighbourMac(entry.ip());
            anyChecked = true;
            if (!mac) {
                ULONG buffer[2] = {};
                ULONG length = 6;
                const DWORD result =
                    SendARP(htonl(entry.ip().toIPv4Address()), 0, buffer, &length);
                if (result == ERROR_NOT_SUPPORTED)
                    GTEST_SKIP() << "this system's SendARP is a stub (ERROR_NOT_SUPPORTED)";
                ADD_FAILURE() << "no MAC for " << entry.ip().toString().toStdString()
                              << ": SendARP said " << result;
                continue;
            }
            EXPECT_EQ(*mac, nic.hardwareAddress().remove(QLatin1Char(':')).toUpper());
        }
    }
    if (!anyChecked)
        GTEST_SKIP() << "no network interface with an IPv4 address";
}

TEST(WindowsComPortErrors, AbsentAndBadlyNamedPortsGiveWindowsNumbersAndTexts)
{
    TComPort port(TComFailures::Throw);
    port.SetPort(QStringLiteral("COM199"));
    try {
        port.Open();
        FAIL() << "COM199 opened";
    } catch (const EComPort& error) {
        EXPECT_EQ(error.Kind(), TComExceptions::OpenFailed);
        EXPECT_EQ(error.SystemError(), kErrorFileNotFound);
        EXPECT_FALSE(error.SystemText().isEmpty());
    }
    EXPECT_FALSE(port.Connected());
}

}  // namespace
}  // namespace qireq
