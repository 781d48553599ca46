// What removing a unit does beyond the column: the serial port of the
// connected serial unit (a real pseudo-terminal), the prober's hold and the
// connection flag picture.
#include "DeviceColumnFixture.h"

#include "controls/Artwork.h"
#include "controls/PictureButton.h"
#include "platform/TComPort.h"
#include "support/PseudoTerminal.h"

namespace qireq::test {
namespace {

class DeviceRemovalTest : public DeviceColumnTest {
protected:
    void Configure(DeviceColumnControls& controls) override
    {
        flagPictures = ConnFlagList(1.0);
        flag = new PictureButton(window.get());
        flag->ShowPicture(flagPictures, artwork::kFlagConnected);
        controls.ComPort1 = &comPort1;
        controls.connectflagImage = flag;
        controls.ConnFlagList = &flagPictures;
    }

    // The unit at index is connected over ComPort1 on the pseudo-terminal.
    void ConnectSerial(int index)
    {
        ASSERT_TRUE(pty.IsValid());
        comPort1.SetPort(pty.SlavePath());
        comPort1.Open();
        ASSERT_TRUE(comPort1.Connected());
        state.Connected = true;
        state.ConnectedIndex = index;
        column->ShowConnectedName("Amp");
    }

    PseudoTerminal pty;
    TComPort comPort1{TComFailures::Report};
    QVector<QPixmap> flagPictures;
    PictureButton* flag = nullptr;
};

TEST_F(DeviceRemovalTest, RemovingTheConnectedSerialUnitClosesItsPort)
{
    FindThree();
    ConnectSerial(0);
    list.Flags().ProbeHold.store(true);

    column->RemoveUnit(0);
    EXPECT_FALSE(comPort1.Connected());
    EXPECT_FALSE(list.Flags().ProbeHold.load());
    EXPECT_FALSE(state.Connected);
    EXPECT_EQ(flag->ShownPicture(), artwork::kFlagDisconnected);
}

TEST_F(DeviceRemovalTest, RemovingAnotherSerialUnitLeavesThePortOpen)
{
    ASSERT_NE(Find("COM3", kSerialUnit), nullptr);
    ASSERT_NE(Find("COM4", kSerialUnit), nullptr);
    ConnectSerial(1);
    list.Flags().ProbeHold.store(true);

    column->RemoveUnit(0);
    EXPECT_TRUE(comPort1.Connected());
    EXPECT_FALSE(list.Flags().ProbeHold.load());  // the prober may look again
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(state.ConnectedIndex, 0);
    EXPECT_EQ(flag->ShownPicture(), artwork::kFlagConnected);
}

TEST_F(DeviceRemovalTest, RemovingALanUnitKeepsTheProberWaiting)
{
    FindThree();
    list.Flags().ProbeHold.store(true);
    state.Connected = true;
    state.ConnectedIndex = 1;
    column->RemoveUnit(1);
    EXPECT_TRUE(list.Flags().ProbeHold.load());
    EXPECT_FALSE(state.Connected);
    EXPECT_EQ(flag->ShownPicture(), artwork::kFlagDisconnected);
}

}  // namespace
}  // namespace qireq::test
