#pragma once
// A/B compare: two slots, "A" and "B", beside the top bar's LINK and RESET.
// "Store" keeps the EQ in the live slot; the toggle makes the other slot
// live and, when it holds an EQ, sends that whole EQ as one block exactly
// as File > Open sends a preset (no band commands until the unit's block is
// in; without an open link the editor shows it at once). The switch is an
// undo step. The slot not live is drawn on the plot as a dimmed curve.
//
// The slots belong to the connected unit: Clear when another one connects.
// GUI thread only.
#include "history/CompareSlots.h"
#include "eq/ResponseCurves.h"

#include <QColor>
#include <QObject>

class QAbstractButton;

namespace qireq {

class BandEditor;
class RequestSender;
class TFFTDraw;
struct MainState;

class ABCompare : public QObject {
    Q_OBJECT
public:
    // The plot number of the dimmed curve (the editor's sum is 0).
    static constexpr int kOtherCurvePlot = 1;
    static const QColor& DimmedColor();

    // store and toggle are the top bar's buttons; toggle shows the live slot.
    ABCompare(MainState& state, RequestSender& requests, BandEditor& editor, TFFTDraw& plot,
              QAbstractButton* store, QAbstractButton* toggle, QObject* parent = nullptr);

    void StoreClick();
    void ToggleClick();
    void Clear();

    const CompareSlots& Slots() const { return slots_; }

private:
    void ShowSlots();

    MainState& state_;
    RequestSender& requests_;
    BandEditor& editor_;
    TFFTDraw& plot_;
    QAbstractButton* store_;
    QAbstractButton* toggle_;
    CompareSlots slots_;
    ResponseCurves otherCurves_;
};

}  // namespace qireq
