#include "SimUnit.h"

#include "protocol/Frames.h"

#include <algorithm>

namespace qireq::sim {
namespace {

// Shortest frame that holds the fields each request carries, trailer included.
constexpr qsizetype kTrimRequestSize = kSetTrimFrameSize;
constexpr qsizetype kBandRequestSize = kSetBandFrameSize;
constexpr qsizetype kBypassRequestSize = kSetBypassFrameSize;
constexpr qsizetype kRenameRequestSize = kRenameFrameSize;
constexpr qsizetype kMacRequestSize = kSetMacFrameSize;

constexpr int kNameOffset = kRenameNameOffset;
constexpr int kMacOffset = 7;

std::uint8_t ByteAt(const QByteArray& frame, qsizetype offset)
{
    return static_cast<std::uint8_t>(frame.at(offset));
}

// The echo of an edit request: a frame of the request's own size holding its
// fields, so a request that came with a damaged trailer or announced more
// bytes than its code carries is still answered with one well-formed frame.
QByteArray EchoOf(const QByteArray& frame, qsizetype requestSize)
{
    return BuildFrame(ByteAt(frame, kCommandOffset),
                      frame.mid(kPayloadOffset, requestSize - kMinFrameSize));
}

void PutLittleEndian16(QByteArray& bytes, qsizetype offset, std::uint16_t value)
{
    bytes[offset] = static_cast<char>(value & 0xFFu);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

}  // namespace

NameField MakeNameField(const QString& text)
{
    NameField field;
    field.fill(0x20);
    field[kNameFieldSize - 1] = 0x00;
    const QByteArray bytes = text.toLatin1().left(kNameFieldSize);
    std::copy(bytes.cbegin(), bytes.cend(), field.begin());
    return field;
}

QByteArray SimUnit::Answer(const QByteArray& frame)
{
    if (frame.size() < 6)
        return {};
    switch (static_cast<Command>(ByteAt(frame, 5))) {
    case Command::Ping: return PingReply();
    case Command::SetTrim: return ApplyTrim(frame);
    case Command::SetBand: return ApplyBand(frame);
    case Command::SetBypass: return ApplyBypass(frame);
    case Command::WriteEqBlock: return ApplyEqBlock(frame);
    case Command::ReadEqBlock: return EqBlockReply();
    case Command::Rename: ApplyRename(frame); return {};
    case Command::Identify: return IdentityReply();
    case Command::SetMac: ApplyMac(frame); return {};
    case Command::ReadMac: return MacReply();
    case Command::ReadStatus: return StatusReply();
    case Command::ReadInfo: return InfoReply();
    default: return {};
    }
}

QByteArray SimUnit::ApplyTrim(const QByteArray& frame)
{
    if (frame.size() < kTrimRequestSize)
        return {};
    if (!ackOnly_)
        state_.block[kBlockTrimOffset] = ByteAt(frame, 6);
    return EchoOf(frame, kTrimRequestSize);
}

QByteArray SimUnit::ApplyBand(const QByteArray& frame)
{
    if (frame.size() < kBandRequestSize)
        return {};
    const int band = ByteAt(frame, 7);
    if (band < 1 || band > 5)
        return {};
    if (ackOnly_)
        return EchoOf(frame, kBandRequestSize);
    // Request bytes 8..13 are the band's record as the block stores it.
    const auto offset = static_cast<std::size_t>(BandRecordOffset(band - 1));
    for (std::size_t i = 0; i < static_cast<std::size_t>(kBandRecordSize); ++i)
        state_.block[offset + i] = ByteAt(frame, static_cast<qsizetype>(8 + i));
    return EchoOf(frame, kBandRequestSize);
}

QByteArray SimUnit::ApplyBypass(const QByteArray& frame)
{
    if (frame.size() < kBypassRequestSize)
        return {};
    if (!ackOnly_)
        state_.block[kBlockBypassOffset] = ByteAt(frame, 7) != 0 ? 1 : 0;
    return EchoOf(frame, kBypassRequestSize);
}

QByteArray SimUnit::ApplyEqBlock(const QByteArray& frame)
{
    if (frame.size() != kEqBlockSize)
        return {};
    // The unit keeps the settings, bytes 6..70; header, length, code and
    // trailer stay its own, so a damaged trailer is not answered back.
    EqBlock written = state_.block;
    std::copy(frame.cbegin() + kPayloadOffset, frame.cend() - kFrameTrailerSize,
              written.begin() + kPayloadOffset);
    // The answer is the block as stored, which is the block as written.
    if (ackOnly_)
        return QByteArray(reinterpret_cast<const char*>(written.data()), kEqBlockSize);
    state_.block = written;
    return EqBlockReply();
}

void SimUnit::ApplyRename(const QByteArray& frame)
{
    if (frame.size() < kRenameRequestSize)
        return;
    for (std::size_t i = 0; i < state_.name.size(); ++i)
        state_.name[i] = ByteAt(frame, static_cast<qsizetype>(kNameOffset + i));
}

void SimUnit::ApplyMac(const QByteArray& frame)
{
    if (frame.size() < kMacRequestSize)
        return;
    for (std::size_t i = 0; i < state_.mac.size(); ++i)
        state_.mac[i] = ByteAt(frame, static_cast<qsizetype>(kMacOffset + i));
}

QByteArray SimUnit::PingReply() const
{
    return BuildFrame(Command::Ping, {});
}

QByteArray SimUnit::IdentityReply() const
{
    // Payload bytes 6..23: a leading 0x01 as in the rename request, the
    // name field at 7..22 and the capability number at 23.
    QByteArray payload(1, '\x01');
    payload.append(reinterpret_cast<const char*>(state_.name.data()), kNameFieldSize);
    payload.append(static_cast<char>(state_.capability));
    return BuildFrame(Command::Identify, payload);
}

QByteArray SimUnit::MacReply() const
{
    QByteArray payload(1, '\0');
    payload.append(reinterpret_cast<const char*>(state_.mac.data()), static_cast<qsizetype>(state_.mac.size()));
    return BuildFrame(Command::ReadMac, payload);
}

QByteArray SimUnit::StatusReply() const
{
    // Payload bytes 6..20: raw temperature at 9..10, the four flags at 17..20.
    QByteArray payload(15, '\0');
    PutLittleEndian16(payload, 9 - 6, state_.temperatureRaw);
    for (qsizetype i = 0; i < 4; ++i)
        payload[17 - 6 + i] = static_cast<char>(state_.flags[static_cast<std::size_t>(i)]);
    return BuildFrame(Command::ReadStatus, payload);
}

QByteArray SimUnit::InfoReply() const
{
    // Payload bytes 6..12: burn count at 7, minutes as L (9..10) + 10000 * H (11..12).
    const std::uint32_t minutes = std::min(state_.minutes, kMaxMinutes);
    QByteArray payload(7, '\0');
    payload[7 - 6] = static_cast<char>(state_.burnCount);
    PutLittleEndian16(payload, 9 - 6, static_cast<std::uint16_t>(minutes % 10000u));
    PutLittleEndian16(payload, 11 - 6, static_cast<std::uint16_t>(minutes / 10000u));
    return BuildFrame(Command::ReadInfo, payload);
}

QByteArray SimUnit::EqBlockReply() const
{
    return QByteArray(reinterpret_cast<const char*>(state_.block.data()), kEqBlockSize);
}

}  // namespace qireq::sim
