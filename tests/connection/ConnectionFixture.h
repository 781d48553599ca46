#pragma once
// The connection life cycle on its own: recording links instead of the
// window's components, a recording view instead of its widgets, and timers
// that never run by themselves: each test ticks them by hand.
#include "connection/ConnectionLifecycle.h"
#include "connection/ConnectionLinks.h"
#include "connection/ConnectionView.h"
#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"
#include "protocol/RequestSender.h"
#include "state/DeviceList.h"
#include "state/MainState.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QTimer>

namespace qireq::test {

class RecordingView : public ConnectionView {
public:
    QStringList calls;  // what was shown, in order (the hint line aside)
    QStringList hint;   // title, subject, value
    bool dialog = false;

    void OpenConnectingDialog() override { dialog = true; calls << "OpenDialog"; }
    void DestroyConnectingDialog() override { dialog = false; calls << "DestroyDialog"; }
    void DismissConnectingDialog() override { calls << "DismissDialog"; }
    bool HasConnectingDialog() const override { return dialog; }
    void ShowConnectionFlag(bool on) override { calls << (on ? "Flag on" : "Flag off"); }
    void ShowMessage(const QString& text) override { calls << "Message " + text; }
    void ShowMissingMark(int index) override { calls << QStringLiteral("Mark %1").arg(index); }
    void HideSelectionFrame() override { calls << "HideFrame"; }
    void HideStatusPanel() override { calls << "HideStatus"; }
    void EnableRefresh(bool on) override { calls << (on ? "Refresh on" : "Refresh off"); }
    void ShowHint(const QString& title, const QString& subject, const QString& value) override
    {
        hint = QStringList{title, subject, value};
    }
};

class RecordingLinks : public ConnectionLinks {
public:
    std::vector<RecordingLink*> made;  // owned by the request sender while current
    int componentCloses = 0;
    int serialPortCloses = 0;

    std::unique_ptr<DeviceLink> NewLink(RxOrigin::Kind kind) override
    {
        auto link = std::make_unique<RecordingLink>();
        made.push_back(link.get());
        kinds_.push_back(kind);
        return link;
    }
    void CloseComponents() override { ++componentCloses; }
    void CloseSerialPort() override { ++serialPortCloses; }
    // The newest link of that kind: its address without the TCP port.
    QString Address(RxOrigin::Kind kind) const override
    {
        for (std::size_t i = made.size(); i-- > 0;)
            if (kinds_[i] == kind)
                return made[i]->GetAddress().section(QLatin1Char(':'), 0, 0);
        return QString();
    }

private:
    std::vector<RxOrigin::Kind> kinds_;
};

class ConnectionTest : public ::testing::Test {
protected:
    static constexpr int kSerial = 0;  // "COM3"
    static constexpr int kLan = 1;     // "10.0.0.5"
    static constexpr RxOrigin::Kind kSerialLink = RxOrigin::Kind::SerialPort;
    static constexpr RxOrigin::Kind kLanLink = RxOrigin::Kind::Socket;

    ConnectionTest()
    {
        List(QStringLiteral("COM3"), kSerialUnit);
        List(QStringLiteral("10.0.0.5"), kProbeUnit);
        for (QTimer* timer : {&connectTimer, &recallTimer, &requestTimer, &checkTimer, &reconnectTimer})
            timer->setInterval(60'000);  // started, but never due within a test
    }

    // Listed as discovery lists a unit, its tile built at once.
    void List(const QString& address, int kind)
    {
        EXPECT_TRUE(devices.AddFoundUnit(address, kUnknownMac, kind));
        devices.Flags().AddPending.store(false);
    }
    void Click(int index)
    {
        state.ClickedIndex = index;
        connection.DevicePanelClick();
    }
    // The unit at index answers its greeting.
    void ConnectTo(int index)
    {
        Click(index);
        ASSERT_TRUE(connection.IdentityReceived(index == kSerial ? kSerialLink : kLanLink));
        ASSERT_EQ(state.ConnectedIndex, index);
        view.calls.clear();
    }
    RecordingLink& Link() { return *static_cast<RecordingLink*>(requests.Link()); }
    int Sent(Command command) { return static_cast<int>(Link().WithCommand(static_cast<int>(command)).size()); }
    void Tick(QTimer& timer, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            if (&timer == &connectTimer)
                connection.ConnectTimerTimer();
            else if (&timer == &requestTimer)
                connection.RequestTimerTimer();
            else if (&timer == &checkTimer)
                connection.CheckTimerTimer();
            else if (&timer == &reconnectTimer)
                connection.ReconnectTimerTimer();
            else
                connection.RecallTimerTimer();
        }
    }

    MainState state;
    RequestSender requests{state};
    DeviceList devices;
    FrameAssembler assembler;
    RecordingLinks links;
    RecordingView view;
    QTimer connectTimer, recallTimer, requestTimer, checkTimer, reconnectTimer;
    ConnectionLifecycle connection{
        ConnectionParts{state, requests, devices, assembler, links, view},
        ConnectionTimers{&connectTimer, &recallTimer, &requestTimer, &checkTimer, &reconnectTimer}};
};

}  // namespace qireq::test
