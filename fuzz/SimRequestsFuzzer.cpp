// fuzz_sim_requests: the simulated unit's request handling. The input is a
// byte stream to the unit, cut into chunks of random sizes and fed to a
// SimResponder whose writes are recorded (no sockets: replies without delay
// or pauses are written at once), under random fault switches (garbage
// before replies, pieces, silence, an answer limit, a dropped connection).
// A FrameAssembler of the fuzzer's own finds the same request frames, and
// SimUnit::Answer of a second unit gives the reply to each.
//
// Input: the stream from the front, the decisions (fault switches, then
// the size of each chunk) from the back.
//
// Checked: each reply is empty or one well-formed frame (01 20 03 40, a
// length byte equal to its size, the command code asked for, 01 05 60 at
// its end); the unit's EQ block keeps its header, length, command and
// trailer bytes; the responder writes exactly the replies due (garbage
// before each when asked, pieces no longer than asked, nothing after a
// drop or once muted); and what it writes, read by the program's own
// assembler, gives back exactly those replies.
#include "FuzzCheck.h"

#include "SimDevice.h"
#include "SimResponder.h"
#include "SimUnit.h"

#include "protocol/FrameAssembler.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QVector>

#include <cstdint>
#include <string>

using namespace qireq;
using namespace qireq::sim;

namespace {

constexpr int kLargestChunk = 64;

int CountOrNever(std::uint8_t byte)
{
    return byte < 0x80 ? -1 : (byte - 0x80) % 9;
}

SimFaults FaultsFrom(FuzzedDataProvider& input)
{
    const auto switches = input.ConsumeIntegral<std::uint8_t>();
    SimFaults faults;
    faults.garbage = (switches & 0x01) != 0;
    faults.silent = (switches & 0x0E) == 0x0E;
    faults.chunkBytes = switches >> 4;
    faults.chunkPauseMs = 0;  // with no pause, every piece is written at once
    faults.answerLimit = CountOrNever(input.ConsumeIntegral<std::uint8_t>());
    faults.dropAfter = CountOrNever(input.ConsumeIntegral<std::uint8_t>());
    return faults;
}

std::uint8_t At(const QByteArray& bytes, qsizetype i)
{
    return static_cast<std::uint8_t>(bytes[i]);
}

void CheckReply(const QByteArray& request, const QByteArray& reply)
{
    if (reply.isEmpty())
        return;
    const qsizetype size = reply.size();
    FUZZ_CHECK(size >= 9 && size <= 255);
    FUZZ_CHECK(At(reply, 0) == 0x01 && At(reply, 1) == 0x20 && At(reply, 2) == 0x03 &&
               At(reply, 3) == 0x40);
    FUZZ_CHECK(At(reply, 4) == size);
    FUZZ_CHECK(At(reply, size - 3) == 0x01 && At(reply, size - 2) == 0x05 &&
               At(reply, size - 1) == 0x60);
    // The same code, but for a read of the EQ block, answered with the block.
    const std::uint8_t asked = At(request, 5);
    FUZZ_CHECK(At(reply, 5) == (asked == 0x15 ? 0x14 : asked));
}

void CheckBlock(const EqBlock& block)
{
    FUZZ_CHECK(block[0] == 0x01 && block[1] == 0x20 && block[2] == 0x03 && block[3] == 0x40);
    FUZZ_CHECK(block[4] == kEqBlockSize && block[5] == 0x14);
    FUZZ_CHECK(block[71] == 0x01 && block[72] == 0x05 && block[73] == 0x60);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const SimFaults faults = FaultsFrom(input);

    QVector<QByteArray> writes;
    int drops = 0;
    SimDevice device(SimUnitState{}, faults, SimLog([](const QString&) {}));
    SimResponder responder(
        device, [&writes](const QByteArray& bytes) { writes << bytes; }, [&drops] { ++drops; });

    // The reference: the same frames, answered by a unit of its own.
    SimUnit unit;
    QByteArray expected;
    QVector<QByteArray> expectedReplies;
    int frames = 0;
    bool dropped = false;
    FrameAssembler requests;
    requests.SetFrameHandler([&](const QByteArray& frame) {
        const QByteArray reply = unit.Answer(frame);
        CheckReply(frame, reply);
        CheckBlock(unit.State().block);
        if (dropped)
            return;
        ++frames;
        const bool muted =
            faults.silent || (faults.answerLimit >= 0 && frames > faults.answerLimit);
        if (!reply.isEmpty() && !muted) {
            if (faults.garbage)
                expected += GarbageBytes();
            expected += reply;
            expectedReplies << reply;
        }
        dropped = faults.dropAfter >= 0 && frames >= faults.dropAfter;
    });

    while (input.remaining_bytes() > 0) {
        const int chunkSize = input.ConsumeIntegralInRange<int>(1, kLargestChunk);
        const std::string chunk = input.ConsumeBytesAsString(static_cast<std::size_t>(chunkSize));
        responder.Receive(chunk.data(), static_cast<qsizetype>(chunk.size()));
        requests.Feed(chunk.data(), static_cast<qsizetype>(chunk.size()));
    }

    QByteArray written;
    for (const QByteArray& piece : writes) {
        FUZZ_CHECK(!piece.isEmpty());
        FUZZ_CHECK(faults.chunkBytes == 0 || piece.size() <= faults.chunkBytes);
        written += piece;
    }
    FUZZ_CHECK(written == expected);
    FUZZ_CHECK(drops == (dropped ? 1 : 0));
    FUZZ_CHECK(responder.Dropped() == dropped);

    // What the program would make of it.
    QVector<QByteArray> received;
    FrameAssembler program;
    program.SetFrameHandler([&received](const QByteArray& frame) { received << frame; });
    program.Feed(written);
    FUZZ_CHECK(received == expectedReplies);
    return 0;
}
