#pragma once
// The editor's writes to the connected unit: band, trim, bypass and the whole
// EQ block, each from its re-used frame, with the effects every such send has
// on the shared state (send gate, liveness). GUI thread only.
#include "app/MainState.h"
#include "eq/EqBlock.h"
#include "protocol/Frames.h"

#include <array>

namespace qireq {

class EqCommands {
public:
    explicit EqCommands(MainState& state);

    // SetBand for band 1..5 from the model; nothing while not connected.
    void SendBand(int bandNumber);
    // SetTrim with the model's current trim.
    void SendTrim();
    // SetBypass asking for the given state.
    void SendBypass(bool on);
    // WriteEqBlock with the block as it stands.
    void SendEqBlock(const EqBlock& block);

private:
    void Write(const QByteArray& frame);

    MainState& state_;
    std::array<SetBandFrame, kBandCount> bandFrames_;
    SetTrimFrame trimFrame_;
    SetBypassFrame bypassFrame_;
};

}  // namespace qireq
