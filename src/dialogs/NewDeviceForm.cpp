#include "dialogs/NewDeviceForm.h"

#include "controls/Artwork.h"
#include "controls/IpAddressBox.h"
#include "dialogs/DialogParts.h"
#include "platform/OwnAddress.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace qireq {

namespace {
constexpr int kNewDeviceFormWidth = 281;
constexpr int kNewDeviceFormHeight = 105;
}  // namespace

TIPCfgForm::TIPCfgForm(QWidget* parent, AddressSource ownAddress)
    : QDialog(parent, CloseButtonOnlyFlags()),
      ownAddress_(ownAddress ? std::move(ownAddress) : AddressSource(OwnIpv4Address))
{
    setObjectName(QStringLiteral("IPCfgForm"));
    setWindowTitle(QStringLiteral("New Device"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, kNewDeviceFormWidth, kNewDeviceFormHeight);

    Label1 = PlaceLabel(Panel1, QStringLiteral("Input Host IP"), 72, 16, true);
    Label1->setObjectName(QStringLiteral("Label1"));

    AddressBox = new IpAddressBox(Panel1);
    AddressBox->setObjectName(QStringLiteral("IpAddressBox"));
    AddressBox->setGeometry(30, 38, 121, 24);

    IPOKBtn = new QPushButton(QStringLiteral("OK"), Panel1);
    IPOKBtn->setObjectName(QStringLiteral("IPOKBtn"));
    IPOKBtn->setGeometry(184, 40, 49, 25);
    IPOKBtn->setAutoDefault(false);
    connect(IPOKBtn, &QPushButton::clicked, this, &TIPCfgForm::OkClicked);

    setFixedSize(kNewDeviceFormWidth, kNewDeviceFormHeight);
    setWindowIcon(ApplicationIcon());
}

void TIPCfgForm::FormShow()
{
    AddressBox->SetAddress(ownAddress_());
}

void TIPCfgForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

}  // namespace qireq
