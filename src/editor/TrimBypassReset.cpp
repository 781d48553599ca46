// The editor's unit-wide controls: trim steps with their auto-repeat, the
// bypass switch and the reset button.
#include "editor/BandEditor.h"

#include "controls/Artwork.h"
#include "editor/BandSteps.h"
#include "editor/EditHistory.h"
#include "editor/FieldText.h"
#include "protocol/RequestSender.h"

#include <QTimer>

namespace qireq {

// --- Trim -----------------------------------------------------------------------

// Connected, the trim field and the plot follow the unit's echo.
void BandEditor::SendOrShowTrim()
{
    if (state_.Connected)
        requests_.SendTrim();
    else
        ShowTrim();
}

void BandEditor::TrimAddDown()
{
    trimAddImg_->ShowPicture(adImages_, artwork::kPlusPressed);
    // The press and its auto-repeat are one step, ended by the release.
    history_->Begin(QStringLiteral("Trim"));
    if (!StepTrimUp(state_.Eq.Trim))
        return;
    SendOrShowTrim();
    inputAddTimer_->start();
}

void BandEditor::InputAddTimerTimer()
{
    if (StepTrimUp(state_.Eq.Trim))
        SendOrShowTrim();
}

void BandEditor::TrimAddUp()
{
    inputAddTimer_->stop();
    trimAddImg_->ShowPicture(adImages_, artwork::kPlusUp);
    history_->End();
}

void BandEditor::TrimDecDown()
{
    trimDecImg_->ShowPicture(adImages_, artwork::kMinusPressed);
    history_->Begin(QStringLiteral("Trim"));
    if (!StepTrimDown(state_.Eq.Trim))
        return;
    SendOrShowTrim();
    inputDecTimer_->start();
}

void BandEditor::InputDecTimerTimer()
{
    if (StepTrimDown(state_.Eq.Trim))
        SendOrShowTrim();
}

void BandEditor::TrimDecUp()
{
    inputDecTimer_->stop();
    trimDecImg_->ShowPicture(adImages_, artwork::kMinusUp);
    history_->End();
}

// --- Bypass and reset -------------------------------------------------------------

void BandEditor::BPImageMouseDown()
{
    history_->Begin(QStringLiteral("Bypass"));
    if (state_.Connected) {
        // The switch follows the echo; the step is what was asked for.
        EqSnapshot asked = history_->Current();
        asked.Eq.Bypass = !asked.Eq.Bypass;
        requests_.SendBypass(!state_.Eq.Bypass);
        history_->End(asked);
        return;
    }
    state_.Eq.Bypass = !state_.Eq.Bypass;
    ShowBypass();
    history_->End();
}

void BandEditor::BPImageMouseUp() {}

void BandEditor::ResetImgClick()
{
    if (requests_.HasLink() && state_.Connected) {
        history_->Record(QStringLiteral("Reset"), history_->Current(), SnapshotOfBlock(ResetBlock));
        requests_.SendEqBlock(ResetBlock);
        return;
    }
    history_->Begin(QStringLiteral("Reset"));
    ApplyEqBlock(ResetBlock);
    history_->End();
}

void BandEditor::RSTBtnDown()
{
    if (topBar_.ResetImg)
        topBar_.ResetImg->ShowPicture(rstImages_, artwork::kResetPressed);
}

void BandEditor::RSTBtnUp()
{
    if (!topBar_.ResetImg)
        return;
    topBar_.ResetImg->ShowPicture(rstImages_, artwork::kResetUp);
    topBar_.ResetImg->setEnabled(true);
}

}  // namespace qireq
