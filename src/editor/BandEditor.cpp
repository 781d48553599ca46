#include "editor/BandEditor.h"

#include "controls/Artwork.h"
#include "controls/CSpinButton.h"
#include "controls/Fftdraw.h"
#include "controls/Ptrackbar.h"
#include "controls/VclColors.h"
#include "editor/BandSteps.h"
#include "editor/EditHistory.h"
#include "editor/FieldText.h"
#include "eq/EqDisplay.h"
#include "eq/EqEncoding.h"
#include "protocol/RequestSender.h"

#include <QLineEdit>
#include <QThread>

#include <algorithm>

namespace qireq {

namespace {

constexpr int kGateWhileMoving = 0;
constexpr int kGateAfterRefresh = 3;

}  // namespace

BandEditor::BandEditor(MainState& state, RequestSender& requests, ResponseCurves& curves,
                       TFFTDraw& plot, QWidget* eqPanel, TopBarControls topBar, TrimTimers timers,
                       QObject* parent)
    : QObject(parent),
      state_(state),
      curves_(curves),
      plot_(plot),
      topBar_(topBar),
      requests_(requests)
{
    const qreal dpr = eqPanel ? eqPanel->devicePixelRatioF() : 1.0;
    typeImages_ = TypeImageList(dpr);
    eqImages_ = EQImageList(dpr);
    adImages_ = ADImageList(dpr);
    bpImages_ = BPImageList(dpr);
    rstImages_ = RstImageList(dpr);

    inputAddTimer_ = timers.InputAddTimer ? timers.InputAddTimer : &ownAddTimer_;
    inputDecTimer_ = timers.InputDecTimer ? timers.InputDecTimer : &ownDecTimer_;
    ownAddTimer_.setObjectName(QStringLiteral("InputAddTimer"));
    ownDecTimer_.setObjectName(QStringLiteral("InputDecTimer"));
    for (QTimer* timer : {inputAddTimer_, inputDecTimer_}) {
        timer->stop();
        timer->setSingleShot(false);
        timer->setInterval(kTrimRepeatMs);
    }
    connect(inputAddTimer_, &QTimer::timeout, this, &BandEditor::InputAddTimerTimer);
    connect(inputDecTimer_, &QTimer::timeout, this, &BandEditor::InputDecTimerTimer);

    history_ = std::make_unique<EditHistory>(state_, requests_, *this);
    connect(this, &BandEditor::EchoApplied, history_.get(), &EditHistory::Pump, Qt::QueuedConnection);

    BuildControls(eqPanel);

    if (topBar_.ResetImg) {
        topBar_.ResetImg->ShowPicture(rstImages_, artwork::kResetUp);
        connect(topBar_.ResetImg, &PictureButton::MouseDown, this, &BandEditor::RSTBtnDown);
        connect(topBar_.ResetImg, &PictureButton::MouseUp, this, &BandEditor::RSTBtnUp);
        connect(topBar_.ResetImg, &PictureButton::Clicked, this, &BandEditor::ResetImgClick);
    }
}

BandEditor::~BandEditor() = default;

// --- Access -----------------------------------------------------------------

bool BandEditor::ValidBand(int n)
{
    return n >= 1 && n <= kBandCount;
}

const BandControls& BandEditor::Band(int n) const
{
    return bands_[static_cast<std::size_t>(std::clamp(n, 1, kBandCount) - 1)];
}

EqBand& BandEditor::Model(int n)
{
    return state_.Eq.Bands[static_cast<std::size_t>(n - 1)];
}

const EqBand& BandEditor::Model(int n) const
{
    return state_.Eq.Bands[static_cast<std::size_t>(n - 1)];
}

int BandEditor::ShownOff(int n) const
{
    return BandShownOff(Model(n), state_.Connected) ? 1 : 0;
}

int BandEditor::SliderPosition(int n) const
{
    return Band(n).TrackBar->Position();
}

int BandEditor::ShownGainDb(int n) const
{
    return Model(n).GainShownDb;
}

// Moving a slider from code fires its change rule at once, re-entrantly. A
// slider already in place fires nothing; the model follows it either way.
void BandEditor::SetSlider(int n, int position)
{
    Band(n).TrackBar->SetPosition(position);
    Model(n).GainShownDb = -SliderPosition(n);
}

// --- Operations ---------------------------------------------------------------

void BandEditor::RefreshBand(int n)
{
    if (!ValidBand(n))
        return;
    const BandControls& c = Band(n);
    const int off = ShownOff(n);

    c.EQImage->ShowPicture(eqImages_, off ? n + 4 : n - 1);
    EnableBandControls(n, !off);
    c.EQType->ShowPicture(typeImages_, Model(n).BandType);
    ShowFieldText(*c.FreqEdit, FrequencyText(Model(n).BandFreq));
    ShowFieldText(*c.QEdit, QText(Model(n).BandQ));

    state_.SendGate = kGateWhileMoving;
    SetSlider(n, PositionFromGainCode(Model(n).BandGain));

    // The slider's change rule may have refreshed this band already; the
    // model is read again so both passes agree.
    RefreshBandCurve(curves_, n, Model(n), state_.Connected);

    RedrawResponse();
    state_.SendGate = kGateAfterRefresh;
}

void BandEditor::RefreshAllBands()
{
    for (int n = 1; n <= kBandCount; ++n)
        RefreshBand(n);
    ShowFieldText(*trimEdit_, TrimText(state_.Eq.Trim));
}

void BandEditor::RedrawResponse()
{
    for (const BandMarker& marker : BandMarkers(state_.Eq, state_.Connected))
        plot_.DrawBlock(marker.Y, marker.X, clBlack, marker.BandIndex, marker.Hidden);
    RebuildSum(curves_, state_.Eq.Trim);
    plot_.FFTDraw(curves_.Sum().data(), kResponsePoints, 0, clBlack, TPlotStyle::Line);
}

void BandEditor::SendBand(int n)
{
    if (!ValidBand(n) || !state_.Connected)
        return;
    requests_.SendBand(n);
}

void BandEditor::ShowTrim()
{
    ShowFieldText(*trimEdit_, TrimText(state_.Eq.Trim));
    RedrawResponse();
}

void BandEditor::ShowBypass()
{
    bpImage_->ShowPicture(bpImages_, state_.Eq.Bypass ? artwork::kBypassedSwitched : artwork::kNotBypassedSwitched);
    EnableEqControls(!state_.Eq.Bypass);
}

void BandEditor::EnableEqControls(bool enabled)
{
    trimAddImg_->setEnabled(enabled);
    trimDecImg_->setEnabled(enabled);
    for (const BandControls& c : bands_) {
        c.EQImage->setEnabled(enabled);
        c.EQType->setEnabled(enabled);
        c.FreqCButton->setEnabled(enabled);
        c.QCButton->setEnabled(enabled);
        c.TrackBar->setEnabled(enabled);
    }
    plot_.setEnabled(enabled);
}

void BandEditor::EnableBandControls(int n, bool enabled)
{
    if (!ValidBand(n))
        return;
    const BandControls& c = Band(n);
    c.EQType->setEnabled(enabled);
    c.FreqEdit->setEnabled(enabled);
    c.QEdit->setEnabled(enabled);
    c.FreqCButton->setEnabled(enabled);
    c.QCButton->setEnabled(enabled);
    c.TrackBar->setEnabled(enabled);
}

void BandEditor::ApplyEqBlock(const EqBlock& block)
{
    lastBlock_ = block;
    EqState& eq = state_.Eq;
    eq.Trim = DecodeTrim(block[kBlockTrimOffset]);
    ShowFieldText(*trimEdit_, TrimText(eq.Trim));

    eq.Bypass = block[kBlockBypassOffset] != 0;
    EnableEqControls(!eq.Bypass);
    bpImage_->ShowPicture(bpImages_, eq.Bypass ? artwork::kBypassedApplied : artwork::kNotBypassedApplied);

    for (int n = 1; n <= kBandCount; ++n) {
        const DecodedBand decoded =
            DecodeBandRecord(&block[static_cast<std::size_t>(BandRecordOffset(n - 1))]);
        const BandControls& c = Band(n);
        EqBand& band = Model(n);
        band.BandType = decoded.BandType;
        c.EQType->ShowPicture(typeImages_, band.BandType);
        band.BandFreq = decoded.BandFreq;
        band.BandQ = decoded.BandQ;
        band.BandOff = decoded.BandOff;
        band.BandOffShown = decoded.BandOff;
        c.EQImage->ShowPicture(eqImages_, decoded.BandOff ? n + 4 : n - 1);
        ShowFieldText(*c.FreqEdit, FrequencyText(band.BandFreq));
        ShowFieldText(*c.QEdit, QText(band.BandQ));

        state_.SendGate = kGateWhileMoving;
        SetSlider(n, PositionFromGainCode(decoded.GainCode));
        // The slider's change rule stores the gain only when the slider
        // actually moves; a slider already in place would leave the band with
        // whatever gain it held before the block. Store it either way.
        Model(n).BandGain = GainCodeFromPosition(SliderPosition(n));
    }

    for (int n = 1; n <= kBandCount; ++n) {
        state_.SendGate = kGateWhileMoving;
        RefreshBand(n);
    }
    state_.SendGate = kGateAfterRefresh;

    if (blockPauseMs_ > 0)
        QThread::msleep(static_cast<unsigned long>(blockPauseMs_));
    EchoIn();
}

void BandEditor::EchoIn()
{
    requests_.EchoArrived();
    emit EchoApplied();
}

// An echo shows the band as the unit reports it: no shelf fix.
void BandEditor::ApplyBandEcho(const BandEcho& echo)
{
    const int n = echo.BandNumber;
    if (!ValidBand(n))
        return;
    const DecodedBand decoded = DecodeBandRecord(echo.Record.data());
    EqBand& band = Model(n);
    band.BandFreq = decoded.SentFreq;
    band.BandQ = decoded.BandQ;
    band.BandType = decoded.BandType;
    // The unit echoes what it was sent; a code past -12 dB would be sent back
    // to it unchanged by the next edit, so it is held to the gain range.
    band.BandGain = std::min(decoded.GainCode, kMaxGainCode);
    band.BandOff = band.BandOffShown = decoded.BandOff;
    RefreshBand(n);
    EchoIn();
}

void BandEditor::ApplyBypassEcho(bool bypass)
{
    state_.Eq.Bypass = bypass;
    ShowBypass();
    EchoIn();
}

void BandEditor::ApplyTrimEcho(int trim)
{
    state_.Eq.Trim = std::clamp(trim, kMinTrim, kMaxTrim);
    ShowTrim();
    EchoIn();
}

// --- Band handlers ------------------------------------------------------------

void BandEditor::Commit(int n)
{
    if (state_.Connected)
        SendBand(n);
    else
        RefreshBand(n);
}

void BandEditor::EQImage1Click(int n)
{
    if (!ValidBand(n))
        return;
    history_->Begin(BandStepText(n, QStringLiteral("On/Off")));
    Model(n).BandOff = 1 - Model(n).BandOff;
    Commit(n);
    history_->End();
}

void BandEditor::EQTypeClick(int n)
{
    if (!ValidBand(n))
        return;
    history_->Begin(BandStepText(n, QStringLiteral("Type")));
    state_.SendGate = kGateAfterRefresh;
    CycleBandType(Model(n));
    Commit(n);
    history_->End();
}

void BandEditor::EQFreqUpClick(int n)
{
    if (!ValidBand(n))
        return;
    history_->Begin(BandStepText(n, QStringLiteral("Frequency")));
    if (StepFreqUp(Model(n))) {
        Commit(n);
        state_.SendGate = kGateAfterRefresh;
    }
    history_->End();
}

void BandEditor::EQFreqDownClick(int n)
{
    if (!ValidBand(n))
        return;
    history_->Begin(BandStepText(n, QStringLiteral("Frequency")));
    if (StepFreqDown(Model(n))) {
        Commit(n);
        state_.SendGate = kGateAfterRefresh;
    }
    history_->End();
}

void BandEditor::EQQUpClick(int n)
{
    if (!ValidBand(n))
        return;
    history_->Begin(BandStepText(n, QStringLiteral("Q")));
    StepQUp(Model(n));
    Commit(n);
    state_.SendGate = kGateAfterRefresh;
    history_->End();
}

void BandEditor::EQQDownClick(int n)
{
    if (!ValidBand(n))
        return;
    history_->Begin(BandStepText(n, QStringLiteral("Q")));
    StepQDown(Model(n));
    Commit(n);
    state_.SendGate = kGateAfterRefresh;
    history_->End();
}

void BandEditor::EQTrkBarChange(int n)
{
    if (!ValidBand(n))
        return;
    Model(n).GainShownDb = -SliderPosition(n);
    const int code = GainCodeFromPosition(SliderPosition(n));
    if (code == Model(n).BandGain)
        return;
    Model(n).BandGain = code;
    if (!state_.Connected)
        RefreshBand(n);
    else if (state_.SendGate != 0)
        SendBand(n);
}

}  // namespace qireq
