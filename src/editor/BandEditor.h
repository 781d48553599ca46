#pragma once
// The equaliser panel: five bands of on/off, type, frequency, Q and gain
// controls, the trim "-"/"+" buttons with their auto-repeat, bypass, and the
// operations that bring the model onto the controls and the response plot.
//
// Not connected, every edit changes the model and refreshes the band at once.
// Connected, every edit changes the model and sends one command; the controls
// follow the unit's echo (ApplyBandEcho, ApplyTrimEcho, ApplyBypassEcho,
// ApplyEqBlock), except the gain slider, which moves under the user's hand.
//
// The plot is set up (SetUpPlot) before the first RefreshAllBands, which
// draws the first curve. The editor connects the reset button and the trim
// timers it is given itself (or runs the trim repeat on timers of its own).
//
// GUI thread only. ApplyEqBlock pauses the calling thread for BlockPause().
#include "controls/PictureButton.h"
#include "editor/HintText.h"
#include "eq/EqBlock.h"
#include "eq/ResponseCurves.h"
#include "protocol/ReplyFields.h"
#include "state/MainState.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <memory>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPainter;

namespace qireq {

class EditHistory;
class PaintBox;
class RequestSender;
class TCSpinButton;
class TFFTDraw;
class TPTrackBar;

// The controls of one band (objectNames "EQImage1", "EQ1FreqEdit", ...; each
// carries its band number in the dynamic property "Tag").
struct BandControls {
    PictureButton* EQImage = nullptr;
    PictureButton* EQType = nullptr;
    QLineEdit* FreqEdit = nullptr;
    TCSpinButton* FreqCButton = nullptr;
    QLineEdit* QEdit = nullptr;
    TCSpinButton* QCButton = nullptr;
    TPTrackBar* TrackBar = nullptr;
};

// Controls of the top bar the editor writes to; the main window owns them
// (the hint line is its Label1, Label2 and Label3).
struct TopBarControls {
    PictureButton* ResetImg = nullptr;
    QLabel* HintTitle = nullptr;
    QLabel* HintSubject = nullptr;
    QLabel* HintValue = nullptr;
};

// The window's trim auto-repeat timers, if it keeps them.
struct TrimTimers {
    QTimer* InputAddTimer = nullptr;
    QTimer* InputDecTimer = nullptr;
};

class BandEditor : public QObject {
    Q_OBJECT
public:
    static constexpr int kTrimRepeatMs = 150;
    static constexpr int kBlockPauseMs = 512;

    // Creates the band and trim controls inside eqPanel (Panel4, 505 x 353).
    // Edits go to the unit through requests.
    BandEditor(MainState& state, RequestSender& requests, ResponseCurves& curves, TFFTDraw& plot,
               QWidget* eqPanel,
               TopBarControls topBar, TrimTimers timers = {}, QObject* parent = nullptr);
    ~BandEditor() override;

    // --- Operations -------------------------------------------------------
    void RefreshBand(int bandNumber);
    void RefreshAllBands();  // RefreshBand 1..5, as at start-up
    void SendBand(int bandNumber);
    void ShowTrim();
    void ShowBypass();
    void EnableEqControls(bool enabled);
    void EnableBandControls(int bandNumber, bool enabled);
    void ApplyEqBlock(const EqBlock& block);
    void ApplyBandEcho(const BandEcho& echo);
    void ApplyBypassEcho(bool bypass);
    void ApplyTrimEcho(int trim);
    // The sum curve and the five markers onto the plot.
    void RedrawResponse();

    // --- Handlers (band number 1..5 where one is taken) --------------------
    void EQImage1Click(int bandNumber);
    void EQTypeClick(int bandNumber);
    void EQFreqUpClick(int bandNumber);
    void EQFreqDownClick(int bandNumber);
    void EQQUpClick(int bandNumber);
    void EQQDownClick(int bandNumber);
    void EQTrkBarChange(int bandNumber);
    void TrimAddDown();
    void TrimAddUp();
    void InputAddTimerTimer();
    void TrimDecDown();
    void TrimDecUp();
    void InputDecTimerTimer();
    void BPImageMouseDown();
    void BPImageMouseUp();
    void ResetImgClick();
    void RSTBtnDown();
    void RSTBtnUp();
    // Hint line
    void EQTypeMove(int bandNumber);
    void FreqEditMove(int bandNumber);
    void QEditMove(int bandNumber);
    void TTrackBarMove(int bandNumber);
    void EQImage1MouseMove(int bandNumber);
    // One gain scale beside the sliders.
    void PaintBox2Paint(PaintBox& box, QPainter& canvas);

    // --- Access -------------------------------------------------------------
    const BandControls& Band(int bandNumber) const;
    QLineEdit* TrimEdit() const { return trimEdit_; }
    PictureButton* TrimDecImg() const { return trimDecImg_; }
    PictureButton* TrimAddImg() const { return trimAddImg_; }
    PictureButton* BPImage() const { return bpImage_; }
    QTimer& InputAddTimer() { return *inputAddTimer_; }
    QTimer& InputDecTimer() { return *inputDecTimer_; }
    const std::array<PaintBox*, 6>& GainScales() const { return gainScales_; }

    // The off flag the band's display follows: BandOffShown while connected.
    int ShownOff(int bandNumber) const;
    // The gain shown for a band: minus its slider's position, whole dB, as
    // the model keeps it (GainShownDb).
    int ShownGainDb(int bandNumber) const;
    // The hint line's last texts.
    const HintText& LastHint() const { return hint_; }

    // Undo and redo of the changes made here and on the plot.
    EditHistory& History() { return *history_; }
    // The block last applied (from the unit, a preset or reset): the bytes
    // beside the editor's own that a block write of undo carries.
    const EqBlock& LastBlock() const { return lastBlock_; }
    void SetLastBlock(const EqBlock& block) { lastBlock_ = block; }

    // How long ApplyEqBlock holds the thread before returning.
    int BlockPause() const { return blockPauseMs_; }
    void SetBlockPause(int milliseconds) { blockPauseMs_ = milliseconds; }

signals:
    // An echo or a block was applied: a write waiting behind it may go.
    void EchoApplied();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls(QWidget* eqPanel);
    void BuildBand(QWidget* eqPanel, int bandNumber);
    void ConnectBand(int bandNumber);
    EqBand& Model(int bandNumber);
    const EqBand& Model(int bandNumber) const;
    static bool ValidBand(int bandNumber);
    // After a band edit: send it (connected) or show it (not connected).
    void Commit(int bandNumber);
    void SendOrShowTrim();
    void SetSlider(int bandNumber, int position);
    int SliderPosition(int bandNumber) const;
    void ShowHint(const HintText& hint);
    static bool IsUndoOrRedoKey(const QKeyEvent& key);
    // A slider pulled or stepped by hand is one step of the history.
    void WatchSliderHand(QObject* watched, QEvent* event);
    // The unit answered a write of ours.
    void EchoIn();

    MainState& state_;
    ResponseCurves& curves_;
    TFFTDraw& plot_;
    TopBarControls topBar_;
    RequestSender& requests_;

    std::array<BandControls, kBandCount> bands_{};
    QLineEdit* trimEdit_ = nullptr;
    PictureButton* trimDecImg_ = nullptr;
    PictureButton* trimAddImg_ = nullptr;
    PictureButton* bpImage_ = nullptr;
    std::array<PaintBox*, 6> gainScales_{};
    QTimer ownAddTimer_;
    QTimer ownDecTimer_;
    QTimer* inputAddTimer_ = nullptr;
    QTimer* inputDecTimer_ = nullptr;

    PictureList typeImages_;
    PictureList eqImages_;
    PictureList adImages_;
    PictureList bpImages_;
    PictureList rstImages_;

    HintText hint_;
    int blockPauseMs_ = kBlockPauseMs;
    EqBlock lastBlock_ = ResetBlock;
    std::unique_ptr<EditHistory> history_;
};

}  // namespace qireq
