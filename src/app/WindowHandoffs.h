#pragma once
// The main window's side of the reply dispatcher: each hand-off goes to the
// part that owns it (the editor, the device column, the status row, the
// connection life cycle) or, for "More Info", to the window's message loop.
// GUI thread only.
#include "protocol/ReplyHandoffs.h"
#include "protocol/UnitFacts.h"

class QObject;

namespace qireq {

class BandEditor;
class ConnectionLifecycle;
class DeviceTileColumn;
class StatusDisplay;

class WindowHandoffs final : public ReplyHandoffs {
public:
    WindowHandoffs(QObject& window, BandEditor& editor, DeviceTileColumn& column,
                   StatusDisplay& status, ConnectionLifecycle& connection);

    QString ConnectionAddress(RxOrigin::Kind kind) const override;
    bool IdentityReceived(RxOrigin::Kind kind) override;
    void IdentityRead(const IdentityReply& identity) override;
    void ShowConnectedName(const QString& name) override;
    void ShowConnectedMac(int index, const MacBytes& mac) override;
    void ShowStatusPanel(bool visible) override;
    void ApplyStatusReply(const StatusReading& status) override;
    void ApplyEqBlock(const EqBlock& block) override;
    void ApplyBandEcho(const BandEcho& echo) override;
    void ApplyBypassEcho(bool bypass) override;
    void ApplyTrimEcho(int trim) override;
    void PostInfoMessage(int burnCount, int totalMinutes) override;

    // What the unit connected now (or last) reported about itself; kept
    // across a reconnect to the same unit, forgotten for another one.
    const UnitFacts& Facts() const { return facts_; }

private:
    QObject& window_;
    BandEditor& editor_;
    DeviceTileColumn& column_;
    StatusDisplay& status_;
    ConnectionLifecycle& connection_;
    UnitFacts facts_;
    QString factsAddress_;
};

}  // namespace qireq
