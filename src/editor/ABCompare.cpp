#include "editor/ABCompare.h"

#include "controls/Fftdraw.h"
#include "editor/BandEditor.h"
#include "editor/EditHistory.h"
#include "eq/EqEncoding.h"
#include "protocol/RequestSender.h"
#include "state/MainState.h"

#include <QAbstractButton>

namespace qireq {

namespace {

QString SlotName(CompareSlots::Slot slot)
{
    return slot == CompareSlots::Slot::A ? QStringLiteral("A") : QStringLiteral("B");
}

}  // namespace

const QColor& ABCompare::DimmedColor()
{
    static const QColor dimmed(160, 160, 160);
    return dimmed;
}

ABCompare::ABCompare(MainState& state, RequestSender& requests, BandEditor& editor, TFFTDraw& plot,
                     QAbstractButton* store, QAbstractButton* toggle, QObject* parent)
    : QObject(parent),
      state_(state),
      requests_(requests),
      editor_(editor),
      plot_(plot),
      store_(store),
      toggle_(toggle)
{
    if (store_)
        connect(store_, &QAbstractButton::clicked, this, &ABCompare::StoreClick);
    if (toggle_)
        connect(toggle_, &QAbstractButton::clicked, this, &ABCompare::ToggleClick);
    ShowSlots();
}

void ABCompare::StoreClick()
{
    slots_.Store(editor_.History().Current());
    ShowSlots();
}

void ABCompare::ToggleClick()
{
    EditHistory& history = editor_.History();
    const EqSnapshot before = history.Current();
    const std::optional<EqSnapshot> other = slots_.Toggle();
    ShowSlots();
    if (!other)
        return;
    history.Record(QStringLiteral("Compare ") + SlotName(slots_.Live()), before, *other);
    const EqBlock block = BlockOf(*other);
    state_.SendGate = 0;
    if (requests_.LinkOpen())
        requests_.SendEqBlock(block);
    else
        editor_.ApplyEqBlock(block);
}

void ABCompare::Clear()
{
    slots_.Clear();
    ShowSlots();
}

// The toggle names the live slot; the slot not live, when it holds an EQ,
// is drawn under the editor's curve.
void ABCompare::ShowSlots()
{
    const CompareSlots::Slot live = slots_.Live();
    if (toggle_) {
        toggle_->setText(SlotName(live));
        toggle_->setToolTip(QStringLiteral("Live: %1. Click to switch to %2.")
                                .arg(SlotName(live), SlotName(CompareSlots::Other(live))));
    }
    const std::optional<EqSnapshot>& other = slots_.Held(CompareSlots::Other(live));
    if (!other) {
        plot_.RemovePlot(kOtherCurvePlot);
        return;
    }
    for (int n = 1; n <= kBandCount; ++n) {
        // Drawn with the gain it holds, not the one a slider showed then.
        EqBand band = other->Eq.Bands[static_cast<std::size_t>(n - 1)];
        band.GainShownDb = ShownGainDb(band.BandGain);
        RefreshBandCurve(otherCurves_, n, band, false);
    }
    RebuildSum(otherCurves_, other->Eq.Trim);
    plot_.FFTDraw(otherCurves_.Sum().data(), kResponsePoints, kOtherCurvePlot, DimmedColor(),
                  TPlotStyle::Line);
}

}  // namespace qireq
