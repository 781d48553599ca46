#include "protocol/FrameAssembler.h"

#include "protocol/Frames.h"

#include <QScopedValueRollback>

#include <utility>

namespace qireq {

void FrameAssembler::SetFrameHandler(FrameHandler handler)
{
    handler_ = std::move(handler);
}

void FrameAssembler::Feed(const QByteArray& data)
{
    Feed(data.constData(), data.size());
}

void FrameAssembler::Feed(const char* data, qsizetype size)
{
    if (data == nullptr || size <= 0)
        return;
    if (feeding_) {
        // Called again from inside the frame handler: keep arrival order by
        // assembling these bytes once the current ones are done.
        deferred_.append(data, size);
        return;
    }
    // Lowered again however the frame handler leaves (it may throw).
    const QScopedValueRollback<bool> feeding(feeding_, true);
    for (qsizetype i = 0; i < size; ++i)
        FeedByte(static_cast<std::uint8_t>(data[i]));
    while (!deferred_.isEmpty()) {
        const QByteArray next = std::exchange(deferred_, QByteArray());
        for (const char byte : next)
            FeedByte(static_cast<std::uint8_t>(byte));
    }
}

void FrameAssembler::Reset()
{
    RxState = 0;
    RxCount = 0;
}

void FrameAssembler::FeedByte(std::uint8_t byte)
{
    switch (RxState) {
    case 0:
        if (byte == kFrameHeader[0]) {
            RxFrame[0] = static_cast<char>(byte);
            RxCount = 1;
            RxState = 1;
        }
        return;
    case 1:
    case 2:
    case 3:
        if (byte == kFrameHeader[static_cast<std::size_t>(RxState)]) {
            RxFrame[static_cast<std::size_t>(RxState)] = static_cast<char>(byte);
            RxCount = RxState + 1;
            ++RxState;
        } else {
            // The breaking byte is dropped, even a 0x01.
            RxCount = 0;
            RxState = 0;
        }
        return;
    case 4:
        RxFrame[kLengthOffset] = static_cast<char>(byte);
        RxCount = kLengthOffset + 1;
        RxState = 5;
        return;
    default: {
        RxFrame[static_cast<std::size_t>(RxCount)] = static_cast<char>(byte);
        ++RxCount;
        // The length byte is at most 255, far below the buffer size, so the
        // frame always completes before the buffer could overflow; the
        // buffer bound is checked anyway.
        const int length = static_cast<std::uint8_t>(RxFrame[kLengthOffset]);
        if (RxCount >= length || RxCount >= kBufferSize)
            Complete();
        return;
    }
    }
}

void FrameAssembler::Complete()
{
    const QByteArray frame(RxFrame.data(), RxCount);
    // Ready for the next frame before the handler runs, so a handler that
    // feeds or resets the assembler sees a clean state.
    RxCount = 0;
    RxState = 0;
    // A copy, so a handler that replaces itself does not destroy the
    // function object it is running in.
    if (const FrameHandler handler = handler_)
        handler(frame);
}

}  // namespace qireq
