#include "connection/ConnectionWidgets.h"

#include "controls/Artwork.h"
#include "controls/PictureButton.h"
#include "controls/TShape.h"
#include "devices/DeviceTileColumn.h"
#include "devices/StatusDisplay.h"
#include "dialogs/Progressform.h"

#include <QLabel>
#include <QPushButton>

#include <utility>

namespace qireq {

namespace {
const QColor kConnectedLamp{0, 255, 0};
}  // namespace

ConnectionWidgets::ConnectionWidgets(const ConnectionControls& controls, DeviceTileColumn& column,
                                     StatusDisplay& status, QPointer<QDialog>& progressForm,
                                     ShowMessageBox showMessage, QObject* parent)
    : QObject(parent),
      controls_(controls),
      column_(column),
      status_(status),
      progressForm_(progressForm),
      showMessage_(std::move(showMessage))
{
    Q_ASSERT(controls_.RefreshBtn);
}

ConnectionWidgets::~ConnectionWidgets()
{
    DestroyConnectingDialog();
}

TProgressBarForm* ConnectionWidgets::ConnectingDialog() const
{
    return qobject_cast<TProgressBarForm*>(progressForm_.data());
}

void ConnectionWidgets::OpenConnectingDialog()
{
    auto* dialog = new TProgressBarForm(controls_.DialogOwner);
    connect(dialog, &TProgressBarForm::CancelClicked, this, &ConnectionWidgets::CancelClicked);
    progressForm_ = dialog;
    dialog->show();
}

void ConnectionWidgets::DestroyConnectingDialog()
{
    if (TProgressBarForm* dialog = ConnectingDialog()) {
        dialog->StopAnimation();
        dialog->hide();
        // Later, in case the dialog's own Cancel click is what led here.
        dialog->deleteLater();
    }
    progressForm_ = nullptr;
}

void ConnectionWidgets::DismissConnectingDialog()
{
    if (TProgressBarForm* dialog = ConnectingDialog())
        dialog->Dismiss();
}

bool ConnectionWidgets::HasConnectingDialog() const
{
    return ConnectingDialog() != nullptr;
}

void ConnectionWidgets::ShowConnectionFlag(bool connected)
{
    if (controls_.connectflagImage && controls_.ConnFlagList)
        controls_.connectflagImage->ShowPicture(
            *controls_.ConnFlagList, connected ? artwork::kFlagConnected : artwork::kFlagDisconnected);
    if (connected && controls_.ConnectShape)
        controls_.ConnectShape->SetBrushColor(kConnectedLamp);
}

void ConnectionWidgets::ShowMessage(const QString& text)
{
    showMessage_(text);
}

void ConnectionWidgets::ShowMissingMark(int index)
{
    column_.ShowRedCross(index);
}

void ConnectionWidgets::HideSelectionFrame()
{
    column_.HideSelectionFrame();
}

void ConnectionWidgets::HideStatusPanel()
{
    status_.ShowStatusPanel(false);
}

// The window's style shows a disabled button's caption in silver and an
// enabled one's in the normal caption colour.
void ConnectionWidgets::EnableRefresh(bool enabled)
{
    controls_.RefreshBtn->setEnabled(enabled);
}

void ConnectionWidgets::ShowHint(const QString& title, const QString& subject, const QString& value)
{
    if (controls_.HintTitle)
        controls_.HintTitle->setText(title);
    if (controls_.HintSubject)
        controls_.HintSubject->setText(subject);
    if (controls_.HintValue)
        controls_.HintValue->setText(value);
}

void ConnectionWidgets::ConnImgMouseDown()
{
    ShowConnectPicture(artwork::kConnectPressed);
}

void ConnectionWidgets::ConnImgMouseUp()
{
    ShowConnectPicture(artwork::kConnectUp);
}

void ConnectionWidgets::ShowConnectPicture(int picture)
{
    if (controls_.ConnImg && controls_.ConnectImageList)
        controls_.ConnImg->ShowPicture(*controls_.ConnectImageList, picture);
}

}  // namespace qireq
