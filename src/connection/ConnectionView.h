#pragma once
// How the connection shows itself: the connecting dialog, the connection
// flag and lamp, message boxes, the tiles' missing marks and selection
// frame, the status row, Refresh and the hint line. The main window's
// widgets implement it (ConnectionWidgets); tests implement it with a
// recorder. GUI thread only.
#include <QString>

namespace qireq {

class ConnectionView {
public:
    virtual ~ConnectionView() = default;

    // A new connecting dialog, its Cancel wired back to the connection.
    virtual void OpenConnectingDialog() = 0;
    // Gone for good (its animation stopped first).
    virtual void DestroyConnectingDialog() = 0;
    // Cancel: hidden, but kept until the next attempt or identity reply.
    virtual void DismissConnectingDialog() = 0;
    // A dialog exists, shown or dismissed.
    virtual bool HasConnectingDialog() const = 0;

    // The connection flag's picture; connected also turns the lamp green.
    virtual void ShowConnectionFlag(bool connected) = 0;
    // A modal box with OK only.
    virtual void ShowMessage(const QString& text) = 0;
    // The tile's missing mark (a unit that failed or fell silent).
    virtual void ShowMissingMark(int index) = 0;
    virtual void HideSelectionFrame() = 0;
    // The status row goes with the unit that reported it.
    virtual void HideStatusPanel() = 0;
    virtual void EnableRefresh(bool enabled) = 0;
    // The hint line above the plot: title, subject and value.
    virtual void ShowHint(const QString& title, const QString& subject, const QString& value) = 0;
};

}  // namespace qireq
