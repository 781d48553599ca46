#include "SimDevice.h"

namespace qireq::sim {

QByteArray GarbageBytes()
{
    return QByteArray::fromHex("00FF01200300A5017F5A");
}

SimReply SimDevice::Respond(const QByteArray& frame, bool droppable)
{
    log_.Bytes(QStringLiteral("RX"), frame);
    ++framesSeen_;
    SimReply reply;
    if (faults_.silent)
        return reply;
    if (faults_.answerLimit >= 0 && framesSeen_ > faults_.answerLimit)
        return reply;
    reply.chaos = chaos_.OnFrame(droppable);
    if (reply.chaos.mute || reply.chaos.drop)
        return reply;
    reply.bytes = unit_.Answer(frame);
    if (!reply.bytes.isEmpty())
        chaos_.OnReply(reply.bytes);
    return reply;
}

bool SimDevice::Answering() const
{
    if (faults_.silent || chaos_.Silent())
        return false;
    return faults_.answerLimit < 0 || framesSeen_ < faults_.answerLimit;
}

}  // namespace qireq::sim
