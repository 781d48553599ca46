#include "editor/BandEditor.h"

#include "controls/Artwork.h"
#include "controls/CSpinButton.h"
#include "controls/Fftdraw.h"
#include "controls/PaintBox.h"
#include "controls/Ptrackbar.h"
#include "controls/VclColors.h"
#include "editor/BandSteps.h"
#include "editor/ScalePainting.h"
#include "eq/EqDisplay.h"
#include "eq/EqEncoding.h"
#include "protocol/RequestSender.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QThread>

#include <algorithm>

namespace qireq {

namespace {

// Panel4 layout: band n's column lies 80 * (n - 1) right of band 1's.
constexpr int kBandColumnStep = 80;
constexpr int kSliderMin = -12;
constexpr int kSliderMax = 12;
constexpr int kGateWhileMoving = 0;
constexpr int kGateAfterRefresh = 3;

// Where the six gain scales sit (left, width); all at top 168, 169 high.
struct ScaleBox {
    const char* Name;
    int Left;
    int Width;
};
constexpr std::array<ScaleBox, 6> kScaleBoxes{{
    {"PaintBox1", 88, 65},
    {"PaintBox2", 168, 65},
    {"EQ2PaintBox", 192, 17},
    {"PaintBox3", 248, 65},
    {"PaintBox10", 328, 65},
    {"PaintBox4", 408, 65},
}};

// Each band control carries its band number in this property, for code that
// finds the controls by name.
const char* const kTag = "Tag";

QLineEdit* MakeField(QWidget* parent, const QString& name, int left, int top)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(left, top, 49, 21);
    QFont bold = field->font();
    bold.setBold(true);
    field->setFont(bold);
    field->setMouseTracking(true);
    return field;
}

QLabel* MakeCaption(QWidget* parent, const QString& text, int left, int top)
{
    auto* caption = new QLabel(text, parent);
    caption->move(left, top);
    caption->adjustSize();
    return caption;
}

// QLineEdit keeps this many pixels beside its text inside its contents.
constexpr int kLineEditTextMargin = 2;

// The pixels a field has for its text.
int TextRoom(const QLineEdit& field)
{
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.rect = field.rect();
    option.lineWidth =
        field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = field.style()->subElementRect(QStyle::SE_LineEditContents, &option, &field);
    const QMargins margins = field.textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * kLineEditTextMargin;
}

// A display field shows its whole value: "20160.0" is wider than a 49-pixel
// field in some fonts, and a scrolled "0160.0" would read as another value.
// The field's font is condensed as far as that value needs, from its start.
void ShowFieldText(QLineEdit& field, const QString& text)
{
    if (field.text() == text)
        return;
    field.ensurePolished();
    QFont font = field.font();
    font.setStretch(QFont::AnyStretch);
    field.setFont(CondensedToFit(font, {text}, TextRoom(field)));
    field.setText(text);
    field.setCursorPosition(0);
}

PictureButton* MakePicture(QWidget* parent, const QString& name, int left, int top, QSize size)
{
    auto* picture = new PictureButton(parent);
    picture->setObjectName(name);
    picture->setGeometry(QRect(QPoint(left, top), size));
    return picture;
}

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

    BuildControls(eqPanel);

    if (topBar_.ResetImg) {
        topBar_.ResetImg->ShowPicture(rstImages_, artwork::kResetUp);
        connect(topBar_.ResetImg, &PictureButton::MouseDown, this, &BandEditor::RSTBtnDown);
        connect(topBar_.ResetImg, &PictureButton::MouseUp, this, &BandEditor::RSTBtnUp);
        connect(topBar_.ResetImg, &PictureButton::Clicked, this, &BandEditor::ResetImgClick);
    }
}

BandEditor::~BandEditor() = default;

// --- Building ---------------------------------------------------------------

void BandEditor::BuildControls(QWidget* eqPanel)
{
    // The scales first, so that the sliders lie above them.
    for (std::size_t i = 0; i < kScaleBoxes.size(); ++i) {
        auto* box = new PaintBox(eqPanel);
        box->setObjectName(QString::fromLatin1(kScaleBoxes[i].Name));
        box->setGeometry(kScaleBoxes[i].Left, 168, kScaleBoxes[i].Width, 169);
        QFont bold = box->font();
        bold.setBold(true);
        box->setFont(bold);
        box->SetOnPaint([this](PaintBox& paintBox, QPainter& canvas) { PaintBox2Paint(paintBox, canvas); });
        gainScales_[i] = box;
    }

    MakeCaption(eqPanel, QStringLiteral("Trim"), 24, 16);
    MakeCaption(eqPanel, QStringLiteral("Type"), 24, 72);
    MakeCaption(eqPanel, QStringLiteral("Frequency"), 8, 96);
    MakeCaption(eqPanel, QStringLiteral("Q"), 32, 136);
    MakeCaption(eqPanel, QStringLiteral("Gain"), 24, 248);

    trimDecImg_ = MakePicture(eqPanel, QStringLiteral("TrimDecImg"), 96, 16, QSize(17, 17));
    trimAddImg_ = MakePicture(eqPanel, QStringLiteral("TrimAddImg"), 112, 16, QSize(17, 17));
    trimDecImg_->ShowPicture(adImages_, artwork::kMinusUp);
    trimAddImg_->ShowPicture(adImages_, artwork::kPlusUp);
    connect(trimDecImg_, &PictureButton::MouseDown, this, &BandEditor::TrimDecDown);
    connect(trimDecImg_, &PictureButton::MouseUp, this, &BandEditor::TrimDecUp);
    connect(trimAddImg_, &PictureButton::MouseDown, this, &BandEditor::TrimAddDown);
    connect(trimAddImg_, &PictureButton::MouseUp, this, &BandEditor::TrimAddUp);

    trimEdit_ = MakeField(eqPanel, QStringLiteral("TrimEdit"), 136, 16);
    trimEdit_->setReadOnly(true);
    trimEdit_->setText(QStringLiteral("0"));

    bpImage_ = MakePicture(eqPanel, QStringLiteral("BPImage"), 456, 16, QSize(42, 20));
    bpImage_->ShowPicture(bpImages_, artwork::kNotBypassedApplied);
    connect(bpImage_, &PictureButton::MouseDown, this, &BandEditor::BPImageMouseDown);
    connect(bpImage_, &PictureButton::MouseUp, this, &BandEditor::BPImageMouseUp);

    for (int n = 1; n <= kBandCount; ++n) {
        BuildBand(eqPanel, n);
        ConnectBand(n);
    }
}

void BandEditor::BuildBand(QWidget* eqPanel, int n)
{
    const int dx = kBandColumnStep * (n - 1);
    const QString number = QString::number(n);
    BandControls& c = bands_[static_cast<std::size_t>(n - 1)];

    c.EQImage = MakePicture(eqPanel, QStringLiteral("EQImage") + number, 99 + dx, 48, QSize(35, 20));
    c.EQImage->ShowPicture(eqImages_, n - 1);
    c.EQType = MakePicture(eqPanel, QStringLiteral("EQType") + number, 96 + dx, 72, QSize(41, 17));
    c.EQType->ShowPicture(typeImages_, Model(n).BandType);

    c.FreqEdit = MakeField(eqPanel, QStringLiteral("EQ%1FreqEdit").arg(n), 88 + dx, 96);
    c.FreqCButton = new TCSpinButton(eqPanel);
    c.FreqCButton->setObjectName(QStringLiteral("EQ%1FreqCButton").arg(n));
    c.FreqCButton->setGeometry(136 + dx, 96, 17, 25);

    c.QEdit = MakeField(eqPanel, QStringLiteral("EQ%1QEdit").arg(n), 88 + dx, 136);
    c.QCButton = new TCSpinButton(eqPanel);
    c.QCButton->setObjectName(QStringLiteral("EQ%1QCButton").arg(n));
    c.QCButton->setGeometry(136 + dx, 136, 17, 25);

    c.TrackBar = new TPTrackBar(eqPanel, kSliderMin, kSliderMax);
    c.TrackBar->setObjectName(QStringLiteral("EQ%1TrackBar").arg(n));
    c.TrackBar->setGeometry(112 + dx, 168, 25, 177);
    c.TrackBar->SetPageSize(n == 1 ? 1 : 2);
    c.TrackBar->SetFrequency(1);
    c.TrackBar->SetTickStyle(TTickStyle::tsNone);
    c.TrackBar->SetTag(n);
    const qreal dpr = eqPanel ? eqPanel->devicePixelRatioF() : 1.0;
    c.TrackBar->SetThumbBitmap(SliderThumbPicture(dpr));
    c.TrackBar->SetChannelBitmap(SliderChannelPicture(dpr));

    for (QWidget* w : std::initializer_list<QWidget*>{c.EQImage, c.EQType, c.FreqEdit, c.FreqCButton, c.QEdit,
                                                      c.QCButton, c.TrackBar})
        w->setProperty(kTag, n);
    c.FreqEdit->installEventFilter(this);
    c.QEdit->installEventFilter(this);
}

void BandEditor::ConnectBand(int n)
{
    const BandControls& c = Band(n);
    connect(c.EQImage, &PictureButton::Clicked, this, [this, n] { EQImage1Click(n); });
    connect(c.EQImage, &PictureButton::MouseMoved, this, [this, n] { EQImage1MouseMove(n); });
    connect(c.EQType, &PictureButton::Clicked, this, [this, n] { EQTypeClick(n); });
    connect(c.EQType, &PictureButton::MouseMoved, this, [this, n] { EQTypeMove(n); });
    connect(c.FreqCButton, &TCSpinButton::UpClick, this, [this, n] { EQFreqUpClick(n); });
    connect(c.FreqCButton, &TCSpinButton::DownClick, this, [this, n] { EQFreqDownClick(n); });
    connect(c.QCButton, &TCSpinButton::UpClick, this, [this, n] { EQQUpClick(n); });
    connect(c.QCButton, &TCSpinButton::DownClick, this, [this, n] { EQQDownClick(n); });
    connect(c.TrackBar, &TPTrackBar::OnChange, this, [this, n] { EQTrkBarChange(n); });
    connect(c.TrackBar, &TPTrackBar::OnMouseMove, this, [this, n] { TTrackBarMove(n); });
}

// The fields are plain line edits: their hover hints come through here.
bool BandEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        for (int n = 1; n <= kBandCount; ++n) {
            if (watched == Band(n).FreqEdit)
                FreqEditMove(n);
            else if (watched == Band(n).QEdit)
                QEditMove(n);
        }
    }
    return QObject::eventFilter(watched, event);
}

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
}

void BandEditor::ApplyBypassEcho(bool bypass)
{
    state_.Eq.Bypass = bypass;
    ShowBypass();
}

void BandEditor::ApplyTrimEcho(int trim)
{
    state_.Eq.Trim = std::clamp(trim, kMinTrim, kMaxTrim);
    ShowTrim();
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
    Model(n).BandOff = 1 - Model(n).BandOff;
    Commit(n);
}

void BandEditor::EQTypeClick(int n)
{
    if (!ValidBand(n))
        return;
    state_.SendGate = kGateAfterRefresh;
    CycleBandType(Model(n));
    Commit(n);
}

void BandEditor::EQFreqUpClick(int n)
{
    if (!ValidBand(n) || !StepFreqUp(Model(n)))
        return;
    Commit(n);
    state_.SendGate = kGateAfterRefresh;
}

void BandEditor::EQFreqDownClick(int n)
{
    if (!ValidBand(n) || !StepFreqDown(Model(n)))
        return;
    Commit(n);
    state_.SendGate = kGateAfterRefresh;
}

void BandEditor::EQQUpClick(int n)
{
    if (!ValidBand(n))
        return;
    StepQUp(Model(n));
    Commit(n);
    state_.SendGate = kGateAfterRefresh;
}

void BandEditor::EQQDownClick(int n)
{
    if (!ValidBand(n))
        return;
    StepQDown(Model(n));
    Commit(n);
    state_.SendGate = kGateAfterRefresh;
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

// --- Hint line ----------------------------------------------------------------------

void BandEditor::ShowHint(const HintText& hint)
{
    hint_ = hint;
    if (topBar_.Label1)
        topBar_.Label1->setText(hint.Label1);
    if (topBar_.Label2)
        topBar_.Label2->setText(hint.Label2);
    if (topBar_.Label3)
        topBar_.Label3->setText(hint.Label3);
}

void BandEditor::EQTypeMove(int n)
{
    if (ValidBand(n))
        ShowHint(TypeHint(n, Model(n).BandType));
}

void BandEditor::FreqEditMove(int n)
{
    if (ValidBand(n))
        ShowHint(FreqHint(n, Band(n).FreqEdit->text()));
}

void BandEditor::QEditMove(int n)
{
    if (ValidBand(n))
        ShowHint(QHint(n, Band(n).QEdit->text()));
}

void BandEditor::TTrackBarMove(int n)
{
    if (ValidBand(n))
        ShowHint(GainHint(n, SliderPosition(n)));
}

void BandEditor::EQImage1MouseMove(int n)
{
    if (ValidBand(n))
        ShowHint(OnOffHint(n, ShownOff(n)));
}

// A native trackbar is opaque and hides what lies under it; ours is drawn
// over the panel, so the scale keeps its labels out from under the sliders
// (the box beside band 2's slider lies wholly beneath it and shows nothing).
void BandEditor::PaintBox2Paint(PaintBox& box, QPainter& canvas)
{
    QRegion uncovered(box.rect());
    for (const BandControls& c : bands_)
        if (c.TrackBar && c.TrackBar->parentWidget() == box.parentWidget())
            uncovered -= QRegion(c.TrackBar->geometry().translated(-box.pos()));
    PaintGainScale(canvas, uncovered);
}

}  // namespace qireq
