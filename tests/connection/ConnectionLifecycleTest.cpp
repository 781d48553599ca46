// The connection's rules, one phase change at a time, with the ticks
// driven by hand: attempts and their eighth tick, Cancel, late replies,
// keep-alive, watchdog and reconnection, clicks, removals and unplugging.
#include "ConnectionFixture.h"

#include "platform/PlatformErrors.h"

#include <QCoreApplication>

namespace qireq::test {
namespace {

TEST_F(ConnectionTest, SerialAttemptGreetsAtOnceRepeatsEachTickAndFailsOnTheEighth)
{
    Click(kSerial);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connecting);
    EXPECT_EQ(Link().GetAddress(), QStringLiteral("COM3"));
    EXPECT_EQ(Sent(Command::Identify), 1);
    EXPECT_EQ(Sent(Command::ReadMac), 0);
    EXPECT_TRUE(view.dialog);
    EXPECT_TRUE(connectTimer.isActive());

    Tick(connectTimer, 7);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connecting);
    EXPECT_FALSE(view.calls.join('|').contains("Message"));
    Tick(connectTimer);
    EXPECT_EQ(Sent(Command::Identify), 9) << "at the start and on each of the eight ticks";
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Idle);
    EXPECT_FALSE(connectTimer.isActive());
    EXPECT_FALSE(Link().IsOpen());
    EXPECT_FALSE(view.dialog);
    EXPECT_EQ(state.ConnectTicks, 0);
    EXPECT_TRUE(view.calls.join('|').endsWith("Message Conenction failed|Refresh on|Mark 0"));
}

TEST_F(ConnectionTest, LanAttemptGreetsOnTheConnectEventAndTheIdentityConnects)
{
    Click(kLan);
    EXPECT_TRUE(view.calls.contains("Refresh off"));
    EXPECT_EQ(Link().GetAddress(), QStringLiteral("10.0.0.5:5000"));
    EXPECT_TRUE(Link().Frames.empty()) << "nothing before the TCP connection stands";
    connection.ClientSocket1Connect();
    ASSERT_EQ(Link().Frames.size(), 2u);
    EXPECT_EQ(Link().Frames[0], ReadMacBlock());
    EXPECT_EQ(Link().Frames[1], IdentifyRequest());

    EXPECT_TRUE(connection.IdentityReceived(kLanLink));
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connected);
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(state.ConnectedIndex, kLan);
    EXPECT_FALSE(connectTimer.isActive());
    for (QTimer* started : {&recallTimer, &requestTimer, &checkTimer})
        EXPECT_TRUE(started->isActive());
    EXPECT_FALSE(view.dialog);
    EXPECT_TRUE(view.calls.join('|').endsWith("Refresh on|DestroyDialog|Flag on"));
    // A second identity reply changes nothing.
    EXPECT_FALSE(connection.IdentityReceived(kLanLink));
}

// Cancel ends an attempt and only an attempt; a reply that comes after it
// connects nothing.
TEST_F(ConnectionTest, CancelEndsOnlyAnAttemptAndALateIdentityConnectsNothing)
{
    connection.CancelProgressBar();
    EXPECT_TRUE(view.calls.isEmpty()) << "idle: no dialog, nothing to do";

    Click(kLan);
    connection.ClientSocket1Connect();
    Tick(connectTimer, 3);
    connection.CancelProgressBar();
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Idle);
    EXPECT_FALSE(connectTimer.isActive());
    EXPECT_FALSE(Link().IsOpen());
    EXPECT_TRUE(view.dialog) << "dismissed, kept until the next attempt";
    EXPECT_TRUE(view.calls.join('|').endsWith("DismissDialog|Refresh on"));
    EXPECT_EQ(state.ConnectTicks, 0);
    EXPECT_FALSE(devices.Flags().CancelPending.load());

    EXPECT_FALSE(connection.IdentityReceived(kLanLink));
    EXPECT_FALSE(state.Connected);
    EXPECT_FALSE(checkTimer.isActive());

    ConnectTo(kSerial);
    connection.CancelProgressBar();
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connected);
    EXPECT_TRUE(view.calls.isEmpty());
}

TEST_F(ConnectionTest, KeepAlivePingsAfterTenQuietTicksAndTheWatchdogStartsTheReconnectLoop)
{
    ConnectTo(kSerial);
    Tick(recallTimer);
    EXPECT_EQ(Sent(Command::ReadEqBlock), 1);
    EXPECT_FALSE(recallTimer.isActive());

    state.QuietTicks = 0;
    Tick(requestTimer, 9);
    EXPECT_EQ(Sent(Command::Ping), 0);
    Tick(requestTimer);
    EXPECT_EQ(Sent(Command::Ping), 1);
    EXPECT_EQ(state.QuietTicks, 0);

    Tick(checkTimer);  // the ping counts as traffic
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connected);
    Tick(checkTimer);  // a whole period without any
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Reconnecting);
    EXPECT_FALSE(state.Connected);
    EXPECT_FALSE(checkTimer.isActive());
    EXPECT_TRUE(reconnectTimer.isActive());
    EXPECT_FALSE(Link().IsOpen());
    EXPECT_EQ(view.calls, QStringList({"Mark 0", "HideFrame"})) << "no message for a lost unit";

    const int identifies = Sent(Command::Identify);
    Tick(reconnectTimer);
    EXPECT_TRUE(Link().IsOpen());
    EXPECT_EQ(Sent(Command::Identify), identifies + 1);
    EXPECT_TRUE(connection.IdentityReceived(kSerialLink));
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connected);
    EXPECT_FALSE(reconnectTimer.isActive());
    EXPECT_TRUE(checkTimer.isActive());
}

TEST_F(ConnectionTest, ClickOnTheConnectedTileDisconnectsAndOnAnotherMovesThere)
{
    ConnectTo(kSerial);
    Click(kSerial);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Idle);
    EXPECT_FALSE(checkTimer.isActive());
    EXPECT_FALSE(connectTimer.isActive());
    EXPECT_FALSE(Link().IsOpen());
    EXPECT_EQ(view.calls, QStringList({"HideFrame", "HideStatus", "Flag off"}));

    ConnectTo(kSerial);
    const int closesBefore = links.componentCloses;
    Click(kLan);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connecting);
    EXPECT_EQ(links.componentCloses, closesBefore + 1) << "the serial unit's port is let go";
    EXPECT_EQ(Link().GetAddress(), QStringLiteral("10.0.0.5:5000"));
    EXPECT_TRUE(view.dialog);
    EXPECT_TRUE(connection.IdentityReceived(kLanLink));
    EXPECT_EQ(state.ConnectedIndex, kLan);
}

TEST_F(ConnectionTest, ASecondClickDuringAnAttemptStartsAfreshOnTheNewUnit)
{
    Click(kSerial);
    Tick(connectTimer, 5);
    const int closesBefore = links.componentCloses;
    Click(kLan);
    EXPECT_EQ(state.ConnectTicks, 0);
    EXPECT_GT(links.componentCloses, closesBefore) << "the serial attempt's port is let go";
    EXPECT_EQ(Link().GetAddress(), QStringLiteral("10.0.0.5:5000"));
    Tick(connectTimer, 7);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connecting);
    Tick(connectTimer);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Idle);
    EXPECT_TRUE(view.calls.endsWith("Mark 1"));
}

TEST_F(ConnectionTest, RemovingTheConnectedUnitEndsTheConnectionOnEitherLink)
{
    ConnectTo(kSerial);
    devices.Remove(kSerial);
    connection.UnitRemoved(kSerial, true);
    EXPECT_EQ(links.serialPortCloses, 1);
    EXPECT_EQ(state.ConnectedIndex, -1);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Idle);
    EXPECT_FALSE(checkTimer.isActive());
    EXPECT_EQ(view.calls, QStringList({"HideFrame", "Flag off"}));

    // The LAN unit, now at index 0: its TCP link stays open.
    List(QStringLiteral("10.0.0.6"), kProbeUnit);
    state.ClickedIndex = 1;
    connection.DevicePanelClick();
    ASSERT_TRUE(connection.IdentityReceived(kLanLink));
    ASSERT_EQ(state.ConnectedIndex, 1);
    devices.Remove(0);
    connection.UnitRemoved(0, false);
    EXPECT_EQ(state.ConnectedIndex, 0) << "a unit above moves it up";
    devices.Remove(0);
    connection.UnitRemoved(0, false);
    EXPECT_EQ(state.ConnectedIndex, -1);
    EXPECT_FALSE(state.Connected);
    EXPECT_EQ(links.serialPortCloses, 1);
    EXPECT_TRUE(Link().IsOpen());
}

// An index kept from a unit disconnected earlier must not close the port
// another unit's attempt runs on; a removed unit is not sought again.
TEST_F(ConnectionTest, RemovalLeavesOtherAttemptsAloneAndStopsTheLostUnitsLoop)
{
    ConnectTo(kSerial);
    Click(kSerial);  // disconnected; ConnectedIndex still names it
    Click(kLan);
    devices.Remove(kSerial);
    connection.UnitRemoved(kSerial, true);
    EXPECT_EQ(links.serialPortCloses, 0);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connecting);
    EXPECT_TRUE(connectTimer.isActive());

    ASSERT_TRUE(connection.IdentityReceived(kLanLink));
    state.Heard = false;
    Tick(checkTimer);
    ASSERT_EQ(connection.Phase(), ConnectionPhase::Reconnecting);
    devices.Remove(0);
    connection.UnitRemoved(0, false);
    EXPECT_FALSE(reconnectTimer.isActive());
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Idle);
    EXPECT_FALSE(connection.IdentityReceived(kLanLink));
}

TEST_F(ConnectionTest, UnpluggingDropsTheConnectionButNotALostUnitsLoop)
{
    ConnectTo(kSerial);
    connection.UnitUnplugged(kLan);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Connected);
    connection.UnitUnplugged(kSerial);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Idle);
    EXPECT_FALSE(checkTimer.isActive());
    EXPECT_FALSE(reconnectTimer.isActive());
    EXPECT_TRUE(Link().IsOpen()) << "the link itself is left as it is";

    ConnectTo(kSerial);
    state.Heard = false;
    Tick(checkTimer);
    connection.UnitUnplugged(kSerial);
    EXPECT_EQ(connection.Phase(), ConnectionPhase::Reconnecting);
    EXPECT_TRUE(reconnectTimer.isActive()) << "plugging it back in is enough";
}

TEST_F(ConnectionTest, ABusyPortIsReportedOnceAndTheHintSaysOnOrOff)
{
    connection.ComPort1Exception(kErrorAccessDenied);
    connection.ComPort1Exception(kErrorAccessDenied);
    connection.ComPort1Exception(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.calls, QStringList({"Message Puerto COM no disponiable"}));

    connection.connectflagImageMouseMove();
    EXPECT_EQ(view.hint, QStringList({"", "Device:", "Off"}));
    ConnectTo(kSerial);
    connection.connectflagImageMouseMove();
    EXPECT_EQ(view.hint, QStringList({"", "Device:", "On"}));
}

}  // namespace
}  // namespace qireq::test
