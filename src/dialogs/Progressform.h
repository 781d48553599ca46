#pragma once
// TProgressBarForm, the connecting dialog: "Connecting" with a bar that
// sweeps round and round while a connection attempt runs, and "Cancel".
// Modeless; it has no title-bar buttons and ignores Escape and the window
// manager's close, so it goes away only when the connection logic closes
// or destroys it. What Cancel does is the connection logic's
// (CancelProgressBar): the dialog only reports the click.
//
// The bar has no relation to the attempt's progress: every 50 ms it moves
// on by 10, and from 100 it starts again at 0. GUI thread only.
#include <QDialog>
#include <QTimer>

class QFrame;
class QProgressBar;
class QPushButton;

namespace qireq {

class TProgressBarForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSweepIntervalMs = 50;
    static constexpr int kSweepStep = 10;

    explicit TProgressBarForm(QWidget* parent = nullptr);
    ~TProgressBarForm() override;

    QFrame* Panel1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;  // range 0 to 100
    QPushButton* CancelBtn = nullptr;      // "Cancel"
    QTimer Timer1;                         // the sweep, running from creation

    // The connection logic hides the dialog with this (Cancel) and ends the
    // sweep before destroying it.
    void Dismiss();
    void StopAnimation();

signals:
    // CancelBtn was clicked.
    void CancelClicked();

public slots:
    // Escape does not close the dialog.
    void reject() override;

protected:
    // Nor does the window manager's close; the program's own close() does.
    void closeEvent(QCloseEvent* event) override;

private:
    void Timer1Timer();
    void FormDestroy();
};

}  // namespace qireq
