#include "protocol/Frames.h"

#include "eq/EqEncoding.h"

#include <QList>
#include <QString>

#include <algorithm>

namespace qireq {

namespace {

char Byte(int value)
{
    return static_cast<char>(static_cast<std::uint8_t>(value));
}

// A frame of the given total size with header, length byte, command code
// and trailer in place and a zeroed payload.
QByteArray EmptyFrame(std::uint8_t code, int size)
{
    QByteArray frame(size, '\0');
    for (int i = 0; i < kFrameHeaderSize; ++i)
        frame[i] = Byte(kFrameHeader[static_cast<std::size_t>(i)]);
    frame[kLengthOffset] = Byte(size);
    frame[kCommandOffset] = Byte(code);
    for (int i = 0; i < kFrameTrailerSize; ++i)
        frame[size - kFrameTrailerSize + i] = Byte(kFrameTrailer[static_cast<std::size_t>(i)]);
    return frame;
}

QByteArray EmptyFrame(Command code, int size)
{
    return EmptyFrame(static_cast<std::uint8_t>(code), size);
}

}  // namespace

QByteArray BuildFrame(std::uint8_t code, const QByteArray& payload)
{
    if (payload.size() > kMaxPayloadSize)
        return {};
    const int size = kMinFrameSize + static_cast<int>(payload.size());
    QByteArray frame = EmptyFrame(code, size);
    std::copy(payload.cbegin(), payload.cend(), frame.begin() + kPayloadOffset);
    return frame;
}

QByteArray BuildFrame(Command code, const QByteArray& payload)
{
    return BuildFrame(static_cast<std::uint8_t>(code), payload);
}

const QByteArray& PingRequest()
{
    static const QByteArray frame = BuildFrame(Command::Ping);
    return frame;
}

const QByteArray& IdentifyRequest()
{
    static const QByteArray frame = BuildFrame(Command::Identify);
    return frame;
}

const QByteArray& ReadEqBlockRequest()
{
    static const QByteArray frame = BuildFrame(Command::ReadEqBlock);
    return frame;
}

const QByteArray& ReadStatusRequest()
{
    static const QByteArray frame = BuildFrame(Command::ReadStatus);
    return frame;
}

const QByteArray& ReadInfoRequest()
{
    static const QByteArray frame = BuildFrame(Command::ReadInfo);
    return frame;
}

const QByteArray& ReadMacRequest()
{
    static const QByteArray frame = BuildFrame(Command::ReadMac);
    return frame;
}

const QByteArray& ReadMacBlock()
{
    static const QByteArray block =
        ReadMacRequest() + QByteArray(kReadMacBlockSize - kMinFrameSize, '\0');
    return block;
}

// --- SetBand ---------------------------------------------------------------

namespace {
constexpr int kBandMarkerOffset = 6;  // always 0x0A
}  // namespace

SetBandFrame::SetBandFrame(int bandNumber)
    : bandNumber_(std::clamp(bandNumber, 1, kBandCount)),
      frame_(EmptyFrame(Command::SetBand, kSetBandFrameSize))
{
    frame_[kBandMarkerOffset] = Byte(0x0A);
    frame_[kBandNumberOffset] = Byte(bandNumber_);
}

const QByteArray& SetBandFrame::Fill(const EqBand& band)
{
    const BandRecord record = EncodeBand(band);
    for (int i = 0; i < kBandRecordSize; ++i)
        frame_[kBandRecordOffset + i] = Byte(record[static_cast<std::size_t>(i)]);
    return frame_;
}

// --- SetTrim ---------------------------------------------------------------

namespace {
constexpr int kTrimCodeOffset = 6;
constexpr int kTrimMarkerOffset = 7;  // always 0x48
}  // namespace

SetTrimFrame::SetTrimFrame() : frame_(EmptyFrame(Command::SetTrim, kSetTrimFrameSize))
{
    frame_[kTrimCodeOffset] = Byte(EncodeTrim(0));
    frame_[kTrimMarkerOffset] = Byte(0x48);
}

const QByteArray& SetTrimFrame::Fill(int trim)
{
    frame_[kTrimCodeOffset] = Byte(EncodeTrim(trim));
    return frame_;
}

// --- SetBypass -------------------------------------------------------------

namespace {
constexpr int kBypassValueOffset = 7;  // byte 6 stays 0x00
}  // namespace

SetBypassFrame::SetBypassFrame() : frame_(EmptyFrame(Command::SetBypass, kSetBypassFrameSize)) {}

const QByteArray& SetBypassFrame::Fill(bool on)
{
    frame_[kBypassValueOffset] = Byte(on ? 1 : 0);
    return frame_;
}

// --- Whole-block, rename and MAC frames --------------------------------------

QByteArray WriteEqBlockFrame(const EqBlock& block)
{
    return QByteArray(reinterpret_cast<const char*>(block.data()),
                      static_cast<qsizetype>(block.size()));
}

QByteArray RenameFrame(const QByteArray& name)
{
    QByteArray frame = EmptyFrame(Command::Rename, kRenameFrameSize);
    frame[kPayloadOffset] = Byte(0x01);
    for (int i = 0; i < kRenameFieldSize - 1; ++i)
        frame[kRenameNameOffset + i] = ' ';
    frame[kRenameNameOffset + kRenameFieldSize - 1] = '\0';
    const int count = static_cast<int>(std::min<qsizetype>(name.size(), kMaxRenameNameBytes));
    for (int i = 0; i < count; ++i)
        frame[kRenameNameOffset + i] = name[i];
    return frame;
}

QByteArray NameFieldBytes(const QString& name)
{
    QByteArray bytes;
    // Code points, so a character beyond 16 bits is one '?' rather than two.
    for (const uint c : name.toUcs4()) {
        if (bytes.size() == kMaxRenameNameBytes)
            break;
        bytes.append(c <= 0xFF ? static_cast<char>(static_cast<std::uint8_t>(c)) : '?');
    }
    return bytes;
}

QByteArray SetMacFrame(const MacBytes& mac)
{
    constexpr int kMacOffset = 7;  // byte 6 stays 0x00
    QByteArray frame = EmptyFrame(Command::SetMac, kSetMacFrameSize);
    for (int i = 0; i < static_cast<int>(mac.size()); ++i)
        frame[kMacOffset + i] = Byte(mac[static_cast<std::size_t>(i)]);
    return frame;
}

}  // namespace qireq
