#include "SimDevice.h"

namespace qireq::sim {

QByteArray GarbageBytes()
{
    return QByteArray::fromHex("00FF01200300A5017F5A");
}

QByteArray SimDevice::Respond(const QByteArray& frame)
{
    log_.Bytes(QStringLiteral("RX"), frame);
    ++framesSeen_;
    if (faults_.silent)
        return {};
    if (faults_.answerLimit >= 0 && framesSeen_ > faults_.answerLimit)
        return {};
    return unit_.Answer(frame);
}

bool SimDevice::Answering() const
{
    if (faults_.silent)
        return false;
    return faults_.answerLimit < 0 || framesSeen_ < faults_.answerLimit;
}

}  // namespace qireq::sim
