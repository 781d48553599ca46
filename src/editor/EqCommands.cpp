#include "editor/EqCommands.h"

namespace qireq {

namespace {
// Send gate values after the editor's sends: any non-zero value lets the
// user's slider moves through again.
constexpr int kGateAfterBandSend = 3;
constexpr int kGateAfterBlockSend = 7;
}  // namespace

EqCommands::EqCommands(MainState& state)
    : state_(state),
      bandFrames_{SetBandFrame(1), SetBandFrame(2), SetBandFrame(3), SetBandFrame(4), SetBandFrame(5)}
{
}

void EqCommands::SendBand(int bandNumber)
{
    if (!state_.Connected || bandNumber < 1 || bandNumber > kBandCount)
        return;
    const auto index = static_cast<std::size_t>(bandNumber - 1);
    const QByteArray& frame = bandFrames_[index].Fill(state_.Eq.Bands[index]);
    state_.SendGate = kGateAfterBandSend;
    Write(frame);
    state_.MarkHeard();
}

void EqCommands::SendTrim()
{
    Write(trimFrame_.Fill(state_.Eq.Trim));
    state_.MarkHeard();
}

void EqCommands::SendBypass(bool on)
{
    Write(bypassFrame_.Fill(on));
}

void EqCommands::SendEqBlock(const EqBlock& block)
{
    state_.SendGate = kGateAfterBlockSend;
    Write(WriteEqBlockFrame(block));
    state_.MarkHeard();
}

// The write's result is not looked at: a silent unit is found by the
// connection watchdog, not here.
void EqCommands::Write(const QByteArray& frame)
{
    if (state_.Link)
        state_.Link->WriteBytes(frame);
}

}  // namespace qireq
