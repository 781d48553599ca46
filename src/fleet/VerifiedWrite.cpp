#include "fleet/VerifiedWrite.h"

#include "fleet/UnitSession.h"
#include "fleet/WriteCheck.h"

#include "protocol/ReplyFields.h"

#include <QThread>

namespace qireq::fleet {

std::optional<EqBlock> WriteVerified(UnitSession& s, const QByteArray& frame, Command answer, const QString& what,
                                     const EchoCheck& echo, const ReadBackCheck& readBack, UnitResult& r,
                                     int settleMs)
{
    const auto reply = s.Request(frame, answer, what);
    if (!reply)
        return std::nullopt;
    if (auto d = echo(*reply)) {
        r.Error = *d;
        return std::nullopt;
    }
    if (settleMs > 0)
        QThread::msleep(static_cast<unsigned long>(settleMs));
    const auto after = s.ReadBlock(QStringLiteral("the read-back ReadEqBlock"));
    if (!after)
        return std::nullopt;
    if (auto d = readBack(*after)) {
        r.Error = *d;
        return std::nullopt;
    }
    return after;
}

std::optional<EqBlock> WriteBlockVerified(UnitSession& s, const EqBlock& block, UnitResult& r)
{
    const auto echo = [&block](const QByteArray& answer) -> std::optional<QString> {
        const auto got = ReadEqBlockReply(answer);
        if (!got)
            return QStringLiteral("the unit's answer to WriteEqBlock was %1 bytes, not 74").arg(answer.size());
        return BlockDifference(block, *got, QStringLiteral("echo"));
    };
    const auto readBack = [&block](const EqBlock& after) {
        return BlockDifference(block, after, QStringLiteral("read-back"));
    };
    return WriteVerified(s, WriteEqBlockFrame(block), kEqBlockReply, QStringLiteral("WriteEqBlock"), echo, readBack,
                         r, kBlockSettleMs);
}

}  // namespace qireq::fleet
