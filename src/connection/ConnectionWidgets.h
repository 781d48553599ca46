#pragma once
// The connection as the main window shows it: the connecting dialog, the
// connection flag and its lamp, the connect picture, message boxes, the
// tiles' missing marks and selection frame, the status row, Refresh and
// the hint line. GUI thread only.
#include "connection/ConnectionView.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QVector>

#include <functional>

class QDialog;
class QLabel;
class QPushButton;

namespace qireq {

class DeviceTileColumn;
class PictureButton;
class StatusDisplay;
class TProgressBarForm;
class TShape;

struct ConnectionControls {
    QPushButton* RefreshBtn = nullptr;
    PictureButton* connectflagImage = nullptr;
    const QVector<QPixmap>* ConnFlagList = nullptr;
    PictureButton* ConnImg = nullptr;  // the connect picture: looks only
    const QVector<QPixmap>* ConnectImageList = nullptr;
    TShape* ConnectShape = nullptr;
    // The hint line.
    QLabel* HintTitle = nullptr;
    QLabel* HintSubject = nullptr;
    QLabel* HintValue = nullptr;
    QWidget* DialogOwner = nullptr;  // the connecting dialog's owner
};

class ConnectionWidgets : public QObject, public ConnectionView {
    Q_OBJECT
public:
    // A plain message box with an OK button.
    using ShowMessageBox = std::function<void(const QString& text)>;

    // progressForm is the window's field that names the current attempt's
    // dialog.
    ConnectionWidgets(const ConnectionControls& controls, DeviceTileColumn& column,
                      StatusDisplay& status, QPointer<QDialog>& progressForm,
                      ShowMessageBox showMessage, QObject* parent = nullptr);
    ~ConnectionWidgets() override;

    TProgressBarForm* ConnectingDialog() const;

    void OpenConnectingDialog() override;
    void DestroyConnectingDialog() override;
    void DismissConnectingDialog() override;
    bool HasConnectingDialog() const override;
    void ShowConnectionFlag(bool connected) override;
    void ShowMessage(const QString& text) override;
    void ShowMissingMark(int index) override;
    void HideSelectionFrame() override;
    void HideStatusPanel() override;
    void EnableRefresh(bool enabled) override;
    void ShowHint(const QString& title, const QString& subject, const QString& value) override;

    // The connect picture shows its press and release; a click on it does
    // nothing.
    void ConnImgMouseDown();
    void ConnImgMouseUp();
    void ConnectClick() {}

signals:
    // Cancel on the connecting dialog.
    void CancelClicked();

private:
    void ShowConnectPicture(int picture);

    ConnectionControls controls_;
    DeviceTileColumn& column_;
    StatusDisplay& status_;
    QPointer<QDialog>& progressForm_;
    ShowMessageBox showMessage_;
};

}  // namespace qireq
