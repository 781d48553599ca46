// eq show, eq set, eq trim, eq bypass, eq reset: one unit each.
#include "EqText.h"
#include "UnitCommands.h"
#include "UnitSession.h"
#include "WriteCheck.h"

#include "eq/EqBand.h"
#include "eq/EqDisplay.h"
#include "protocol/Frames.h"
#include "protocol/ReplyFields.h"

namespace qireq::ctl {

namespace {

void ShowBlock(const EqBlock& block, UnitResult& r)
{
    r.Lines << QStringLiteral("trim: %1 dB").arg(DecodeTrim(block[kBlockTrimOffset]));
    r.Lines << QStringLiteral("bypass: %1").arg(block[kBlockBypassOffset] != 0 ? QStringLiteral("on")
                                                                                 : QStringLiteral("off"));
    for (int n = 1; n <= kBandCount; ++n)
        r.Lines << BandLine(UnitBandOf(block, n));
    r.Fields.insert(QStringLiteral("eq"), EqJson(block));
}

}  // namespace

bool RunEqShow(UnitSession& s, const PreparedCommand&, UnitResult& r)
{
    const auto block = s.ReadBlock();
    if (!block)
        return false;
    ShowBlock(*block, r);
    return true;
}

bool RunEqSet(UnitSession& s, const PreparedCommand& p, UnitResult& r)
{
    // The band as the unit holds it; only what was asked for changes.
    const auto before = s.ReadBlock();
    if (!before)
        return false;
    UnitBand want = UnitBandOf(*before, p.Band);
    if (p.Type)
        want.Type = *p.Type;
    if (p.Freq)
        want.Freq = *p.Freq;
    if (p.Q)
        want.Q = *p.Q;
    if (p.Gain)
        want.GainCode = *p.Gain;
    if (p.Off)
        want.Off = *p.Off;
    // The shelf rule of the window: a High Shelf at 1000 Hz or above, a Low
    // Shelf at 1000 Hz or below. A type change moves the band to 1000 Hz as
    // the type button does; a frequency asked for on the wrong side is an error.
    const int fixed = ShelfFix(want.Type, want.Freq);
    if (fixed != want.Freq) {
        if (p.Freq) {
            r.Error = QStringLiteral("a %1 band sits at 1000 Hz or %2, not at %3 Hz")
                          .arg(TypeName(want.Type),
                               want.Type == kHighShelf ? QStringLiteral("above") : QStringLiteral("below"),
                               FrequencyText(want.Freq));
            return false;
        }
        r.Lines << QStringLiteral("frequency moved to 1000.0 Hz, the %1's side of the line").arg(TypeName(want.Type));
        want.Freq = fixed;
    }

    EqBand band;
    band.BandType = want.Type;
    band.BandFreq = want.Freq;
    band.BandQ = want.Q;
    band.BandGain = want.GainCode;
    band.BandOff = want.Off ? 1 : 0;
    SetBandFrame frame(p.Band);
    const auto reply = s.Request(frame.Fill(band), Command::SetBand, QStringLiteral("SetBand"));
    if (!reply)
        return false;
    const auto echo = ReadBandEcho(*reply);
    if (!echo || echo->BandNumber != p.Band) {
        r.Error = QStringLiteral("the unit's echo named another band");
        return false;
    }
    if (auto d = BandDifference(want, UnitBandOf(echo->BandNumber, echo->Record), QStringLiteral("echo"))) {
        r.Error = *d;
        return false;
    }
    const auto after = s.ReadBlock(QStringLiteral("the read-back ReadEqBlock"));
    if (!after)
        return false;
    if (auto d = BandDifference(want, UnitBandOf(*after, p.Band), QStringLiteral("read-back"))) {
        r.Error = *d;
        return false;
    }
    r.Lines << BandLine(want);
    r.Fields.insert(QStringLiteral("band"), BandJson(want));
    return true;
}

bool RunEqTrim(UnitSession& s, const PreparedCommand& p, UnitResult& r)
{
    SetTrimFrame frame;
    const auto reply = s.Request(frame.Fill(p.Trim), Command::SetTrim, QStringLiteral("SetTrim"));
    if (!reply)
        return false;
    const auto code = ReadTrimEcho(*reply);
    const int echoed = code ? DecodeTrim(*code) : 1;
    if (auto d = TrimDifference(p.Trim, echoed, QStringLiteral("echo"))) {
        r.Error = *d;
        return false;
    }
    const auto after = s.ReadBlock(QStringLiteral("the read-back ReadEqBlock"));
    if (!after)
        return false;
    if (auto d = TrimDifference(p.Trim, DecodeTrim((*after)[kBlockTrimOffset]), QStringLiteral("read-back"))) {
        r.Error = *d;
        return false;
    }
    r.Lines << QStringLiteral("trim: %1 dB").arg(p.Trim);
    r.Fields.insert(QStringLiteral("trim_db"), p.Trim);
    return true;
}

bool RunEqBypass(UnitSession& s, const PreparedCommand& p, UnitResult& r)
{
    SetBypassFrame frame;
    const auto reply = s.Request(frame.Fill(p.Bypass), Command::SetBypass, QStringLiteral("SetBypass"));
    if (!reply)
        return false;
    const auto echoed = ReadBypassEcho(*reply);
    if (auto d = BypassDifference(p.Bypass, echoed.value_or(!p.Bypass), QStringLiteral("echo"))) {
        r.Error = *d;
        return false;
    }
    const auto after = s.ReadBlock(QStringLiteral("the read-back ReadEqBlock"));
    if (!after)
        return false;
    if (auto d = BypassDifference(p.Bypass, (*after)[kBlockBypassOffset] != 0, QStringLiteral("read-back"))) {
        r.Error = *d;
        return false;
    }
    r.Lines << QStringLiteral("bypass: %1").arg(p.Bypass ? QStringLiteral("on") : QStringLiteral("off"));
    r.Fields.insert(QStringLiteral("bypass"), p.Bypass);
    return true;
}

bool RunEqReset(UnitSession& s, const PreparedCommand& p, UnitResult& r)
{
    if (!WriteBlockVerified(s, p.Block, r))
        return false;
    r.Lines << QStringLiteral("reset to the built-in setting");
    return true;
}

}  // namespace qireq::ctl
