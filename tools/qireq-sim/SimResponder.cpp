#include "SimResponder.h"

namespace qireq::sim {

SimResponder::SimResponder(SimDevice& device, Writer write, Dropper drop, QObject* parent)
    : QObject(parent), device_(device), drop_(std::move(drop)), output_(std::move(write), this)
{
    assembler_.SetFrameHandler([this](const QByteArray& frame) { HandleFrame(frame); });
}

void SimResponder::Receive(const char* data, qsizetype size)
{
    if (!dropped_)
        assembler_.Feed(data, size);
}

void SimResponder::HandleFrame(const QByteArray& frame)
{
    // Bytes after the frame that ends the connection are not looked at.
    if (dropped_)
        return;
    ++frames_;
    const QByteArray reply = device_.Respond(frame);
    const SimFaults& faults = device_.Faults();
    if (!reply.isEmpty()) {
        const qint64 due = output_.NowMs() + faults.delayMs;
        if (faults.garbage)
            QueueReply(GarbageBytes(), QStringLiteral("GARBAGE"), due);
        QueueReply(reply, QStringLiteral("TX"), due);
    }
    if (drop_ && faults.dropAfter >= 0 && frames_ >= faults.dropAfter) {
        dropped_ = true;
        SimOutputQueue::Item end;
        end.onSend = [this] {
            device_.Log().Line(QStringLiteral("DROP"));
            drop_();
        };
        output_.Push(std::move(end));
    }
}

void SimResponder::QueueReply(const QByteArray& reply, const QString& tag, qint64 notBeforeMs)
{
    const int piece = device_.Faults().chunkBytes > 0 ? device_.Faults().chunkBytes
                                                      : static_cast<int>(reply.size());
    for (qsizetype at = 0; at < reply.size(); at += piece) {
        SimOutputQueue::Item item;
        item.bytes = reply.mid(at, piece);
        item.notBeforeMs = notBeforeMs;
        if (at == 0) {
            item.onSend = [this, reply, tag] { device_.Log().Bytes(tag, reply); };
        } else {
            item.gapMs = device_.Faults().chunkPauseMs;
        }
        output_.Push(std::move(item));
    }
}

}  // namespace qireq::sim
