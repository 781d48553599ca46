#pragma once
// The simulated unit's state and its answer to each request frame. Pure:
// no sockets, no timers, so every reply can be checked byte for byte.
#include "eq/EqBlock.h"
#include "protocol/Frames.h"
#include "state/MacText.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace qireq::sim {

inline constexpr int kNameFieldSize = 16;
using NameField = std::array<std::uint8_t, kNameFieldSize>;

// Largest operating time the information reply can carry: L + 10000 * H
// with H a 16-bit number and L kept below 10000.
inline constexpr std::uint32_t kMaxMinutes = 65535u * 10000u + 9999u;

struct SimUnitState {
    EqBlock block = ResetBlock;  // the whole EQ as the unit sends it
    NameField name{};            // as the rename request carries it
    std::uint8_t capability = 17;
    MacBytes mac{};
    std::uint16_t temperatureRaw = 700;       // falls as the unit warms up
    std::array<std::uint8_t, 4> flags{};      // protection, temperature, voltage, standby
    std::uint8_t burnCount = 0;
    std::uint32_t minutes = 0;                // operating time, up to kMaxMinutes
};

// The name field a rename to `text` produces: its first bytes (Latin-1),
// spaces after them and a closing 0x00 at the last byte. A name of all
// sixteen bytes fills the field with no zero byte.
NameField MakeNameField(const QString& text);

class SimUnit {
public:
    explicit SimUnit(SimUnitState initial = {}) : state_(initial) {}

    // Applies a complete request frame to the state and returns the reply
    // frame; empty when the unit sends none (rename, set MAC, unknown codes,
    // and frames too short for the fields their code needs).
    QByteArray Answer(const QByteArray& frame);

    const SimUnitState& State() const { return state_; }

    // A unit that acknowledges EQ writes without applying them: band, trim
    // and bypass are echoed and the block write answered as usual, but the
    // state stays as it was, so a read-back shows the old values. Rename
    // and MAC changes, which draw no reply, are applied as usual.
    void SetAckOnly(bool ackOnly) { ackOnly_ = ackOnly; }

    // The replies to the read requests, from the current state.
    QByteArray PingReply() const;
    QByteArray IdentityReply() const;
    QByteArray MacReply() const;
    QByteArray StatusReply() const;
    QByteArray InfoReply() const;
    QByteArray EqBlockReply() const;

private:
    QByteArray ApplyTrim(const QByteArray& frame);
    QByteArray ApplyBand(const QByteArray& frame);
    QByteArray ApplyBypass(const QByteArray& frame);
    QByteArray ApplyEqBlock(const QByteArray& frame);
    void ApplyRename(const QByteArray& frame);
    void ApplyMac(const QByteArray& frame);

    SimUnitState state_;
    bool ackOnly_ = false;
};

}  // namespace qireq::sim
