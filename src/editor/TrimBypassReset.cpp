// The editor's unit-wide controls: trim steps with their auto-repeat, the
// bypass switch and the reset button.
#include "editor/BandEditor.h"

#include "controls/Artwork.h"
#include "editor/BandSteps.h"
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
}

void BandEditor::TrimDecDown()
{
    trimDecImg_->ShowPicture(adImages_, artwork::kMinusPressed);
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
}

// --- Bypass and reset -------------------------------------------------------------

void BandEditor::BPImageMouseDown()
{
    if (state_.Connected) {
        requests_.SendBypass(!state_.Eq.Bypass);
        return;
    }
    state_.Eq.Bypass = !state_.Eq.Bypass;
    ShowBypass();
}

void BandEditor::BPImageMouseUp() {}

void BandEditor::ResetImgClick()
{
    if (requests_.HasLink() && state_.Connected)
        requests_.SendEqBlock(ResetBlock);
    else
        ApplyEqBlock(ResetBlock);
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
