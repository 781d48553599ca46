#pragma once
// Random faults at random moments (--chaos SEED), for soaking the control
// program: the unit falls silent for longer than the host's watchdog, drops
// its TCP connection, floods the line with a megabyte of garbage, sends its
// replies byte by byte, late or twice, or one reply with a wrong length
// byte. Each fault is logged as one line when it starts ("FAULT silence
// 8123", "FAULT drop", ...), so a driver can count them.
//
// A fault falls due a random time after the last one ended (the interval
// times 0.5 to 1.5) and starts with the first frame the unit receives after
// that, so every fault meets a conversation. Time in which nobody talks to
// the unit (no frame for kQuietMs) does not count, so a unit left alone does
// not save its fault up for the first frame of the next conversation. One
// fault at a time. The clock is given, so tests can drive the schedule.
#include "SimLog.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <vector>

namespace qireq::sim {

enum class ChaosKind { Silence, Drop, Flood, Bytes, Delay, Duplicate, Length };

// The kinds as the log and --chaos-faults spell them: "silence", "drop",
// "flood", "bytes", "delay", "duplicate", "length".
QString ChaosKindName(ChaosKind kind);
std::optional<ChaosKind> ChaosKindFromName(const QString& name);
std::vector<ChaosKind> AllChaosKinds();

struct ChaosSettings {
    bool on = false;
    std::uint32_t seed = 0;
    int intervalMs = 20000;  // mean time from the end of one fault to the next
    std::vector<ChaosKind> kinds = AllChaosKinds();
};

// What the chaos does to the frame just received and to its reply.
struct ChaosEffect {
    bool mute = false;       // no reply, and the frame is not applied
    bool drop = false;       // the connection ends now, the frame unanswered
    QByteArray flood;        // goes out before the reply (or alone)
    int pieceBytes = 0;      // the reply leaves in pieces of this size (0: whole)
    int delayMs = 0;         // the reply leaves this much later
    bool duplicate = false;  // the reply goes out twice
};

class SimChaos {
public:
    using Clock = std::function<qint64()>;  // monotonic milliseconds

    static constexpr int kSilenceMinMs = 7000;  // the host's watchdog is 6 s
    static constexpr int kSilenceMaxMs = 10000;
    // Replies byte by byte, late or twice go on for a spell of this length.
    static constexpr int kSpellMinMs = 10000;
    static constexpr int kSpellMaxMs = 20000;
    static constexpr int kDelayMinMs = 300;
    static constexpr int kDelayMaxMs = 2500;
    static constexpr int kFloodBytes = 1 << 20;
    // Longer than the host's quietest conversation: a keep-alive ping or a
    // reconnecting Identify every 3 s.
    static constexpr int kQuietMs = 5000;

    // Logs "CHAOS seed S interval MS kinds a,b,..." when switched on. Without
    // a clock, a steady clock started now.
    SimChaos(const ChaosSettings& settings, SimLog log, Clock clock = {});

    // For each frame the unit receives, before it looks at it: a fault that
    // has fallen due starts (and is logged), and the effect on this frame is
    // returned. `droppable`: the frame came on a connection that can be
    // ended; a drop is only chosen then.
    ChaosEffect OnFrame(bool droppable);
    // For the reply the unit makes to that frame: a wrong length byte that
    // waits for a reply goes in now, logged "FAULT length <right> <sent>".
    void OnReply(QByteArray& reply);

    // A silence is on: the unit answers nothing at all.
    bool Silent() const;
    bool On() const { return settings_.on; }

private:
    struct Spell {
        ChaosKind kind;
        qint64 untilMs = 0;  // silence, bytes, delay, duplicate
        int delayMs = 0;
    };

    qint64 Now() const { return clock_(); }
    int Between(int low, int high);
    void ScheduleFrom(qint64 ms);
    std::optional<ChaosKind> Pick(bool droppable);
    ChaosEffect Start(ChaosKind kind, qint64 now);
    void Log(const QString& text) const { log_.Line(QStringLiteral("FAULT ") + text); }

    ChaosSettings settings_;
    SimLog log_;
    Clock clock_;
    std::mt19937 random_;
    qint64 dueMs_ = 0;
    qint64 lastFrameMs_ = 0;  // or the start
    std::optional<Spell> spell_;  // the fault under way, or a length waiting for a reply
};

// `size` bytes of garbage full of broken headers (01 20 03 and anything
// but 40, and random bytes) in which no frame header occurs. They begin
// with 0x00, which breaks a header under way, and end with GarbageBytes(),
// so an assembler that was not in the middle of a frame is idle after them
// and takes the next reply whole.
QByteArray FloodBytes(int size, std::mt19937& random);

}  // namespace qireq::sim
