// The band controls driven with real mouse and key events: what each action
// does to the model, the controls and the plot, alone and with a unit.
#include "EditorFixture.h"

#include "eq/EqBlock.h"
#include "eq/EqEncoding.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace qireq::test {
namespace {

bool AllNear(const ResponseArray& curve, double value)
{
    return std::all_of(curve.begin(), curve.end(), [value](double v) { return std::abs(v - value) < 1e-9; });
}

std::size_t GainByte(int n)
{
    return static_cast<std::size_t>(BandRecordOffset(n - 1) + 3);
}

const char* const kStartFreqs[5] = {"19.7", "62.5", "198.4", "630.0", "2010.0"};

using BandControlsTest = EditorTest;

TEST_F(BandControlsTest, StartUpShowsTheFiveBandsAndAFlatCurve)
{
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(Band(n).FreqEdit->text(), kStartFreqs[n - 1]);
        EXPECT_EQ(Band(n).QEdit->text(), "3.00");
        EXPECT_EQ(Band(n).EQType->ShownPicture(), 1);
        EXPECT_EQ(Band(n).EQImage->ShownPicture(), n - 1);
        EXPECT_EQ(eqPanel_->findChild<QLineEdit*>(QStringLiteral("EQ%1FreqEdit").arg(n)), Band(n).FreqEdit);
        EXPECT_EQ(eqPanel_->findChild<QWidget*>(QStringLiteral("EQType%1").arg(n))->property("Tag").toInt(), n);
    }
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");
    EXPECT_EQ(state_.SendGate, 3);
    EXPECT_EQ(plot_->PlotCount(), 1);
    EXPECT_TRUE(AllNear(curves_.Sum(), 0.0));
    EXPECT_EQ(plot_->GetBlockPos(2).x(), static_cast<int>(1024 * std::log10(198.4) / std::log10(24000.0)));
}

TEST_F(BandControlsTest, TypeButtonCyclesAndMovesShelvesToTheirSide)
{
    Model(2).BandFreq = 100;
    editor_->RefreshBand(2);
    const int pictures[3] = {2, 0, 1};
    const char* freqs[3] = {"198.4", "1000.0", "1000.0"};
    for (int i = 0; i < 3; ++i) {
        Click(Band(2).EQType);
        EXPECT_EQ(Band(2).EQType->ShownPicture(), pictures[i]);
        EXPECT_EQ(Band(2).FreqEdit->text(), freqs[i]);
    }
}

TEST_F(BandControlsTest, FrequencyAndQButtonsStopAtTheShelfLineAndTheTableEnds)
{
    Model(1) = EqBand{kLowShelf, 170, 35, 24, 0, 0};
    Model(5) = EqBand{kHighShelf, 170, 99, 24, 0, 0};
    ClickUp(Band(1).FreqCButton);
    EXPECT_EQ(Model(1).BandFreq, 170);
    ClickDown(Band(1).FreqCButton);
    EXPECT_EQ(Band(1).FreqEdit->text(), "977.2");
    ClickDown(Band(5).FreqCButton);
    EXPECT_EQ(Model(5).BandFreq, 170);
    ClickUp(Band(5).FreqCButton);
    EXPECT_EQ(Band(5).FreqEdit->text(), "1030.0");
    ClickUp(Band(5).QCButton);
    ClickUp(Band(5).QCButton);
    EXPECT_EQ(Band(5).QEdit->text(), "128.00");
    Model(4).BandQ = 0;
    ClickDown(Band(4).QCButton);
    EXPECT_EQ(Band(4).QEdit->text(), "0.40");
}

TEST_F(BandControlsTest, ConnectedStepsSendOneBandWriteEachAndShowOnlyTheEcho)
{
    Connect();
    Model(1) = EqBand{kLowShelf, 170, 35, 24, 0, 0};
    ClickUp(Band(1).FreqCButton);  // stopped by the shelf rule: nothing goes out
    EXPECT_TRUE(link_->Frames.empty());

    Model(2).BandFreq = 300;
    Model(2).BandQ = 100;
    ClickUp(Band(2).FreqCButton);  // held at the limits, still sent
    ClickUp(Band(2).QCButton);
    ASSERT_EQ(link_->Frames.size(), 2u);
    EXPECT_EQ(link_->Frames[1], BandEcho(2));
    EXPECT_EQ(Band(2).FreqEdit->text(), "62.5");
    EXPECT_EQ(state_.SendGate, 3);
    EXPECT_TRUE(state_.Heard);

    EchoBand(link_->Frames[1]);
    EXPECT_EQ(Band(2).FreqEdit->text(), "20160.0");
    EXPECT_EQ(Band(2).QEdit->text(), "128.00");
}

TEST_F(BandControlsTest, SpinButtonRepeatsAfter400MsThenEvery100MsUntilRelease)
{
    TCSpinButton* spin = Band(3).FreqCButton;
    const int start = Model(3).BandFreq;
    QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(8, 4));
    EXPECT_EQ(Model(3).BandFreq, start + 1);
    QTest::qWait(300);
    EXPECT_EQ(Model(3).BandFreq, start + 1);
    QTRY_COMPARE_WITH_TIMEOUT(Model(3).BandFreq, start + 2, 1000);
    QElapsedTimer held;
    held.start();
    QTRY_COMPARE_WITH_TIMEOUT(Model(3).BandFreq, start + 6, 2000);
    EXPECT_GE(held.elapsed(), 300);
    QTest::mouseRelease(spin, Qt::LeftButton, {}, QPoint(8, 4));
    const int released = Model(3).BandFreq;
    QTest::qWait(350);
    EXPECT_EQ(Model(3).BandFreq, released);
    EXPECT_EQ(Band(3).FreqEdit->text(), FrequencyText(released));
}

TEST_F(BandControlsTest, SpinButtonRepeatStopsWhenItsBandIsLockedUnderTheHand)
{
    QTest::mousePress(Band(2).QCButton, Qt::LeftButton, {}, QPoint(8, 4));
    QTRY_VERIFY_WITH_TIMEOUT(Model(2).BandQ >= 37, 1500);
    editor_->EnableBandControls(2, false);  // as an echo switching the band off does
    const int q = Model(2).BandQ;
    QTest::qWait(350);
    EXPECT_EQ(Model(2).BandQ, q);
}

TEST_F(BandControlsTest, SpinButtonKeys)
{
    TCSpinButton* spin = Band(1).QCButton;
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(Model(1).BandQ, 34);
    QTest::keyClick(spin, Qt::Key_Space);  // the up half has focus at first
    EXPECT_EQ(Model(1).BandQ, 35);
    ClickDown(spin);  // now the down half has it
    QTest::keyClick(spin, Qt::Key_Space);
    EXPECT_EQ(Band(1).QEdit->text(), "2.70");
}

TEST_F(BandControlsTest, TrimHeldDownStepsEvery150MsToMinus18AndBackUp)
{
    PictureButton* minus = editor_->TrimDecImg();
    QTest::mousePress(minus, Qt::LeftButton, {}, minus->rect().center());
    EXPECT_EQ(editor_->TrimEdit()->text(), "-1");
    EXPECT_EQ(minus->ShownPicture(), 3);
    QTest::qWait(100);
    EXPECT_EQ(state_.Eq.Trim, -1);  // the first repeat comes 150 ms after the press
    QTRY_COMPARE_WITH_TIMEOUT(state_.Eq.Trim, -18, 5000);
    QTest::qWait(400);
    EXPECT_EQ(state_.Eq.Trim, -18);
    EXPECT_TRUE(AllNear(curves_.Sum(), -18.0));
    EXPECT_EQ(plot_->Block(0).Y, -18.0);
    QTest::mouseRelease(minus, Qt::LeftButton, {}, minus->rect().center());
    EXPECT_FALSE(editor_->InputDecTimer().isActive());
    EXPECT_EQ(minus->ShownPicture(), 2);

    PictureButton* plus = editor_->TrimAddImg();
    QTest::mousePress(plus, Qt::LeftButton, {}, plus->rect().center());
    QTRY_COMPARE_WITH_TIMEOUT(state_.Eq.Trim, 0, 5000);
    QTest::mouseRelease(plus, Qt::LeftButton, {}, plus->rect().center());
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");

    // "+" at 0 dB changes nothing and starts no repeat.
    QTest::mousePress(plus, Qt::LeftButton, {}, plus->rect().center());
    EXPECT_EQ(plus->ShownPicture(), 1);
    EXPECT_FALSE(editor_->InputAddTimer().isActive());
    QTest::mouseRelease(plus, Qt::LeftButton, {}, plus->rect().center());
}

// The trim, bypass and reset pictures act on presses and releases of any
// mouse button; clicks, which switch and reset, are the left button's only.
TEST_F(BandControlsTest, RightButtonPressesTrimBypassAndResetButClicksNothing)
{
    state_.Eq.Trim = -6;
    editor_->ShowTrim();
    PictureButton* plus = editor_->TrimAddImg();
    QTest::mousePress(plus, Qt::RightButton, {}, plus->rect().center());
    EXPECT_EQ(editor_->TrimEdit()->text(), "-5");
    EXPECT_EQ(plus->ShownPicture(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(state_.Eq.Trim, -4, 1000);  // the repeat runs
    QTest::mouseRelease(plus, Qt::RightButton, {}, plus->rect().center());
    EXPECT_FALSE(editor_->InputAddTimer().isActive());
    EXPECT_EQ(plus->ShownPicture(), 0);
    const int released = state_.Eq.Trim;
    QTest::qWait(400);
    EXPECT_EQ(state_.Eq.Trim, released);

    QTest::mouseClick(Band(2).EQImage, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseClick(Band(2).EQType, Qt::RightButton, {}, QPoint(10, 8));
    EXPECT_EQ(Model(2).BandOff, 0);
    EXPECT_EQ(Band(2).EQImage->ShownPicture(), 1);
    EXPECT_EQ(Model(2).BandType, kPeak);
    QTest::mousePress(resetImg_, Qt::RightButton, {}, QPoint(20, 8));
    EXPECT_EQ(resetImg_->ShownPicture(), 1);
    QTest::mouseRelease(resetImg_, Qt::RightButton, {}, QPoint(20, 8));
    EXPECT_EQ(resetImg_->ShownPicture(), 0);
    EXPECT_EQ(state_.Eq.Trim, released) << "no reset";

    QTest::mousePress(editor_->BPImage(), Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_TRUE(state_.Eq.Bypass);
    QTest::mouseRelease(editor_->BPImage(), Qt::RightButton, {}, QPoint(20, 10));
}

TEST_F(BandControlsTest, ConnectedTrimSendsEachStepAndStopsWhenBypassLocksTheButtons)
{
    Connect();
    PictureButton* minus = editor_->TrimDecImg();
    QTest::mousePress(minus, Qt::LeftButton, {}, minus->rect().center());
    QTRY_COMPARE_WITH_TIMEOUT(state_.Eq.Trim, -7, 3000);
    EXPECT_EQ(link_->WithCommand(0x0E).back(), QByteArray::fromHex("01200340" "0B0E6B48" "010560"));
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");  // not before the echo
    EchoTrim(link_->WithCommand(0x0E).back());
    EXPECT_EQ(editor_->TrimEdit()->text(), "-7");
    EXPECT_TRUE(AllNear(curves_.Sum(), -7.0));

    // The unit switches bypass on while "-" is still held: the repeat stops.
    EchoBypass(QByteArray::fromHex("01200340" "0B1300" "01" "010560"));
    const std::size_t sent = link_->Frames.size();
    QTest::qWait(400);
    EXPECT_EQ(link_->Frames.size(), sent);
    EXPECT_FALSE(editor_->InputDecTimer().isActive());
}

TEST_F(BandControlsTest, BypassDisablesExactlyTheEditingControlsAndKeepsTheCurve)
{
    Model(3).BandGain = 12;
    editor_->RefreshBand(3);
    const ResponseArray before = curves_.Sum();
    QTest::mousePress(editor_->BPImage(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(state_.Eq.Bypass);
    EXPECT_EQ(editor_->BPImage()->ShownPicture(), 3);
    EXPECT_FALSE(editor_->TrimAddImg()->isEnabled());
    EXPECT_FALSE(editor_->TrimDecImg()->isEnabled());
    EXPECT_FALSE(plot_->isEnabled());
    for (int n = 1; n <= 5; ++n) {
        for (QWidget* w : std::initializer_list<QWidget*>{Band(n).EQImage, Band(n).EQType, Band(n).FreqCButton,
                                                          Band(n).QCButton, Band(n).TrackBar})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_TRUE(Band(n).FreqEdit->isEnabled());
        EXPECT_TRUE(Band(n).QEdit->isEnabled());
    }
    EXPECT_TRUE(editor_->TrimEdit()->isEnabled());
    EXPECT_TRUE(resetImg_->isEnabled());
    EXPECT_EQ(curves_.Sum(), before);
    ClickUp(Band(3).FreqCButton);
    EXPECT_EQ(Model(3).BandFreq, 100);

    QTest::mousePress(editor_->BPImage(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(state_.Eq.Bypass);
    EXPECT_EQ(editor_->BPImage()->ShownPicture(), 1);
    EXPECT_TRUE(Band(3).TrackBar->isEnabled());
    EXPECT_TRUE(plot_->isEnabled());
}

TEST_F(BandControlsTest, ConnectedBypassAsksTheUnitAndFollowsItsEcho)
{
    Connect();
    QTest::mousePress(editor_->BPImage(), Qt::LeftButton, {}, QPoint(20, 10));
    ASSERT_EQ(link_->Frames.size(), 1u);
    EXPECT_EQ(link_->Frames[0], QByteArray::fromHex("01200340" "0B1300" "01" "010560"));
    EXPECT_FALSE(state_.Eq.Bypass);
    EchoBypass(link_->Frames[0]);
    EXPECT_FALSE(Band(1).TrackBar->isEnabled());
    QTest::mousePress(editor_->BPImage(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(Byte(link_->Frames.back(), 7), 0);
}

TEST_F(BandControlsTest, BlockWithBypassReenablesTheControlsOfBandsThatAreOn)
{
    EqBlock block = ResetBlock;
    block[static_cast<std::size_t>(BandRecordOffset(1) + 5)] = 1;  // band 2 off
    block[kBlockBypassOffset] = 1;
    editor_->ApplyEqBlock(block);
    EXPECT_EQ(editor_->BPImage()->ShownPicture(), 2);
    for (int n = 1; n <= 5; ++n) {
        const bool on = n != 2;
        EXPECT_EQ(Band(n).EQType->isEnabled(), on) << n;
        EXPECT_EQ(Band(n).QCButton->isEnabled(), on) << n;
        EXPECT_EQ(Band(n).TrackBar->isEnabled(), on) << n;
        EXPECT_FALSE(Band(n).EQImage->isEnabled()) << n;
    }
    EXPECT_FALSE(editor_->TrimAddImg()->isEnabled());
    EXPECT_FALSE(plot_->isEnabled());
}

TEST_F(BandControlsTest, BandSwitchedOffShowsNothingOnThePlotAndLocksItsControls)
{
    Model(3).BandGain = 12;  // +6 dB
    editor_->RefreshBand(3);
    Click(Band(3).EQImage);
    EXPECT_EQ(Band(3).EQImage->ShownPicture(), 7);
    EXPECT_TRUE(AllNear(curves_.Band(3), 0.0));
    EXPECT_TRUE(AllNear(curves_.Sum(), 0.0));
    EXPECT_TRUE(plot_->Block(2).Hidden);
    for (QWidget* w : std::initializer_list<QWidget*>{Band(3).EQType, Band(3).FreqEdit, Band(3).QEdit,
                                                      Band(3).FreqCButton, Band(3).QCButton, Band(3).TrackBar})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(Band(3).EQImage->isEnabled());
    QTest::mouseMove(Band(3).EQImage, QPoint(10, 10));
    EXPECT_EQ(labels_[0]->text(), "Master EQ3");
    EXPECT_EQ(labels_[2]->text(), "Off");

    Click(Band(3).EQImage);
    EXPECT_EQ(Band(3).EQImage->ShownPicture(), 2);
    EXPECT_FALSE(plot_->Block(2).Hidden);
    EXPECT_TRUE(Band(3).TrackBar->isEnabled());
}

TEST_F(BandControlsTest, ConnectedOnOffClickSendsAndTheEchoSetsBothFlags)
{
    Connect();
    Model(3) = EqBand{kLowShelf, 150, 40, 30, 0, 0};
    Click(Band(3).EQImage);
    ASSERT_EQ(link_->Frames.size(), 1u);
    EXPECT_EQ(link_->Frames[0], QByteArray::fromHex("01200340" "1111" "0A03050132" "1E2801" "010560"));
    EXPECT_EQ(Model(3).BandOffShown, 0);
    EXPECT_EQ(Band(3).EQImage->ShownPicture(), 2);  // on until the unit says otherwise

    EchoBand(link_->Frames[0]);
    EXPECT_EQ(Model(3).BandOffShown, 1);
    EXPECT_EQ(Band(3).EQImage->ShownPicture(), 7);
    EXPECT_EQ(Band(3).EQType->ShownPicture(), 2);
    EXPECT_EQ(Band(3).TrackBar->Position(), 3);
    EXPECT_TRUE(plot_->Block(2).Hidden);
}

TEST_F(BandControlsTest, ConnectedSliderMoveSendsEachPositionAndTheCurveWaitsForTheEcho)
{
    Connect();
    TPTrackBar* slider = Band(4).TrackBar;
    slider->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(slider, Qt::Key_Up);
    ASSERT_EQ(slider->Position(), -3);  // +3 dB: the slider moves under the hand
    const std::vector<QByteArray> sent = link_->WithCommand(0x11);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(Byte(sent[0], 11), 22);
    EXPECT_EQ(Byte(sent[2], 11), 18);
    EXPECT_TRUE(AllNear(curves_.Band(4), 0.0));

    EchoBand(sent[2]);
    EXPECT_NEAR(*std::max_element(curves_.Sum().begin(), curves_.Sum().end()), 3.0, 0.05);
    EXPECT_EQ(link_->Frames.size(), 3u);  // applying the echo sends nothing back
}

TEST_F(BandControlsTest, NotConnectedSliderDragRefreshesTheBand)
{
    TPTrackBar* slider = Band(1).TrackBar;
    const QPoint thumb = slider->ThumbRect().center();
    QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(slider, QPoint(thumb.x(), 2));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(thumb.x(), 2));
    EXPECT_EQ(Model(1).BandGain, 0);
    EXPECT_EQ(plot_->Block(0).Y, 12.0);
    QTest::mouseMove(slider, thumb);
    EXPECT_EQ(labels_[1]->text(), "Gain:");
    EXPECT_EQ(labels_[2]->text(), "12 dB");
}

TEST_F(BandControlsTest, ReceivedGainCodesLandOnEvenCodesThroughTheSlider)
{
    EqBlock block = ResetBlock;
    block[GainByte(1)] = 25;
    block[GainByte(2)] = 1;
    block[GainByte(3)] = 60;
    block[GainByte(4)] = 47;
    editor_->ApplyEqBlock(block);
    const int positions[4] = {0, -11, 12, 11};
    const int codes[4] = {24, 2, 48, 46};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(Band(n).TrackBar->Position(), positions[n - 1]) << n;
        EXPECT_EQ(Model(n).BandGain, codes[n - 1]) << n;
    }
}

TEST_F(BandControlsTest, BlockGainIsStoredEvenWhenTheSliderIsAlreadyInPlace)
{
    Connect();
    Model(1).BandGain = 25;  // an echo with an odd code: slider at 0 dB, code 25
    EchoBand(BandEcho(1));
    ASSERT_EQ(Model(1).BandGain, 25);
    editor_->ApplyEqBlock(ResetBlock);  // code 24: the slider does not move
    EXPECT_EQ(Model(1).BandGain, 24);
    EXPECT_TRUE(link_->Frames.empty());
    EXPECT_EQ(state_.SendGate, 3);
}

TEST_F(BandControlsTest, ResetWhileNotConnectedAppliesTheBuiltInSetting)
{
    Model(1).BandGain = 10;
    Model(2).BandType = kLowShelf;
    Model(3).BandOff = 1;
    state_.Eq.Trim = -5;
    editor_->RefreshAllBands();
    QTest::mousePress(editor_->BPImage(), Qt::LeftButton, {}, QPoint(20, 10));

    QTest::mousePress(resetImg_, Qt::LeftButton, {}, QPoint(20, 8));
    EXPECT_EQ(resetImg_->ShownPicture(), 1);
    QTest::mouseRelease(resetImg_, Qt::LeftButton, {}, QPoint(20, 8));
    EXPECT_EQ(resetImg_->ShownPicture(), 0);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(Band(n).EQType->ShownPicture(), 1);
        EXPECT_EQ(Band(n).TrackBar->Position(), 0);
        EXPECT_EQ(Band(n).QEdit->text(), "0.40");
        EXPECT_EQ(Band(n).FreqEdit->text(), kStartFreqs[n - 1]);
        EXPECT_EQ(Band(n).EQImage->ShownPicture(), n - 1);
        EXPECT_TRUE(Band(n).TrackBar->isEnabled());
    }
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");
    EXPECT_EQ(editor_->BPImage()->ShownPicture(), 0);
    EXPECT_TRUE(plot_->isEnabled());
    EXPECT_TRUE(AllNear(curves_.Sum(), 0.0));
}

TEST_F(BandControlsTest, ResetWhileConnectedSendsTheBlockAndWaitsForTheUnit)
{
    Connect();
    Model(1).BandGain = 10;
    Click(resetImg_);
    ASSERT_EQ(link_->Frames.size(), 1u);
    EXPECT_EQ(link_->Frames[0], QByteArray(reinterpret_cast<const char*>(ResetBlock.data()), kEqBlockSize));
    EXPECT_EQ(state_.SendGate, 7);
    EXPECT_TRUE(state_.Heard);
    EXPECT_EQ(Model(1).BandGain, 10);
}

TEST_F(BandControlsTest, ApplyingABlockHoldsTheThreadForItsPause)
{
    editor_->SetBlockPause(BandEditor::kBlockPauseMs);
    QElapsedTimer timer;
    timer.start();
    editor_->ApplyEqBlock(ResetBlock);
    EXPECT_GE(timer.elapsed(), 500);
}

TEST_F(BandControlsTest, EchoesAreCheckedAndLimitedBeforeTheyReachTheControls)
{
    Connect();
    QByteArray echo = BandEcho(2);
    echo[11] = 0;
    for (char band : {'\0', '\x06'}) {
        echo[7] = band;
        EchoBand(echo);
    }
    EchoBand(BandEcho(2).left(13));  // too short to hold its fields
    EchoBypass(QByteArray::fromHex("01200340"));
    EchoTrim(QByteArray::fromHex("012003"));
    EXPECT_EQ(Model(2).BandGain, 24);
    EXPECT_EQ(state_.Eq.Trim, 0);
    EXPECT_FALSE(state_.Eq.Bypass);

    EchoBand(QByteArray::fromHex("01200340" "1111" "0A02" "05" "0363" "FF" "C8" "07" "010560"));
    EXPECT_EQ(Model(2).BandType, kLowShelf);  // no shelf fix on an echo
    EXPECT_EQ(Model(2).BandFreq, 300);
    EXPECT_EQ(Model(2).BandQ, 100);
    EXPECT_EQ(Model(2).BandGain, 48);
    EXPECT_EQ(Model(2).BandOff, 1);
    for (const char* code : {"C8", "78", "77"}) {
        EchoTrim(QByteArray::fromHex(QByteArray("012003400B0E") + code + "48010560"));
        EXPECT_EQ(editor_->TrimEdit()->text(), code == QByteArray("77") ? "-1" : "0");
    }
}

TEST_F(BandControlsTest, HintLineNamesTheControlUnderTheMouse)
{
    Model(3).BandType = kLowShelf;
    editor_->RefreshBand(3);
    QTest::mouseMove(Band(3).EQType, QPoint(5, 5));
    EXPECT_EQ(labels_[0]->text(), "Master EQ3");
    EXPECT_EQ(labels_[1]->text(), "Type:");
    EXPECT_EQ(labels_[2]->text(), "Low Shelf");
    QTest::mouseMove(Band(4).FreqEdit, QPoint(5, 5));
    EXPECT_EQ(labels_[2]->text(), "630.0Hz");
    // Typed text is never taken as a value; it only shows in the hint.
    QTest::keyClicks(Band(5).QEdit, "9");
    QTest::mouseMove(Band(5).QEdit, QPoint(6, 6));
    EXPECT_EQ(labels_[1]->text(), "Q:");
    EXPECT_TRUE(labels_[2]->text().contains('9'));
    EXPECT_EQ(Model(5).BandQ, 35);
    editor_->RefreshBand(5);
    EXPECT_EQ(Band(5).QEdit->text(), "3.00");
    QTest::mouseMove(Band(1).EQImage, QPoint(5, 5));
    EXPECT_EQ(labels_[1]->text(), "");
    EXPECT_EQ(labels_[2]->text(), "On");
}

// Each scale: ticks beside its slider, labels ending before their ticks on
// the tick rows, whole inside the box, in the box's font and in a wider one.
// The box that lies under band 2's slider must show nothing through it.
TEST_F(BandControlsTest, GainScalesAreCleanBesideTheSliders)
{
    const auto& boxes = editor_->GainScales();
    EXPECT_EQ(boxes[2]->objectName(), "EQ2PaintBox");
    EXPECT_EQ(boxes[2]->geometry(), QRect(192, 168, 17, 169));
    const int tickRows[] = {11, 30, 50, 69, 88, 107, 127, 146, 165};

    for (int fontPixels : {0, 13}) {
        SCOPED_TRACE(fontPixels);
        for (std::size_t i : {0u, 1u, 3u, 4u, 5u}) {
            PaintBox* box = boxes[i];
            SCOPED_TRACE(box->objectName().toStdString());
            EXPECT_EQ(box->size(), QSize(i == 2 ? 17 : 65, 169));
            if (fontPixels > 0) {
                QFont wide = box->font();
                wide.setPixelSize(fontPixels);
                box->setFont(wide);
            }
            const QImage image = box->grab().toImage();
            const QColor paper = image.pixelColor(40, 2);
            EXPECT_EQ(image.pixelColor(24, 88), QColor(Qt::black));  // the 0 dB tick
            for (int row : tickRows) {
                SCOPED_TRACE(row);
                // Everything in the label's band up to the tick's end is label
                // or tick; the label ends before the tick and sits on its row.
                const QRect label = InkIn(image, QRect(0, row - 6, 20, 13), paper);
                ASSERT_FALSE(label.isEmpty());
                EXPECT_GT(label.left(), 0);
                EXPECT_LT(label.right(), 19);
                EXPECT_NEAR((label.top() + label.bottom()) / 2.0, row, 2.0);
                // Off the tick line, nothing reaches past the label into the
                // tick's columns or beyond.
                EXPECT_TRUE(InkIn(image, QRect(19, row - 6, 46, 5), paper).isEmpty());
                EXPECT_TRUE(InkIn(image, QRect(19, row + 2, 46, 5), paper).isEmpty());
            }
        }
        const QImage hidden = boxes[2]->grab().toImage();
        EXPECT_TRUE(InkIn(hidden, hidden.rect(), hidden.pixelColor(0, 0)).isEmpty());
    }
}

// A display field shows its whole value, never a scrolled part of it
// ("20160.0" cut to "0160.0" reads as another frequency).
TEST_F(BandControlsTest, FieldsShowTheirWholeValue)
{
    Model(5).BandFreq = 300;
    Model(5).BandQ = 100;
    editor_->RefreshBand(5);
    for (QLineEdit* field : {Band(5).FreqEdit, Band(5).QEdit}) {
        SCOPED_TRACE(field->text().toStdString());
        EXPECT_EQ(field->size(), QSize(49, 21));
        // The same text in the same font in a field with room to spare.
        QLineEdit roomy;
        roomy.setFont(field->font());
        roomy.setText(field->text());
        roomy.resize(200, 21);
        const auto inkWidth = [](QLineEdit& edit) {
            const QImage image = edit.grab().toImage();
            const QRect inside(3, 4, image.width() - 6, image.height() - 8);
            return InkIn(image, inside, edit.palette().color(QPalette::Base)).width();
        };
        const int whole = inkWidth(roomy);
        EXPECT_GT(whole, 20);
        EXPECT_NEAR(inkWidth(*field), whole, 1);
    }
    EXPECT_EQ(Band(5).FreqEdit->text(), "20160.0");
    EXPECT_EQ(Band(5).QEdit->text(), "128.00");
}

}  // namespace
}  // namespace qireq::test
