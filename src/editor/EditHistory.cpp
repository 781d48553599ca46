#include "editor/EditHistory.h"

#include "editor/BandEditor.h"
#include "protocol/RequestSender.h"
#include "state/MainState.h"

#include <QUndoCommand>

namespace qireq {

namespace {

// One step: undo brings back the EQ before it, redo the one after. Pushing
// runs redo once; the change has been made by then, so that first one is skipped.
class EqStep final : public QUndoCommand {
public:
    EqStep(EditHistory& history, const QString& text, EqSnapshot before, EqSnapshot after)
        : QUndoCommand(text), history_(history), before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { history_.Restore(before_); }
    void redo() override
    {
        if (pushed_)
            history_.Restore(after_);
        pushed_ = true;
    }

private:
    EditHistory& history_;
    EqSnapshot before_;
    EqSnapshot after_;
    bool pushed_ = false;
};

// Only what a band write carries is taken from the target; the shown gain
// and the unit's off flag stay until the echo (or the refresh) sets them.
void TakeBandSetting(EqBand& band, const EqBand& from)
{
    band.BandType = from.BandType;
    band.BandFreq = from.BandFreq;
    band.BandQ = from.BandQ;
    band.BandGain = from.BandGain;
    band.BandOff = from.BandOff;
}

}  // namespace

QString BandStepText(int bandNumber, const QString& what)
{
    return QStringLiteral("Band %1 %2").arg(bandNumber).arg(what);
}

EditHistory::EditHistory(MainState& state, RequestSender& requests, BandEditor& editor,
                         QObject* parent)
    : QObject(parent), state_(state), requests_(requests), editor_(editor)
{
    stack_.setObjectName(QStringLiteral("EditStack"));
    waitEnds_.setSingleShot(true);
    connect(&waitEnds_, &QTimer::timeout, this, &EditHistory::Pump);
}

EditHistory::~EditHistory() = default;

EqSnapshot EditHistory::Current() const
{
    return SnapshotOf(state_.Eq, editor_.LastBlock());
}

void EditHistory::Begin(const QString& text)
{
    if (before_)
        return;
    DropWaitingWrites();
    before_ = Current();
    text_ = text;
}

void EditHistory::End()
{
    End(Current());
}

void EditHistory::End(const EqSnapshot& expected)
{
    if (!before_)
        return;
    const EqSnapshot before = *before_;
    before_.reset();
    Record(text_, before, expected);
}

void EditHistory::Record(const QString& text, const EqSnapshot& before, const EqSnapshot& after)
{
    if (SameSetting(before, after) && !OtherSettingsDiffer(before.Block, after.Block))
        return;
    DropWaitingWrites();
    stack_.push(new EqStep(*this, text, before, after));
}

void EditHistory::Restore(const EqSnapshot& target)
{
    if (state_.Connected && requests_.HasLink()) {
        queue_.Restore(Current(), target);
        Pump();
    } else {
        queue_.Clear();
        Show(target);
    }
}

// A new change goes past an undo still being sent: what undo had not sent
// yet would otherwise follow it and take part of it back.
void EditHistory::DropWaitingWrites()
{
    if (!queue_.Empty())
        queue_.Clear();
}

void EditHistory::Clear()
{
    before_.reset();
    waitEnds_.stop();
    queue_.Clear();
    stack_.clear();
}

void EditHistory::Pump()
{
    if (!state_.Connected || !requests_.HasLink()) {
        // The link went: what was not sent is not sent to whatever comes next.
        queue_.Clear();
        return;
    }
    if (!requests_.AwaitingEcho()) {
        if (queue_.Empty()) {
            queue_.Settle();
            return;
        }
        Send(queue_.TakeNext());
    }
    if (queue_.Busy())
        waitEnds_.start(requests_.EchoWaitLeftMs() + 1);
}

void EditHistory::Send(const RestoreWrite& write)
{
    switch (write.WriteKind) {
    case RestoreWrite::Kind::Band:
        TakeBandSetting(state_.Eq.Bands[static_cast<std::size_t>(write.BandNumber - 1)], write.Band);
        editor_.SendBand(write.BandNumber);
        break;
    case RestoreWrite::Kind::Trim:
        state_.Eq.Trim = write.Trim;
        requests_.SendTrim();
        break;
    case RestoreWrite::Kind::Bypass:
        requests_.SendBypass(write.Bypass);
        break;
    case RestoreWrite::Kind::Block:
        // As Open sends a preset: no band commands until the unit's block is in.
        state_.SendGate = 0;
        requests_.SendEqBlock(write.Block);
        break;
    }
}

void EditHistory::Show(const EqSnapshot& target)
{
    const EqSnapshot from = Current();
    editor_.SetLastBlock(target.Block);
    for (int n = 1; n <= kBandCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        if (SameBandSetting(from.Eq.Bands[i], target.Eq.Bands[i]))
            continue;
        EqBand& band = state_.Eq.Bands[i];
        TakeBandSetting(band, target.Eq.Bands[i]);
        band.BandOffShown = band.BandOff;
        editor_.RefreshBand(n);
    }
    if (from.Eq.Trim != target.Eq.Trim) {
        state_.Eq.Trim = target.Eq.Trim;
        editor_.ShowTrim();
    }
    if (from.Eq.Bypass != target.Eq.Bypass) {
        state_.Eq.Bypass = target.Eq.Bypass;
        editor_.ShowBypass();
    }
}

}  // namespace qireq
