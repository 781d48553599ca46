#include "commands/DeviceCommands.h"

#include "controls/Devicepanel.h"
#include "controls/IpAddressBox.h"
#include "controls/MessageBoxes.h"
#include "devices/DeviceTileColumn.h"
#include "dialogs/MacForm.h"
#include "dialogs/MacMaskEdit.h"
#include "dialogs/NewDeviceForm.h"
#include "dialogs/RenameForm.h"
#include "protocol/Frames.h"
#include "protocol/RequestSender.h"
#include "state/DeviceList.h"
#include "state/MacText.h"
#include "state/MainState.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QThread>
#include <QTimer>

namespace qireq {

namespace {

// The fixed first half of every MAC a unit can be given here.
const QString kMacPrefix = QStringLiteral("00A1B0");
constexpr int kTypedMacDigits = 6;
constexpr int kRemovalPauseMs = 2;
// The presence watch runs on this thread too, so its scan is never under
// way here; the wait is bounded all the same.
constexpr int kScanWaitLimitMs = 1000;

}  // namespace

DeviceCommands::DeviceCommands(const DeviceCommandParts& parts, QObject* parent)
    : QObject(parent),
      state_(parts.State),
      requests_(parts.Requests),
      devices_(parts.Devices),
      column_(parts.Column),
      window_(parts.Window),
      searchTimer_(parts.SearchTimer)
{
}

TRenameFm* DeviceCommands::RenameDialog() const
{
    return renameDialog_;
}

TMacForm* DeviceCommands::MacDialog() const
{
    return macDialog_;
}

TIPCfgForm* DeviceCommands::NewDeviceDialog() const
{
    return newDeviceDialog_;
}

bool DeviceCommands::MenuUnitListed() const
{
    return devices_.EntryAt(state_.MenuIndex).has_value();
}

// --- Rename -------------------------------------------------------------------

void DeviceCommands::RenameItemClick()
{
    const std::optional<DeviceEntry> entry = devices_.EntryAt(state_.MenuIndex);
    if (!entry)
        return;
    TRenameFm dialog(&window_);
    dialog.NameEdit->setText(entry->Name);
    connect(&dialog, &TRenameFm::OkClicked, this, &DeviceCommands::RenameOKBtnClick);
    renameDialog_ = &dialog;
    dialog.exec();
}

// The list and the tile take the name; the unit itself only when it is the
// connected one. A name longer than the unit's field is cut in the request.
void DeviceCommands::RenameOKBtnClick()
{
    TRenameFm* dialog = renameDialog_;
    if (!dialog)
        return;
    const QString name = dialog->NameEdit->text();
    const int index = state_.MenuIndex;
    if (devices_.SetName(index, name)) {
        if (TDevicePanel* tile = column_.TileAt(index))
            tile->NameLabel->SetCaption(name);
        requests_.SendRename(index, NameFieldBytes(name));
    }
    dialog->close();
}

// --- MAC address -----------------------------------------------------------------

void DeviceCommands::MACItemClick()
{
    const std::optional<DeviceEntry> entry = devices_.EntryAt(state_.MenuIndex);
    if (!entry)
        return;
    TMacForm dialog(&window_);
    dialog.MacEdit->SetTypedText(entry->Mac.mid(kMacPrefix.size(), kTypedMacDigits));
    connect(&dialog, &TMacForm::OkClicked, this, &DeviceCommands::MACOkClick);
    macDialog_ = &dialog;
    dialog.exec();
}

// The connected unit is given the new MAC and must restart, so the program
// ends; any other unit keeps its old one, and only the list notes the new.
void DeviceCommands::MACOkClick()
{
    TMacForm* dialog = macDialog_;
    if (!dialog)
        return;
    const QString typed = dialog->MacEdit->TypedText();
    dialog->close();
    // Only six hexadecimal digits make a MAC the unit can be sent; anything
    // else is refused before the list or the unit is touched.
    const QString mac = kMacPrefix + typed;
    const std::optional<MacBytes> bytes = TextToMac(mac);
    if (typed.size() != kTypedMacDigits || !bytes) {
        MessageBoxes::Message(&window_, QStringLiteral("Input with correct format"));
        return;
    }
    const int index = state_.MenuIndex;
    if (!devices_.SetMac(index, MacToText(*bytes)))
        return;
    if (index != state_.ConnectedIndex) {
        MessageBoxes::Message(&window_, QStringLiteral("This device is not online"));
        return;
    }
    requests_.SendSetMac(index, *bytes);
    MessageBoxes::Message(&window_, QStringLiteral("Restart the device, then wait a few seconds"));
    window_.close();
}

// --- Remove and refresh --------------------------------------------------------------

// No question asked: a unit still present comes back by itself (a removed
// serial unit lets the prober look again).
void DeviceCommands::RemoveDeviceItemClick()
{
    if (!MenuUnitListed())
        return;
    const RaisedFlag changing(devices_.Flags().ListChanging);
    column_.RemoveUnit(state_.MenuIndex);
}

// Every unit goes, last first; the list refills from the units' answers.
// Nothing is sent to any unit.
void DeviceCommands::RefreshBtnClick()
{
    ProcessFlags& flags = devices_.Flags();
    {
        const RaisedFlag changing(flags.ListChanging);
        QElapsedTimer waited;
        waited.start();
        while (flags.ScanBusy.load() && waited.elapsed() < kScanWaitLimitMs)
            QThread::msleep(1);
        for (int index = devices_.Count() - 1; index >= 0; --index) {
            column_.RemoveUnit(index);
            QThread::msleep(kRemovalPauseMs);
        }
    }
    searchTimer_.start();
}

// --- New device by address --------------------------------------------------------------

void DeviceCommands::NewDeviceItemClick()
{
    TIPCfgForm dialog;  // a window of its own, as the command has it
    connect(&dialog, &TIPCfgForm::OkClicked, this, &DeviceCommands::IPOkClick);
    newDeviceDialog_ = &dialog;
    dialog.exec();
}

// The dialog stays open, so several addresses can be added in a row. The
// unit's tile is built at once, after any found unit still waiting for its.
void DeviceCommands::IPOkClick()
{
    TIPCfgForm* dialog = newDeviceDialog_;
    if (!dialog)
        return;
    const QString address = dialog->AddressBox->Address();
    if (!devices_.AddUnitByHand(address)) {
        MessageBoxes::Message(dialog, QStringLiteral("This ip address has already existed"));
        return;
    }
    column_.BuildMissingTiles();
}

// --- More Info -----------------------------------------------------------------------------

// The reply comes back through the receive path as an InfoMessage.
void DeviceCommands::BurningItemClick()
{
    requests_.SendReadInfo();
}

}  // namespace qireq
