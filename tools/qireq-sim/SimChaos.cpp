#include "SimChaos.h"

#include "SimDevice.h"

#include "protocol/Frames.h"

#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <utility>

namespace qireq::sim {
namespace {

const QByteArray kHeader = QByteArray::fromHex("01200340");

struct KindName {
    ChaosKind kind;
    const char* name;
};

constexpr KindName kKindNames[] = {
    {ChaosKind::Silence, "silence"}, {ChaosKind::Drop, "drop"},
    {ChaosKind::Flood, "flood"},     {ChaosKind::Bytes, "bytes"},
    {ChaosKind::Delay, "delay"},     {ChaosKind::Duplicate, "duplicate"},
    {ChaosKind::Length, "length"},
};

SimChaos::Clock SteadyClock()
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    return [started] { return started->elapsed(); };
}

bool IsSpell(ChaosKind kind)
{
    return kind == ChaosKind::Silence || kind == ChaosKind::Bytes || kind == ChaosKind::Delay ||
           kind == ChaosKind::Duplicate;
}

}  // namespace

QString ChaosKindName(ChaosKind kind)
{
    for (const KindName& entry : kKindNames) {
        if (entry.kind == kind)
            return QLatin1String(entry.name);
    }
    return {};
}

std::optional<ChaosKind> ChaosKindFromName(const QString& name)
{
    for (const KindName& entry : kKindNames) {
        if (name == QLatin1String(entry.name))
            return entry.kind;
    }
    return std::nullopt;
}

std::vector<ChaosKind> AllChaosKinds()
{
    std::vector<ChaosKind> kinds;
    for (const KindName& entry : kKindNames)
        kinds.push_back(entry.kind);
    return kinds;
}

SimChaos::SimChaos(const ChaosSettings& settings, SimLog log, Clock clock)
    : settings_(settings), log_(std::move(log)), clock_(clock ? std::move(clock) : SteadyClock()),
      random_(settings.seed)
{
    if (!settings_.on)
        return;
    QStringList names;
    for (const ChaosKind kind : settings_.kinds)
        names << ChaosKindName(kind);
    log_.Line(QStringLiteral("CHAOS seed %1 interval %2 kinds %3")
                  .arg(settings_.seed)
                  .arg(settings_.intervalMs)
                  .arg(names.join(u',')));
    lastFrameMs_ = Now();
    ScheduleFrom(lastFrameMs_);
}

int SimChaos::Between(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random_);
}

void SimChaos::ScheduleFrom(qint64 ms)
{
    const int interval = settings_.intervalMs;
    dueMs_ = ms + Between(interval / 2, interval + interval / 2);
}

std::optional<ChaosKind> SimChaos::Pick(bool droppable)
{
    std::vector<ChaosKind> usable;
    for (const ChaosKind kind : settings_.kinds) {
        if (kind != ChaosKind::Drop || droppable)
            usable.push_back(kind);
    }
    if (usable.empty())
        return std::nullopt;
    return usable[static_cast<std::size_t>(Between(0, static_cast<int>(usable.size()) - 1))];
}

ChaosEffect SimChaos::OnFrame(bool droppable)
{
    if (!settings_.on)
        return {};
    const qint64 now = Now();
    const qint64 quietSince = std::exchange(lastFrameMs_, now);
    if (spell_ && IsSpell(spell_->kind) && now >= spell_->untilMs) {
        ScheduleFrom(spell_->untilMs);
        spell_.reset();
    }
    // Nobody talked to the unit for a while: that time does not count.
    if (now - quietSince >= kQuietMs && dueMs_ > quietSince)
        dueMs_ += now - quietSince;
    if (!spell_ && now >= dueMs_) {
        if (const std::optional<ChaosKind> kind = Pick(droppable))
            return Start(*kind, now);
    }
    ChaosEffect effect;
    if (!spell_)
        return effect;
    switch (spell_->kind) {
    case ChaosKind::Silence: effect.mute = true; break;
    case ChaosKind::Bytes: effect.pieceBytes = 1; break;
    case ChaosKind::Delay: effect.delayMs = spell_->delayMs; break;
    case ChaosKind::Duplicate: effect.duplicate = true; break;
    default: break;
    }
    return effect;
}

ChaosEffect SimChaos::Start(ChaosKind kind, qint64 now)
{
    ChaosEffect effect;
    switch (kind) {
    case ChaosKind::Drop:
        Log(QStringLiteral("drop"));
        effect.drop = true;
        ScheduleFrom(now);
        return effect;
    case ChaosKind::Flood:
        Log(QStringLiteral("flood %1").arg(kFloodBytes));
        effect.flood = FloodBytes(kFloodBytes, random_);
        ScheduleFrom(now);
        return effect;
    case ChaosKind::Length:
        // Waits for the next reply, which may not be this frame's.
        spell_ = Spell{kind};
        return effect;
    case ChaosKind::Silence: {
        const int ms = Between(kSilenceMinMs, kSilenceMaxMs);
        spell_ = Spell{kind, now + ms};
        Log(QStringLiteral("silence %1").arg(ms));
        effect.mute = true;
        return effect;
    }
    case ChaosKind::Bytes: {
        const int ms = Between(kSpellMinMs, kSpellMaxMs);
        spell_ = Spell{kind, now + ms};
        Log(QStringLiteral("bytes %1").arg(ms));
        effect.pieceBytes = 1;
        return effect;
    }
    case ChaosKind::Delay: {
        const int delay = Between(kDelayMinMs, kDelayMaxMs);
        const int ms = Between(kSpellMinMs, kSpellMaxMs);
        spell_ = Spell{kind, now + ms, delay};
        Log(QStringLiteral("delay %1 %2").arg(delay).arg(ms));
        effect.delayMs = delay;
        return effect;
    }
    case ChaosKind::Duplicate: {
        const int ms = Between(kSpellMinMs, kSpellMaxMs);
        spell_ = Spell{kind, now + ms};
        Log(QStringLiteral("duplicate %1").arg(ms));
        effect.duplicate = true;
        return effect;
    }
    }
    return effect;
}

void SimChaos::OnReply(QByteArray& reply)
{
    if (!spell_ || spell_->kind != ChaosKind::Length || reply.size() <= kLengthOffset)
        return;
    const int right = static_cast<std::uint8_t>(reply.at(kLengthOffset));
    // Any other byte: too short (down to no fields at all) or too long.
    int sent = Between(0, 254);
    if (sent >= right)
        ++sent;
    reply[kLengthOffset] = static_cast<char>(sent);
    Log(QStringLiteral("length %1 %2").arg(right).arg(sent));
    spell_.reset();
    lastFrameMs_ = Now();
    ScheduleFrom(lastFrameMs_);
}

bool SimChaos::Silent() const
{
    return spell_ && spell_->kind == ChaosKind::Silence && Now() < spell_->untilMs;
}

QByteArray FloodBytes(int size, std::mt19937& random)
{
    const QByteArray tail = GarbageBytes();
    if (size <= tail.size())
        return tail.left(std::max(size, 0));
    QByteArray bytes(size - tail.size(), Qt::Uninitialized);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (char& byte : bytes)
        byte = static_cast<char>(anyByte(random));
    // A broken header every 64 bytes or so: 01 20 03 and anything but 40.
    for (qsizetype at = 0; at + 4 <= bytes.size(); at += 60 + anyByte(random) % 8) {
        bytes[at] = kHeader[0];
        bytes[at + 1] = kHeader[1];
        bytes[at + 2] = kHeader[2];
        const int breaking = anyByte(random);
        bytes[at + 3] = static_cast<char>(breaking == 0x40 ? 0x41 : breaking);
    }
    // A header under way when the flood begins is broken by its first byte.
    bytes[0] = 0x00;
    bytes += tail;
    // No frame by accident: a header the random bytes made up loses its 40
    // (0x41 is no header byte, so this makes no new one).
    for (qsizetype at = bytes.indexOf(kHeader); at >= 0; at = bytes.indexOf(kHeader, at + 1))
        bytes[at + 3] = 0x41;
    return bytes;
}

}  // namespace qireq::sim
