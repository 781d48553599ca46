// fuzz_receive: the receive path as the window runs it. The input is cut
// into chunks of random sizes, each credited to a random source (TCP, the
// connection port under two spellings, another serial port), and fed
// through the real ReplyDispatcher and FrameAssembler into a real
// DeviceList and MainState, with the window's hand-offs recorded. Between
// chunks the window's own moves happen at random: a tile built, a
// disconnect, a tile click that drops a partial frame, a unit removed, the
// LAN unit listed by hand.
//
// Input: the byte stream is taken from the front, the decisions (source
// and size of each chunk, the window's moves) from the back, so a real
// frame followed by one decision byte is fed whole.
//
// After every chunk the real path is held against a plain model of the
// assembly table and of the fields each reply is read for: the same
// hand-offs with the same values in the same order (so no hand-off for a
// reply too short for its fields and no band echo outside 1..5), the same
// liveness update, connection fields, send gate, units listed and
// assembler state. The list's keys are never empty and never listed twice.
#include "FuzzCheck.h"

#include "protocol/FrameAssembler.h"
#include "protocol/ReplyDispatcher.h"
#include "state/DeviceList.h"
#include "state/MainState.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

using namespace qireq;

namespace {

const QString kSocketHost = QStringLiteral("192.168.1.20");
const QString kConnectionPort = QStringLiteral("COM3");

// A decision byte below kFeedDecisions feeds a chunk: source decision %
// kSourceCount, size decision / kSourceCount + 1 (1..48). The rest are the
// window's moves.
constexpr int kSourceCount = 5;
constexpr int kFeedDecisions = 240;
constexpr int kWindowMoves = 5;

RxOrigin Source(int number)
{
    switch (number) {
    case 0:
        return RxOrigin::Socket();
    case 1:
        return RxOrigin::SerialPort(kConnectionPort);
    case 2:
        return RxOrigin::SerialPort(QStringLiteral("com3"));  // the same port, spelt otherwise
    case 3:
        return RxOrigin::SerialPort(QStringLiteral("/dev/ttyUSB0"));
    default:
        return RxOrigin::SerialPort(QStringLiteral("COM7"));
    }
}

template <typename Bytes>
QString HexOf(const Bytes& bytes)
{
    QByteArray raw;
    for (const auto byte : bytes)
        raw.append(static_cast<char>(byte));
    return QString::fromLatin1(raw.toHex(' '));
}

QString OnOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

// Each hand-off as one line of text, in call order, with the values it got.
class RecordingHandoffs : public ReplyHandoffs {
public:
    QStringList calls;

    QString ConnectionAddress(RxOrigin::Kind kind) const override
    {
        return kind == RxOrigin::Kind::Socket ? kSocketHost : kConnectionPort;
    }
    // Plays the connection, which takes every identity reply while not connected.
    MainState* state = nullptr;
    const DeviceList* devices = nullptr;
    bool IdentityReceived(RxOrigin::Kind kind) override
    {
        calls << QStringLiteral("Established");
        state->ConnectedIndex = devices->IndexOf(ConnectionAddress(kind));
        state->Connected = true;
        return true;
    }
    void ShowConnectedName(const QString& name) override
    {
        FUZZ_CHECK(name.size() <= 16 && !name.contains(QChar(0)));
        FUZZ_CHECK(name == name.trimmed());
        calls << QStringLiteral("Name ") + name;
    }
    void ShowConnectedMac(int index, const MacBytes& mac) override
    {
        FUZZ_CHECK(index >= 0);
        calls << QStringLiteral("Mac %1 %2").arg(index).arg(HexOf(mac));
    }
    void ShowStatusPanel(bool visible) override
    {
        calls << QStringLiteral("Panel ") + OnOff(visible);
    }
    void ApplyStatusReply(const StatusReading& status) override
    {
        calls << QStringLiteral("Status %1 %2 %3 %4 %5")
                     .arg(status.RawTemperature)
                     .arg(OnOff(status.ProtectAlarm), OnOff(status.TempAlarm),
                          OnOff(status.VoltageAlarm), OnOff(status.Standby));
    }
    void ApplyEqBlock(const EqBlock& block) override
    {
        calls << QStringLiteral("Block ") + HexOf(block);
    }
    void ApplyBandEcho(const BandEcho& echo) override
    {
        FUZZ_CHECK(echo.BandNumber >= 1 && echo.BandNumber <= 5);
        calls << QStringLiteral("Band %1 %2").arg(echo.BandNumber).arg(HexOf(echo.Record));
    }
    void ApplyBypassEcho(bool bypass) override
    {
        calls << QStringLiteral("Bypass ") + OnOff(bypass);
    }
    void ApplyTrimEcho(int trim) override
    {
        FUZZ_CHECK(trim >= -18 && trim <= 0);
        calls << QStringLiteral("Trim %1").arg(trim);
    }
    void PostInfoMessage(int burnCount, int totalMinutes) override
    {
        calls << QStringLiteral("Info %1 %2").arg(burnCount).arg(totalMinutes);
    }
};

// The assembly table and the reply fields written out once more, plainly,
// to hold the real path against. Keeps its own copy of what the path
// changes: the listed keys, the connection fields and the flags.
class Model {
public:
    QStringList keys;
    bool addPending = false;
    bool probeHold = false;
    bool connected = false;
    int connectedIndex = -1;
    int sendGate = 0;
    bool heard = false;
    QStringList calls;

    void Feed(const RxOrigin& origin, const QByteArray& bytes)
    {
        for (const char byte : bytes) {
            if (const std::optional<QByteArray> frame = Assemble(static_cast<std::uint8_t>(byte)))
                Dispatch(origin, *frame);
        }
    }
    void DropPartialFrame()
    {
        state_ = 0;
        frame_.clear();
    }
    int State() const { return state_; }
    int Count() const { return static_cast<int>(frame_.size()); }
    int IndexOf(const QString& key) const
    {
        for (int i = 0; i < keys.size(); ++i) {
            if (keys[i].compare(key, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

private:
    std::optional<QByteArray> Assemble(std::uint8_t byte)
    {
        static const char kHeader[] = {0x01, 0x20, 0x03, 0x40};
        if (state_ <= 3) {
            if (static_cast<char>(byte) == kHeader[state_]) {
                frame_.append(static_cast<char>(byte));
                ++state_;
            } else {
                DropPartialFrame();
            }
            return std::nullopt;
        }
        frame_.append(static_cast<char>(byte));
        state_ = 5;
        if (frame_.size() < 6 || frame_.size() < static_cast<std::uint8_t>(frame_[4]))
            return std::nullopt;
        const QByteArray frame = frame_;
        DropPartialFrame();
        return frame;
    }

    static QString NameOf(QByteArray field)
    {
        const auto blank = [](char c) {
            const auto u = static_cast<std::uint8_t>(c);
            return u <= 0x20 || (u >= 0x7F && u <= 0xA0);  // blanks and control characters
        };
        field.truncate(field.indexOf('\0') < 0 ? field.size() : field.indexOf('\0'));
        while (!field.isEmpty() && blank(field.front()))
            field.remove(0, 1);
        while (!field.isEmpty() && blank(field.back()))
            field.chop(1);
        return QString::fromLatin1(field);
    }

    static int TrimOf(int code) { return std::clamp((code - 121) / 2, -18, 0); }

    void Dispatch(const RxOrigin& origin, const QByteArray& f)
    {
        heard = true;
        const auto at = [&f](int i) { return static_cast<int>(static_cast<std::uint8_t>(f[i])); };
        const auto le16 = [&at](int i) { return at(i) | (at(i + 1) << 8); };
        const bool serial = origin.kind == RxOrigin::Kind::SerialPort;
        const qsizetype size = f.size();
        switch (at(5)) {
        case 0x0B:
            if (serial && !origin.portName.isEmpty() && IndexOf(origin.portName) < 0 &&
                !addPending) {
                keys << origin.portName;
                addPending = true;
                probeHold = true;
            }
            return;
        case 0x1F:
            if (connected)
                return;
            calls << QStringLiteral("Established");
            sendGate = 9;
            connectedIndex = IndexOf(serial ? kConnectionPort : kSocketHost);
            connected = true;
            if (connectedIndex != -1)
                calls << QStringLiteral("Name ") + NameOf(f.mid(7, 16));
            calls << QStringLiteral("Panel ") + OnOff(size > 23 && at(23) >= 17);
            return;
        case 0x11:
            if (size >= 14 && at(7) >= 1 && at(7) <= 5)
                calls << QStringLiteral("Band %1 %2").arg(at(7)).arg(HexOf(f.mid(8, 6)));
            return;
        case 0x13:
            if (size >= 8)
                calls << QStringLiteral("Bypass ") + OnOff(at(7) != 0);
            return;
        case 0x0E:
            if (size >= 7)
                calls << QStringLiteral("Trim %1").arg(TrimOf(at(6)));
            return;
        case 0x14:
            if (size >= 74) {
                sendGate = 0;
                calls << QStringLiteral("Block ") + HexOf(f.left(74));
            }
            return;
        case 0x21: {
            const int index = serial ? connectedIndex : IndexOf(kSocketHost);
            if (index != -1 && size >= 13)
                calls << QStringLiteral("Mac %1 %2").arg(index).arg(HexOf(f.mid(7, 6)));
            return;
        }
        case 0x23:
            if (size >= 21)
                calls << QStringLiteral("Status %1 %2 %3 %4 %5")
                             .arg(at(9) + 256 * at(10))
                             .arg(OnOff(at(17) != 0), OnOff(at(18) != 0), OnOff(at(19) != 0),
                                  OnOff(at(20) != 0));
            return;
        case 0x24:
            if (size >= 13)
                calls << QStringLiteral("Info %1 %2").arg(at(7)).arg(le16(9) + 10000 * le16(11));
            return;
        default:
            return;
        }
    }

    int state_ = 0;
    QByteArray frame_;
};

void CheckSameCalls(const QStringList& real, const QStringList& expected)
{
    if (real == expected)
        return;
    std::fprintf(stderr, "hand-offs:\n  %s\nexpected:\n  %s\n",
                 qPrintable(real.join(QStringLiteral("\n  "))),
                 qPrintable(expected.join(QStringLiteral("\n  "))));
    FUZZ_CHECK(real == expected);
}

void CheckList(const DeviceList& devices)
{
    const QVector<DeviceEntry> entries = devices.Devices();
    for (int i = 0; i < entries.size(); ++i) {
        const DeviceEntry& entry = entries[i];
        FUZZ_CHECK(!entry.Address.isEmpty());
        FUZZ_CHECK(entry.Index == i);
        FUZZ_CHECK(devices.IndexOf(entry.Address) == i);  // listed once, in any letter case
        FUZZ_CHECK(!entry.IsSerial() || entry.Mac == kUnknownMac);
    }
}

// One move of the window between two chunks, on both the real objects and the model.
void WindowMove(int move, FuzzedDataProvider& input, MainState& state, DeviceList& devices,
                FrameAssembler& assembler, Model& model)
{
    switch (move) {
    case 0:  // the new unit's tile is built
        devices.Flags().AddPending.store(false);
        model.addPending = false;
        return;
    case 1:  // disconnected
        state.Connected = false;
        model.connected = false;
        return;
    case 2:  // a tile click that drops the TCP connection drops the partial frame too
        assembler.Reset();
        model.DropPartialFrame();
        return;
    case 3:
        if (devices.Count() > 0) {
            const int index = input.ConsumeIntegralInRange<int>(0, devices.Count() - 1);
            devices.Remove(index);
            model.keys.removeAt(index);
        }
        return;
    default:  // the LAN unit typed in by the user, unless it is listed
        if (model.IndexOf(kSocketHost) < 0)
            model.keys << kSocketHost;
        devices.AddUnitByHand(kSocketHost);
        return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    MainState state;
    DeviceList devices;
    FrameAssembler assembler;
    RecordingHandoffs handoffs;
    handoffs.state = &state;
    handoffs.devices = &devices;
    ReplyDispatcher dispatcher(state, devices, assembler, handoffs);
    Model model;
    devices.AddUnitByHand(kSocketHost);
    model.keys << kSocketHost;

    while (input.remaining_bytes() > 0) {
        const int decision = input.ConsumeIntegral<std::uint8_t>();
        if (decision >= kFeedDecisions) {
            WindowMove((decision - kFeedDecisions) % kWindowMoves, input, state, devices, assembler,
                       model);
            CheckList(devices);
            FUZZ_CHECK(devices.DeviceKeys() == model.keys);
            continue;
        }
        const RxOrigin origin = Source(decision % kSourceCount);
        const std::string bytes = input.ConsumeBytesAsString(
            static_cast<std::size_t>(decision / kSourceCount + 1));
        const QByteArray chunk(bytes.data(), static_cast<qsizetype>(bytes.size()));

        handoffs.calls.clear();
        model.calls.clear();
        state.Heard = false;
        state.QuietTicks = 5;
        model.heard = false;
        dispatcher.Feed(origin, chunk);
        model.Feed(origin, chunk);

        CheckSameCalls(handoffs.calls, model.calls);
        FUZZ_CHECK(state.Heard == model.heard);
        FUZZ_CHECK(state.QuietTicks == (model.heard ? 0 : 5));
        FUZZ_CHECK(state.Connected == model.connected);
        FUZZ_CHECK(state.ConnectedIndex == model.connectedIndex);
        FUZZ_CHECK(state.SendGate == model.sendGate);
        FUZZ_CHECK(assembler.State() == model.State());
        FUZZ_CHECK(assembler.Count() == model.Count());
        FUZZ_CHECK(devices.DeviceKeys() == model.keys);
        FUZZ_CHECK(devices.Flags().AddPending.load() == model.addPending);
        FUZZ_CHECK(devices.Flags().ProbeHold.load() == model.probeHold);
        CheckList(devices);
    }
    return 0;
}
