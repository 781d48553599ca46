#pragma once
// Finds frames in the byte stream from the units by their fixed header and
// length byte. One instance serves every source (both serial ports and TCP),
// so a partial frame left by one source is completed by the next bytes from
// any source. GUI thread only; not a QObject.
//
// States: 0..3 match the header 01 20 03 40 one byte at a time (a byte that
// breaks it is dropped and not looked at again as a new 0x01); 4 takes the
// length byte; 5 stores bytes until the count reaches the length. The
// trailer is not checked. A length below 6 ends the frame right after the
// command byte, so every frame handed on holds at least its command byte.
#include <QByteArray>

#include <array>
#include <cstdint>
#include <functional>

namespace qireq {

class FrameAssembler {
public:
    using FrameHandler = std::function<void(const QByteArray& frame)>;

    static constexpr int kBufferSize = 1024;

    FrameAssembler() = default;

    // Called with each complete frame: exactly the bytes assembled.
    void SetFrameHandler(FrameHandler handler);

    void Feed(const char* data, qsizetype size);
    void Feed(const QByteArray& data);

    // Drops a partly assembled frame (a tile click that drops a connection).
    void Reset();

    int State() const { return RxState; }
    int Count() const { return RxCount; }

private:
    void FeedByte(std::uint8_t byte);
    void Complete();

    FrameHandler handler_;
    int RxState = 0;
    int RxCount = 0;
    std::array<char, kBufferSize> RxFrame{};
    // Bytes fed from inside the frame handler (a nested event loop) wait
    // here and are assembled after the current ones, in arrival order.
    QByteArray deferred_;
    bool feeding_ = false;
};

}  // namespace qireq
