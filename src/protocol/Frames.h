#pragma once
// The frame envelope shared by both directions and every request the host
// sends. A frame is 01 20 03 40, one length byte counting the whole frame,
// one command byte, the payload and the trailer 01 05 60; no checksum.
//
// Frames of fixed shape are built once: the 9-byte requests and the ReadMac
// block are constants, and the band, trim and bypass frames are small
// templates whose variable bytes are overwritten before each write.
#include "eq/EqBand.h"
#include "eq/EqBlock.h"

#include <QByteArray>

#include <array>
#include <cstdint>

namespace qireq {

enum class Command : std::uint8_t {
    Ping = 0x0B,
    SetTrim = 0x0E,
    SetBand = 0x11,
    SetBypass = 0x13,
    WriteEqBlock = 0x14,
    ReadEqBlock = 0x15,
    Rename = 0x1E,
    Identify = 0x1F,
    SetMac = 0x20,
    ReadMac = 0x21,
    ReadStatus = 0x23,
    ReadInfo = 0x24,
};

// The EQ block a unit sends in answer to ReadEqBlock carries this code.
inline constexpr Command kEqBlockReply = Command::WriteEqBlock;

inline constexpr int kFrameHeaderSize = 4;   // 01 20 03 40
inline constexpr int kFrameTrailerSize = 3;  // 01 05 60
inline constexpr std::array<std::uint8_t, kFrameHeaderSize> kFrameHeader{0x01, 0x20, 0x03, 0x40};
inline constexpr std::array<std::uint8_t, kFrameTrailerSize> kFrameTrailer{0x01, 0x05, 0x60};

inline constexpr int kLengthOffset = 4;
inline constexpr int kCommandOffset = 5;
inline constexpr int kPayloadOffset = 6;
inline constexpr int kMinFrameSize = kPayloadOffset + kFrameTrailerSize;  // 9: no payload
inline constexpr int kMaxFrameSize = 255;  // the length byte is unsigned
inline constexpr int kMaxPayloadSize = kMaxFrameSize - kMinFrameSize;

inline constexpr int kSetTrimFrameSize = 11;
inline constexpr int kSetBandFrameSize = 17;
inline constexpr int kSetBypassFrameSize = 11;
inline constexpr int kRenameFrameSize = 26;
inline constexpr int kSetMacFrameSize = 16;
inline constexpr int kReadMacBlockSize = 150;  // request + 141 zero bytes, one TCP write

// A band's number and record in a SetBand frame and in its echo.
inline constexpr int kBandNumberOffset = 7;
inline constexpr int kBandRecordOffset = 8;  // type, freq div 100, freq mod 100, gain, Q, off

inline constexpr int kRenameNameOffset = 7;
inline constexpr int kRenameFieldSize = 16;     // fifteen spaces and a 0x00
inline constexpr int kMaxRenameNameBytes = 15;

using MacBytes = std::array<std::uint8_t, 6>;

// The envelope around a payload. A payload that would make the frame longer
// than the length byte can count (more than 246 bytes) is refused: the
// result is empty, so nothing is sent rather than a frame that lies about
// its own length.
QByteArray BuildFrame(std::uint8_t code, const QByteArray& payload = {});
QByteArray BuildFrame(Command code, const QByteArray& payload = {});

// The 9-byte requests without payload.
const QByteArray& PingRequest();
const QByteArray& IdentifyRequest();
const QByteArray& ReadEqBlockRequest();
const QByteArray& ReadStatusRequest();
const QByteArray& ReadInfoRequest();
const QByteArray& ReadMacRequest();
// ReadMac as written over TCP: the 9-byte request followed by 141 zeros.
const QByteArray& ReadMacBlock();

// SetBand template of one band: 01 20 03 40 11 11 0A <band> <type> <freq
// div 100> <freq mod 100> <gain> <Q> <off> 01 05 60.
class SetBandFrame {
public:
    // bandNumber 1..5; other values are limited to that range.
    explicit SetBandFrame(int bandNumber);

    // Writes the band's type code, frequency, gain, Q and off flag into the
    // template and returns the 17 bytes to send.
    const QByteArray& Fill(const EqBand& band);
    const QByteArray& Bytes() const { return frame_; }
    int BandNumber() const { return bandNumber_; }

private:
    int bandNumber_;
    QByteArray frame_;
};

// SetTrim template: 01 20 03 40 0B 0E <trim code> 48 01 05 60.
class SetTrimFrame {
public:
    SetTrimFrame();
    // trim in dB, limited to -18..0.
    const QByteArray& Fill(int trim);
    const QByteArray& Bytes() const { return frame_; }

private:
    QByteArray frame_;
};

// SetBypass template: 01 20 03 40 0B 13 00 <0/1> 01 05 60.
class SetBypassFrame {
public:
    SetBypassFrame();
    const QByteArray& Fill(bool on);
    const QByteArray& Bytes() const { return frame_; }

private:
    QByteArray frame_;
};

// The 74 bytes of the block, unchanged (reset block or a preset's block).
QByteArray WriteEqBlockFrame(const EqBlock& block);

// 01 20 03 40 1A 1E 01, the 16-byte name field, 01 05 60. The field starts
// as fifteen spaces and a 0x00; at most the first 15 name bytes go into it.
QByteArray RenameFrame(const QByteArray& name);

// A unit name as the name field carries it: one byte per character in ISO
// 8859-1 (the code the units' names are read back in), '?' for a character
// that has no byte there, at most 15 bytes (a longer name is cut).
QByteArray NameFieldBytes(const QString& name);

// 01 20 03 40 10 20 00, the six MAC bytes, 01 05 60.
QByteArray SetMacFrame(const MacBytes& mac);

}  // namespace qireq
