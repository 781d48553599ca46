#include "protocol/ReplyFields.h"

#include "protocol/Frames.h"

#include <algorithm>

namespace qireq {

namespace {

constexpr int kNameOffset = 7;
constexpr int kNameFieldSize = 16;
constexpr int kCapabilityOffset = 23;

constexpr int kTrimOffset = 6;
constexpr int kBypassOffset = 7;
constexpr int kMacOffset = 7;
constexpr int kBurnCountOffset = 7;
constexpr int kMinutesLowOffset = 9;
constexpr int kMinutesHighOffset = 11;

bool Holds(const QByteArray& frame, int offset, int count = 1)
{
    return frame.size() >= static_cast<qsizetype>(offset) + count;
}

std::uint8_t At(const QByteArray& frame, int offset)
{
    return static_cast<std::uint8_t>(frame[offset]);
}

int Le16At(const QByteArray& frame, int offset)
{
    return At(frame, offset) | (At(frame, offset + 1) << 8);
}

bool IsBlankOrControl(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control;
}

}  // namespace

std::optional<std::uint8_t> ReplyCode(const QByteArray& frame)
{
    if (!Holds(frame, kCommandOffset))
        return std::nullopt;
    return At(frame, kCommandOffset);
}

QString NameFieldText(const QByteArray& field)
{
    const qsizetype end = field.indexOf('\0');
    const QString text = QString::fromLatin1(end < 0 ? field : field.left(end));
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlankOrControl(text[first]))
        ++first;
    while (last > first && IsBlankOrControl(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

IdentityReply ReadIdentity(const QByteArray& frame)
{
    IdentityReply reply;
    reply.Name = NameFieldText(frame.mid(kNameOffset, kNameFieldSize));
    if (Holds(frame, kCapabilityOffset))
        reply.Capability = At(frame, kCapabilityOffset);
    return reply;
}

std::optional<BandEcho> ReadBandEcho(const QByteArray& frame)
{
    if (!Holds(frame, kBandRecordOffset, kBandRecordSize))
        return std::nullopt;
    const int band = At(frame, kBandNumberOffset);
    if (band < 1 || band > kBandCount)
        return std::nullopt;
    BandEcho echo{band, {}};
    for (int i = 0; i < kBandRecordSize; ++i)
        echo.Record[static_cast<std::size_t>(i)] = At(frame, kBandRecordOffset + i);
    return echo;
}

std::optional<std::uint8_t> ReadTrimEcho(const QByteArray& frame)
{
    if (!Holds(frame, kTrimOffset))
        return std::nullopt;
    return At(frame, kTrimOffset);
}

std::optional<bool> ReadBypassEcho(const QByteArray& frame)
{
    if (!Holds(frame, kBypassOffset))
        return std::nullopt;
    return At(frame, kBypassOffset) != 0;
}

std::optional<MacBytes> ReadMacReply(const QByteArray& frame)
{
    MacBytes mac{};
    if (!Holds(frame, kMacOffset, static_cast<int>(mac.size())))
        return std::nullopt;
    for (std::size_t i = 0; i < mac.size(); ++i)
        mac[i] = At(frame, kMacOffset + static_cast<int>(i));
    return mac;
}

std::optional<EqBlock> ReadEqBlockReply(const QByteArray& frame)
{
    EqBlock block{};
    if (!Holds(frame, 0, kEqBlockSize))
        return std::nullopt;
    std::copy_n(frame.cbegin(), kEqBlockSize, block.begin());
    return block;
}

std::optional<InfoReply> ReadInfoReply(const QByteArray& frame)
{
    if (!Holds(frame, kMinutesHighOffset, 2))
        return std::nullopt;
    return InfoReply{At(frame, kBurnCountOffset),
                     Le16At(frame, kMinutesLowOffset) + 10000 * Le16At(frame, kMinutesHighOffset)};
}

}  // namespace qireq
