// preset pull and preset push (import --to too): one unit each.
#include "EqText.h"
#include "UnitCommands.h"
#include "UnitSession.h"
#include "WriteCheck.h"

#include "filters/FilterExport.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"
#include "protocol/Frames.h"
#include "protocol/ReplyFields.h"

#include <QThread>

namespace qireq::ctl {

bool WriteBlockVerified(UnitSession& s, const EqBlock& block, UnitResult& r)
{
    const auto reply = s.Request(WriteEqBlockFrame(block), kEqBlockReply, QStringLiteral("WriteEqBlock"));
    if (!reply)
        return false;
    const auto echo = ReadEqBlockReply(*reply);
    if (!echo) {
        r.Error = QStringLiteral("the unit's answer to WriteEqBlock was %1 bytes, not 74").arg(reply->size());
        return false;
    }
    if (auto d = BlockDifference(block, *echo, QStringLiteral("echo"))) {
        r.Error = *d;
        return false;
    }
    QThread::msleep(kBlockSettleMs);
    const auto after = s.ReadBlock(QStringLiteral("the read-back ReadEqBlock"));
    if (!after)
        return false;
    if (auto d = BlockDifference(block, *after, QStringLiteral("read-back"))) {
        r.Error = *d;
        return false;
    }
    r.Fields.insert(QStringLiteral("eq"), EqJson(*after));
    return true;
}

bool RunPresetPush(UnitSession& s, const PreparedCommand& p, UnitResult& r)
{
    if (!WriteBlockVerified(s, p.Block, r))
        return false;
    r.Lines << QStringLiteral("preset written and read back");
    return true;
}

bool RunPresetPull(UnitSession& s, const PreparedCommand& p, UnitResult& r)
{
    const auto block = s.ReadBlock();
    if (!block)
        return false;
    // As the window's Save As writes it: the EQ it shows for the block, the
    // off flags the unit reported.
    EqBlock record = NewSavingRecord();
    FillSavingRecord(record, ShownEqOf(*block), true);
    const QString file = PresetFileName(p.File);
    const QString problem = WritePresetFile(file, record);
    if (!problem.isEmpty()) {
        r.Error = problem;
        return false;
    }
    r.Lines << QStringLiteral("saved to %1").arg(file);
    r.Fields.insert(QStringLiteral("file"), file);
    r.Fields.insert(QStringLiteral("eq"), EqJson(record));
    return true;
}

}  // namespace qireq::ctl
