#include "protocol/RequestSender.h"

#include "state/MainState.h"

namespace qireq {

RequestSender::RequestSender(MainState& state)
    : state_(state),
      bandFrames_{SetBandFrame(1), SetBandFrame(2), SetBandFrame(3), SetBandFrame(4), SetBandFrame(5)}
{
}

RequestSender::~RequestSender() = default;

void RequestSender::ReplaceLink(std::unique_ptr<DeviceLink> link)
{
    linkRequests_.reset();
    link_ = std::move(link);
    echoesAwaited_ = 0;  // nothing the old link carried is answered on a new one
    if (link_)
        linkRequests_ = std::make_unique<LinkRequests>(*link_);
}

void RequestSender::ReleaseLink()
{
    ReplaceLink(nullptr);
}

void RequestSender::SendPing()
{
    if (!state_.Connected || !LinkOpen())
        return;
    state_.QuietTicks = 0;
    linkRequests_->SendPing();
}

void RequestSender::SendIdentify()
{
    if (linkRequests_)
        linkRequests_->SendIdentify();
}

void RequestSender::SendReadMac()
{
    if (linkRequests_)
        linkRequests_->SendReadMac();
}

void RequestSender::SendReadEqBlock()
{
    if (!LinkOpen())
        return;
    Write(ReadEqBlockRequest());
    state_.MarkHeard();
}

void RequestSender::SendReadStatus()
{
    if (state_.Connected)
        Write(ReadStatusRequest());
}

void RequestSender::SendReadInfo()
{
    Write(ReadInfoRequest());
}

void RequestSender::SendBand(int bandNumber)
{
    if (!state_.Connected || bandNumber < 1 || bandNumber > kBandCount)
        return;
    const auto index = static_cast<std::size_t>(bandNumber - 1);
    const QByteArray& frame = bandFrames_[index].Fill(state_.Eq.Bands[index]);
    state_.SendGate = kGateAfterBandSend;
    Write(frame);
    AwaitEcho();
    state_.MarkHeard();
}

void RequestSender::SendTrim()
{
    if (!state_.Connected)
        return;
    Write(trimFrame_.Fill(state_.Eq.Trim));
    AwaitEcho();
    state_.MarkHeard();
}

void RequestSender::SendBypass(bool on)
{
    if (!state_.Connected)
        return;
    Write(bypassFrame_.Fill(on));
    AwaitEcho();
}

void RequestSender::SendEqBlock(const EqBlock& block)
{
    state_.SendGate = kGateAfterBlockSend;
    Write(WriteEqBlockFrame(block));
    AwaitEcho();
    state_.MarkHeard();
}

void RequestSender::SendRename(int unitIndex, const QByteArray& name)
{
    if (ReachesConnectedUnit(unitIndex))
        Write(RenameFrame(name));
}

void RequestSender::SendSetMac(int unitIndex, const MacBytes& mac)
{
    if (ReachesConnectedUnit(unitIndex))
        Write(SetMacFrame(mac));
}

void RequestSender::AwaitEcho()
{
    if (!link_)
        return;
    ++echoesAwaited_;
    sinceLastWrite_.start();
}

bool RequestSender::AwaitingEcho() const
{
    return EchoWaitLeftMs() > 0;
}

int RequestSender::EchoWaitLeftMs() const
{
    if (echoesAwaited_ == 0 || !sinceLastWrite_.isValid())
        return 0;
    const qint64 left = kEchoWaitMs - sinceLastWrite_.elapsed();
    return left > 0 ? static_cast<int>(left) : 0;
}

void RequestSender::EchoArrived()
{
    if (echoesAwaited_ > 0)
        --echoesAwaited_;
}

bool RequestSender::ReachesConnectedUnit(int unitIndex) const
{
    return link_ && state_.Connected && unitIndex != -1 && unitIndex == state_.ConnectedIndex;
}

void RequestSender::Write(const QByteArray& frame)
{
    if (link_)
        link_->WriteBytes(frame);
}

}  // namespace qireq
