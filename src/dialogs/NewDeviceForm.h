#pragma once
// TIPCfgForm, the new-device dialog: "Input Host IP", an IPv4 address box
// and "OK". Each time it is shown the box is filled with this PC's own
// address. The caller attaches its handler to OkClicked and shows the
// dialog modally; the handler reads AddressBox->Address(). OK never closes
// the dialog, so several addresses can be added in a row; the window's
// close button does.
#include <QDialog>
#include <QString>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace qireq {

class IpAddressBox;

class TIPCfgForm : public QDialog {
    Q_OBJECT
public:
    // Gives this PC's own IPv4 address as dotted text.
    using AddressSource = std::function<QString()>;

    // Without a source the system is asked (OwnIpv4Address).
    explicit TIPCfgForm(QWidget* parent = nullptr, AddressSource ownAddress = {});

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;            // "Input Host IP"
    IpAddressBox* AddressBox = nullptr;  // the address to add
    QPushButton* IPOKBtn = nullptr;      // "OK"

signals:
    // IPOKBtn was clicked.
    void OkClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    AddressSource ownAddress_;
};

}  // namespace qireq
