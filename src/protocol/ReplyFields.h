#pragma once
// Readers for the fields of the replies the host acts on. Each takes a frame
// as the assembler handed it on and never reads past its real size: a unit
// may announce a shorter frame than its fields need (the assembler ends a
// frame after as few as 6 bytes), and a missing field is reported as absent
// rather than read from whatever memory follows.
#include "eq/EqEncoding.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace qireq {

using MacBytes = std::array<std::uint8_t, 6>;

// Units whose identity reply carries this capability number or more report
// their status (temperature and state lamps) and their "More Info".
inline constexpr int kStatusCapability = 17;

// The command code at byte 5; absent for a frame shorter than 6 bytes.
std::optional<std::uint8_t> ReplyCode(const QByteArray& frame);

struct IdentityReply {
    // Bytes 7..22 as text, cut at the first 0x00, without leading and
    // trailing blanks and control characters. A short frame gives the name
    // bytes it holds (possibly none).
    QString Name;
    // Byte 23; absent when the frame ends before it. An absent capability
    // counts as a unit without status support.
    std::optional<int> Capability;

    bool SupportsStatus() const { return Capability && *Capability >= kStatusCapability; }
};
IdentityReply ReadIdentity(const QByteArray& frame);

// The unit's name field as text: cut at the first 0x00, trimmed of blanks
// and control characters at both ends. Bytes are single-byte characters.
QString NameFieldText(const QByteArray& field);

struct BandEcho {
    int BandNumber;     // 1..5
    BandRecord Record;  // type, freq div 100, freq mod 100, gain, Q, off (bytes 8..13)
};
// Absent when the frame ends before byte 13 or names a band outside 1..5.
std::optional<BandEcho> ReadBandEcho(const QByteArray& frame);

// Trim code at byte 6.
std::optional<std::uint8_t> ReadTrimEcho(const QByteArray& frame);

// Bypass at byte 7: non-zero means on.
std::optional<bool> ReadBypassEcho(const QByteArray& frame);

// The six MAC bytes at 7..12.
std::optional<MacBytes> ReadMacReply(const QByteArray& frame);

// The whole 74-byte EQ block; absent when the frame is shorter than that.
std::optional<EqBlock> ReadEqBlockReply(const QByteArray& frame);

struct InfoReply {
    int BurnCount;     // byte 7
    int TotalMinutes;  // L + 10000 * H, L at 9..10 and H at 11..12, little-endian
};
// Absent when the frame ends before byte 12.
std::optional<InfoReply> ReadInfoReply(const QByteArray& frame);

}  // namespace qireq
