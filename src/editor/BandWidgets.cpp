// The band editor's controls: built in Panel4 as the window lays them out
// and connected to their handlers; the hint line they write to on mouse
// moves; the gain scales painted beside the sliders.
#include "editor/BandEditor.h"

#include "editor/EditHistory.h"

#include "controls/Artwork.h"
#include "controls/CSpinButton.h"
#include "controls/PaintBox.h"
#include "controls/Ptrackbar.h"
#include "editor/ScalePainting.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegion>

namespace qireq {

namespace {

// Panel4 layout: band n's column lies 80 * (n - 1) right of band 1's.
constexpr int kBandColumnStep = 80;
constexpr int kSliderMin = -12;
constexpr int kSliderMax = 12;

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

PictureButton* MakePicture(QWidget* parent, const QString& name, int left, int top, QSize size)
{
    auto* picture = new PictureButton(parent);
    picture->setObjectName(name);
    picture->setGeometry(QRect(QPoint(left, top), size));
    return picture;
}


}  // namespace

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
    c.TrackBar->installEventFilter(this);
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
    WatchSliderHand(watched, event);
    // A field with the focus would take Ctrl+Z for its own text: undo and
    // redo are the window's, for the EQ.
    if (event->type() == QEvent::ShortcutOverride && IsUndoOrRedoKey(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
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

bool BandEditor::IsUndoOrRedoKey(const QKeyEvent& key)
{
    const QKeyCombination combination = key.keyCombination();
    return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
           combination == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
           combination == QKeyCombination(Qt::CTRL, Qt::Key_Y);
}

// The filter sees the event before the slider does: a step is ended once
// the slider has handled the release, key or wheel turn.
void BandEditor::WatchSliderHand(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::KeyPress && type != QEvent::Wheel)
        return;
    for (int n = 1; n <= kBandCount; ++n) {
        if (watched != Band(n).TrackBar)
            continue;
        if (type != QEvent::MouseButtonRelease)
            history_->Begin(BandStepText(n, QStringLiteral("Gain")));
        if (type != QEvent::MouseButtonPress)
            QMetaObject::invokeMethod(history_.get(), [history = history_.get()] { history->End(); },
                                      Qt::QueuedConnection);
        return;
    }
}

// --- Hint line ----------------------------------------------------------------------

void BandEditor::ShowHint(const HintText& hint)
{
    hint_ = hint;
    if (topBar_.HintTitle)
        topBar_.HintTitle->setText(hint.Title);
    if (topBar_.HintSubject)
        topBar_.HintSubject->setText(hint.Subject);
    if (topBar_.HintValue)
        topBar_.HintValue->setText(hint.Value);
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
