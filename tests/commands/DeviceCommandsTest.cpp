// The tile menu's commands in the real window, with real dialogs, keys and
// clicks: renaming, the MAC change, adding a unit by its address, and what
// reaches the connected unit (recorded instead of sent). Every box the
// commands show is recorded, never shown.
#include "support/EndToEnd.h"
#include "support/RecordingLink.h"

#include "controls/Artwork.h"
#include "controls/Devicepanel.h"
#include "controls/IpAddressBox.h"
#include "controls/PictureButton.h"
#include "dialogs/MacForm.h"
#include "dialogs/MacMaskEdit.h"
#include "dialogs/NewDeviceForm.h"
#include "dialogs/RenameForm.h"
#include "platform/OwnAddress.h"
#include "protocol/Frames.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace qireq;
using namespace qireq::e2e;

namespace {

using test::RecordingLink;

class DeviceCommandsTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        OpenWindow(NoDiscovery());
        ListUnit(QStringLiteral("192.168.1.20"), kProbeUnit);
        ListUnit(QStringLiteral("192.168.1.21"), kProbeUnit);
    }
    DeviceCommands& Commands() { return *Parts().Commands; }

    // Unit index 0 answered Identify on a link that records its frames.
    RecordingLink& ConnectFirst()
    {
        auto link = std::make_unique<RecordingLink>();
        RecordingLink& recorder = *link;
        form->Requests().ReplaceLink(std::move(link));
        State().Connected = true;
        State().ConnectedIndex = 0;
        return recorder;
    }

    // Opens the menu item's dialog on the unit at index and runs `act` in
    // it once it is up; a dialog still open a few seconds later is closed.
    void WithDialog(int index, QAction* item, const std::function<void(QDialog&)>& act)
    {
        State().MenuIndex = index;
        QTimer::singleShot(0, form.get(), [this, act] {
            QDialog* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
        QTimer::singleShot(5000, form.get(), [] {
            if (QWidget* stuck = QApplication::activeModalWidget())
                stuck->close();
        });
        item->trigger();
    }
};

TEST_F(DeviceCommandsTest, RenameReachesOnlyTheConnectedUnitAndItsFieldStaysWhole)
{
    RecordingLink& link = ConnectFirst();
    WithDialog(0, Parts().DeviceColumn->RenameItem, [](QDialog& dialog) {
        auto& box = static_cast<TRenameFm&>(dialog);
        EXPECT_EQ(box.NameEdit->text(), QStringLiteral("Device0"));
        box.NameEdit->clear();
        QTest::keyClicks(box.NameEdit, QStringLiteral("Hall"));
        QTest::keyClick(box.NameEdit, Qt::Key_Return);
    });
    EXPECT_EQ(Commands().RenameDialog(), nullptr) << "OK closed the dialog";
    EXPECT_EQ(Tile(0)->NameLabel->Caption(), QStringLiteral("Hall"));
    ASSERT_EQ(link.WithCommand(0x1E).size(), 1u);
    const QByteArray rename = link.WithCommand(0x1E).front();
    EXPECT_EQ(rename.size(), 26);
    EXPECT_EQ(rename.mid(7, 4), QByteArray("Hall"));
    EXPECT_EQ(rename.mid(11, 11), QByteArray(11, ' '));
    EXPECT_EQ(rename.at(22), '\0');

    // A unit that is not connected: its tile only.
    WithDialog(1, Parts().DeviceColumn->RenameItem, [](QDialog& dialog) {
        auto& box = static_cast<TRenameFm&>(dialog);
        box.NameEdit->setText(QStringLiteral("Stage"));
        QTest::mouseClick(box.OKBtn, Qt::LeftButton);
    });
    EXPECT_EQ(Tile(1)->NameLabel->Caption(), QStringLiteral("Stage"));
    EXPECT_EQ(link.WithCommand(0x1E).size(), 1u);

    // A pasted long name, and characters beyond one byte: the request keeps
    // its 26 bytes, one byte per character.
    WithDialog(0, Parts().DeviceColumn->RenameItem, [](QDialog& dialog) {
        auto& box = static_cast<TRenameFm&>(dialog);
        box.NameEdit->setText(QStringLiteral("Säle Bühne €🎵 Nord West"));
        QTest::keyClick(box.NameEdit, Qt::Key_Enter);
    });
    ASSERT_EQ(link.WithCommand(0x1E).size(), 2u);
    const QByteArray cut = link.WithCommand(0x1E).back();
    EXPECT_EQ(cut.size(), 26);
    EXPECT_EQ(cut.mid(7, 15), QByteArray("S\xE4le B\xFChne ?? N"));
    EXPECT_EQ(Parts().Devices.EntryAt(0)->Name, QStringLiteral("Säle Bühne €🎵 Nord West"));
}

TEST_F(DeviceCommandsTest, MacChangeOfTheConnectedUnitEndsTheProgramOthersOnlyTheList)
{
    RecordingLink& link = ConnectFirst();
    QSignalSpy closed(form.get(), &TForm1::Closed);

    // Too short: nothing changes.
    WithDialog(0, Parts().DeviceColumn->MACItem, [](QDialog& dialog) {
        auto& mac = static_cast<TMacForm&>(dialog);
        mac.MacEdit->setFocus();
        mac.MacEdit->SetTypedText(QString());
        QTest::keyClicks(mac.MacEdit, QStringLiteral("1a2"));
        QTest::mouseClick(mac.MacOkBtn, Qt::LeftButton);
    });
    EXPECT_EQ(Boxes(QStringLiteral("Input with correct format")), 1);
    EXPECT_EQ(Parts().Devices.EntryAt(0)->Mac, kUnknownMac);

    // Letters beyond F pasted for the connected unit: refused like a short
    // entry, never the restart message.
    QApplication::clipboard()->setText(QStringLiteral("ghijkl"));
    WithDialog(0, Parts().DeviceColumn->MACItem, [](QDialog& dialog) {
        auto& mac = static_cast<TMacForm&>(dialog);
        mac.MacEdit->setFocus();
        mac.MacEdit->SetTypedText(QString());
        QTest::keyClick(mac.MacEdit, Qt::Key_V, Qt::ControlModifier);
        QTest::mouseClick(mac.MacOkBtn, Qt::LeftButton);
    });
    EXPECT_EQ(Boxes(QStringLiteral("Input with correct format")), 2);
    EXPECT_EQ(Boxes(QStringLiteral("Restart the device, then wait a few seconds")), 0);
    EXPECT_EQ(Parts().Devices.EntryAt(0)->Mac, kUnknownMac);
    EXPECT_EQ(closed.count(), 0);

    // Another unit: the list notes the MAC, the tile keeps the old one.
    WithDialog(1, Parts().DeviceColumn->MACItem, [](QDialog& dialog) {
        auto& mac = static_cast<TMacForm&>(dialog);
        EXPECT_EQ(mac.MacEdit->TypedText(), QStringLiteral("FFFFFF"));
        mac.MacEdit->SetTypedText(QStringLiteral("445566"));
        QTest::mouseClick(mac.MacOkBtn, Qt::LeftButton);
    });
    EXPECT_EQ(Boxes(QStringLiteral("This device is not online")), 1);
    EXPECT_EQ(Parts().Devices.EntryAt(1)->Mac, QStringLiteral("00A1B0445566"));
    EXPECT_EQ(Tile(1)->MacLabel->Caption(), QStringLiteral("FF:FF:FF:FF:FF:FF"));
    EXPECT_TRUE(link.WithCommand(0x20).empty());
    EXPECT_EQ(closed.count(), 0);

    // The connected unit: typed keys, the request, the message, the end.
    WithDialog(0, Parts().DeviceColumn->MACItem, [](QDialog& dialog) {
        auto& mac = static_cast<TMacForm&>(dialog);
        mac.MacEdit->setFocus();
        mac.MacEdit->SetTypedText(QString());
        QTest::keyClicks(mac.MacEdit, QStringLiteral("1ag2Gb3c"));
        QTest::mouseClick(mac.MacOkBtn, Qt::LeftButton);
    });
    EXPECT_EQ(Parts().Devices.EntryAt(0)->Mac, QStringLiteral("00A1B01A2B3C"));
    ASSERT_EQ(link.WithCommand(0x20).size(), 1u);
    EXPECT_EQ(link.WithCommand(0x20).front(), QByteArray::fromHex("012003401020" "00" "00A1B01A2B3C" "010560"));
    EXPECT_EQ(Boxes(QStringLiteral("Restart the device, then wait a few seconds")), 1);
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(DeviceCommandsTest, NewDeviceBoxAddsTilesAtOnceAndRefusesAnAddressListedAlready)
{
    State().MenuIndex = 0;
    QTimer::singleShot(0, form.get(), [this] {
        TIPCfgForm* dialog = Commands().NewDeviceDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->AddressBox->Address(), OwnIpv4Address());
        dialog->AddressBox->SetAddress(QStringLiteral("192.168.1.21"));
        QTest::mouseClick(dialog->IPOKBtn, Qt::LeftButton);
        EXPECT_EQ(Boxes(QStringLiteral("This ip address has already existed")), 1);
        EXPECT_TRUE(dialog->isVisible()) << "OK leaves the box open";
        dialog->AddressBox->Clear();
        QTest::mouseClick(dialog->IPOKBtn, Qt::LeftButton);
        dialog->AddressBox->SetAddress(QStringLiteral("10.0.0.7"));
        QTest::mouseClick(dialog->IPOKBtn, Qt::LeftButton);
        dialog->close();
    });
    Parts().DeviceColumn->NewDeviceItem1->trigger();  // the unattached menu's copy
    ASSERT_EQ(Parts().DeviceColumn->Tiles().size(), 4);
    EXPECT_EQ(Tile(2)->AddressLabel->Caption(), QStringLiteral("0.0.0.0"));
    EXPECT_EQ(Tile(3)->AddressLabel->Caption(), QStringLiteral("10.0.0.7"));
    EXPECT_EQ(Tile(3)->AddressCaption->Caption(), QStringLiteral("IP:"));
    EXPECT_EQ(Tile(3)->NameLabel->Caption(), QStringLiteral("Device3"));
    EXPECT_FALSE(Parts().DeviceColumn->NewDeviceItem->isVisible());
    EXPECT_FALSE(Parts().DeviceColumn->MACItem->isVisible());
}

TEST_F(DeviceCommandsTest, TheConnectPictureShowsPressAndHintAndDoesNothingElse)
{
    PictureButton* picture = form->ConnImg;
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(picture->ShownPicture(), artwork::kConnectPressed);
    QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(picture->ShownPicture(), artwork::kConnectUp);
    QTest::mouseMove(picture, QPoint(6, 6));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Device:"));
    EXPECT_EQ(form->Label3->text(), QStringLiteral("Off"));
    EXPECT_FALSE(State().Connected);
    EXPECT_EQ(Parts().Devices.Count(), 2);
}

}  // namespace
