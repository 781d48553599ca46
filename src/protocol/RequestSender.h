#pragma once
// Every request the host sends to the connected unit goes out here, with the
// rules that come with it: when it may go out, and what it does to the send
// gate and to the liveness counters (Heard, QuietTicks) the watchdog and the
// keep-alive judge the link by. The link of the current or last connection
// attempt (Link) lives here too, with the canned requests on it
// (LinkRequests); the connection life cycle replaces both together.
//
// A request whose condition fails is not sent and changes nothing. Every
// write pauses the calling thread (20 ms serial, 18 ms TCP) and its result
// is not looked at: a silent unit is found by the watchdog, not here.
//
// GUI thread only.
#include "eq/EqBlock.h"
#include "protocol/DeviceLink.h"
#include "protocol/Frames.h"
#include "protocol/LinkRequests.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <array>
#include <memory>

namespace qireq {

struct MainState;

class RequestSender {
public:
    // Send gate values after the editor's sends: any non-zero value lets the
    // user's slider moves through again.
    static constexpr int kGateAfterBandSend = 3;
    static constexpr int kGateAfterBlockSend = 7;

    explicit RequestSender(MainState& state);
    ~RequestSender();
    RequestSender(const RequestSender&) = delete;
    RequestSender& operator=(const RequestSender&) = delete;

    // --- The link -------------------------------------------------------------
    // A new attempt's link, and its canned requests with it.
    void ReplaceLink(std::unique_ptr<DeviceLink> link);
    // No link any more. The component the old link wrapped stays as it is.
    void ReleaseLink();
    DeviceLink* Link() const { return link_.get(); }
    bool HasLink() const { return link_ != nullptr; }
    bool LinkOpen() const { return link_ && link_->IsOpen(); }

    // --- Requests -------------------------------------------------------------
    // Keep-alive: connected on an open link; QuietTicks starts again at 0.
    void SendPing();
    // Whenever there is a link (a TCP link not yet connected loses it).
    void SendIdentify();
    // The 150-byte ReadMac write of a TCP connection; whenever there is a link.
    void SendReadMac();
    // On an open link; counts as traffic.
    void SendReadEqBlock();
    // Connected, with a link.
    void SendReadStatus();
    // Whenever there is a link, connected or not ("More Info").
    void SendReadInfo();
    // SetBand of band 1..5 from the model, connected only; send gate 3 and
    // traffic. The band changes when the unit echoes it, not here.
    void SendBand(int bandNumber);
    // SetTrim with the model's trim, connected only; counts as traffic.
    void SendTrim();
    // SetBypass asking for the given state, connected only.
    void SendBypass(bool on);
    // WriteEqBlock with the block as it stands; send gate 7 and traffic. The
    // callers decide when (reset: connected; a preset: an open link), since
    // each applies the block to the editor itself otherwise.
    void SendEqBlock(const EqBlock& block);
    // Rename and SetMac reach only the connected unit: unitIndex must be
    // ConnectedIndex, and there must be a link.
    void SendRename(int unitIndex, const QByteArray& name);
    void SendSetMac(int unitIndex, const MacBytes& mac);

    // --- Answers awaited ----------------------------------------------------------
    // Each EQ write that went out (band, trim, bypass, block) waits for the
    // unit's echo or block reply, for at most kEchoWaitMs after the last one:
    // a unit that stays silent is the watchdog's to find, not a reason to
    // hold writes back for ever.
    static constexpr int kEchoWaitMs = 1000;
    bool AwaitingEcho() const;
    // Milliseconds until the wait ends by itself (0 when nothing is awaited).
    int EchoWaitLeftMs() const;
    // An echo or a block reply arrived for one of the writes.
    void EchoArrived();

private:
    void AwaitEcho();
    void Write(const QByteArray& frame);
    bool ReachesConnectedUnit(int unitIndex) const;

    MainState& state_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<LinkRequests> linkRequests_;
    std::array<SetBandFrame, kBandCount> bandFrames_;
    SetTrimFrame trimFrame_;
    SetBypassFrame bypassFrame_;
    int echoesAwaited_ = 0;
    QElapsedTimer sinceLastWrite_;
};

}  // namespace qireq
