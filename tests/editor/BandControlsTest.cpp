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

bool AllZero(const ResponseArray& curve)
{
    return std::all_of(curve.begin(), curve.end(), [](double v) { return v == 0.0; });
}

bool AllNear(const ResponseArray& curve, double value)
{
    return std::all_of(curve.begin(), curve.end(), [value](double v) { return std::abs(v - value) < 1e-9; });
}

EqBlock BlockWithBand(int n, std::uint8_t type, int freq, std::uint8_t gain, std::uint8_t q, std::uint8_t off)
{
    EqBlock block = ResetBlock;
    const auto at = static_cast<std::size_t>(BandRecordOffset(n - 1));
    block[at] = type;
    block[at + 1] = static_cast<std::uint8_t>(freq / 100);
    block[at + 2] = static_cast<std::uint8_t>(freq % 100);
    block[at + 3] = gain;
    block[at + 4] = q;
    block[at + 5] = off;
    return block;
}

using BandControlsTest = EditorTest;

TEST_F(BandControlsTest, StartUpShowsTheFiveBandsAndAFlatCurve)
{
    const char* freqs[5] = {"19.7", "62.5", "198.4", "630.0", "2010.0"};
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(Band(n).FreqEdit->text(), freqs[n - 1]);
        EXPECT_EQ(Band(n).QEdit->text(), "3.00");
        EXPECT_EQ(Band(n).TrackBar->Position(), 0);
        EXPECT_EQ(Band(n).EQType->ShownPicture(), 1);
        EXPECT_EQ(Band(n).EQImage->ShownPicture(), n - 1);
        // The controls are found by their names too.
        EXPECT_EQ(eqPanel_->findChild<QLineEdit*>(QStringLiteral("EQ%1FreqEdit").arg(n)), Band(n).FreqEdit);
        EXPECT_EQ(eqPanel_->findChild<QWidget*>(QStringLiteral("EQType%1").arg(n))->property("Tag").toInt(), n);
        EXPECT_FALSE(plot_->Block(n - 1).Hidden);
    }
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");
    EXPECT_EQ(state_.SendGate, 3);
    EXPECT_EQ(plot_->PlotCount(), 1);
    EXPECT_EQ(plot_->GetPlotNumPoints(0), 1024);
    EXPECT_TRUE(AllZero(curves_.Sum()));
    EXPECT_EQ(plot_->GetBlockPos(2).x(), static_cast<int>(1024 * std::log10(198.4) / std::log10(24000.0)));
}

TEST_F(BandControlsTest, TypeButtonCyclesAndMovesShelvesToTheirSide)
{
    Model(2).BandFreq = 100;
    editor_->RefreshBand(2);
    PictureButton* type = Band(2).EQType;

    Click(type);
    EXPECT_EQ(Model(2).BandType, kLowShelf);
    EXPECT_EQ(type->ShownPicture(), 2);
    EXPECT_EQ(Band(2).FreqEdit->text(), "198.4");
    Click(type);
    EXPECT_EQ(Model(2).BandType, kHighShelf);
    EXPECT_EQ(type->ShownPicture(), 0);
    EXPECT_EQ(Band(2).FreqEdit->text(), "1000.0");
    Click(type);
    EXPECT_EQ(Model(2).BandType, kPeak);
    EXPECT_EQ(Band(2).FreqEdit->text(), "1000.0");
}

TEST_F(BandControlsTest, FrequencyAndQButtonsStepAndStopAtTheirLimits)
{
    Model(1).BandType = kLowShelf;
    Model(1).BandFreq = 170;
    editor_->RefreshBand(1);
    ClickUp(Band(1).FreqCButton);
    EXPECT_EQ(Band(1).FreqEdit->text(), "1000.0");
    ClickDown(Band(1).FreqCButton);
    EXPECT_EQ(Band(1).FreqEdit->text(), "977.2");

    Model(5).BandType = kHighShelf;
    Model(5).BandFreq = 170;
    editor_->RefreshBand(5);
    ClickDown(Band(5).FreqCButton);
    EXPECT_EQ(Model(5).BandFreq, 170);
    ClickUp(Band(5).FreqCButton);
    EXPECT_EQ(Band(5).FreqEdit->text(), "1030.0");

    Model(4).BandQ = 99;
    editor_->RefreshBand(4);
    ClickUp(Band(4).QCButton);
    ClickUp(Band(4).QCButton);
    EXPECT_EQ(Band(4).QEdit->text(), "128.00");
    Model(4).BandQ = 0;
    editor_->RefreshBand(4);
    ClickDown(Band(4).QCButton);
    EXPECT_EQ(Band(4).QEdit->text(), "0.40");
}

TEST_F(BandControlsTest, ConnectedStepsSendOneBandWriteEachAndHeldLimitsStillSend)
{
    Connect();
    Model(1).BandType = kLowShelf;
    Model(1).BandFreq = 170;
    ClickUp(Band(1).FreqCButton);  // the shelf stops at 1000 Hz: nothing goes out
    EXPECT_TRUE(link_->Frames.empty());

    Model(2).BandFreq = 300;
    Model(2).BandQ = 100;
    ClickUp(Band(2).FreqCButton);
    ClickUp(Band(2).QCButton);
    ASSERT_EQ(link_->Frames.size(), 2u);
    for (const QByteArray& frame : link_->Frames) {
        EXPECT_EQ(Byte(frame, 7), 2);
        EXPECT_EQ(Byte(frame, 9) * 100 + Byte(frame, 10), 300);
        EXPECT_EQ(Byte(frame, 12), 100);
    }
    // Nothing is shown until the unit echoes.
    EXPECT_EQ(Band(2).FreqEdit->text(), "62.5");
    EXPECT_EQ(state_.SendGate, 3);
    EXPECT_TRUE(state_.Heard);
    EXPECT_EQ(state_.QuietTicks, 0);

    editor_->ApplyBandEcho(link_->Frames.back());
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
    EXPECT_EQ(Model(3).BandFreq, start + 1);  // no repeat before 400 ms
    QTRY_COMPARE_WITH_TIMEOUT(Model(3).BandFreq, start + 2, 1000);
    QElapsedTimer held;
    held.start();
    QTRY_COMPARE_WITH_TIMEOUT(Model(3).BandFreq, start + 6, 2000);
    EXPECT_GE(held.elapsed(), 300);  // four more repeats take at least 3 x 100 ms
    QTest::mouseRelease(spin, Qt::LeftButton, {}, QPoint(8, 4));
    const int released = Model(3).BandFreq;
    QTest::qWait(350);
    EXPECT_EQ(Model(3).BandFreq, released);
    EXPECT_EQ(Band(3).FreqEdit->text(), FrequencyText(released));
}

TEST_F(BandControlsTest, SpinButtonRepeatStopsWhenTheBandIsSwitchedOffUnderIt)
{
    TCSpinButton* spin = Band(2).QCButton;
    QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(8, 4));
    QTRY_VERIFY_WITH_TIMEOUT(Model(2).BandQ >= 37, 1500);
    editor_->EnableBandControls(2, false);  // as an echo switching the band off does
    const int q = Model(2).BandQ;
    QTest::qWait(350);
    EXPECT_EQ(Model(2).BandQ, q);
    EXPECT_FALSE(spin->IsRepeating());
}

TEST_F(BandControlsTest, SpinButtonKeys)
{
    TCSpinButton* spin = Band(1).QCButton;
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(Model(1).BandQ, 36);
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(Model(1).BandQ, 34);
    QTest::keyClick(spin, Qt::Key_Space);  // the up half has focus at first
    EXPECT_EQ(Model(1).BandQ, 35);
    ClickDown(spin);  // now the down half has it
    QTest::keyClick(spin, Qt::Key_Space);
    EXPECT_EQ(Model(1).BandQ, 33);
    EXPECT_EQ(Band(1).QEdit->text(), "2.70");
}

TEST_F(BandControlsTest, TrimHeldDownStepsEvery150MsToMinus18)
{
    PictureButton* minus = editor_->TrimDecImg();
    QTest::mousePress(minus, Qt::LeftButton, {}, minus->rect().center());
    EXPECT_EQ(state_.Eq.Trim, -1);
    EXPECT_EQ(editor_->TrimEdit()->text(), "-1");
    EXPECT_EQ(minus->ShownPicture(), 3);
    EXPECT_TRUE(editor_->InputDecTimer().isActive());
    EXPECT_EQ(editor_->InputDecTimer().interval(), 150);
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

    // And back up with "+".
    PictureButton* plus = editor_->TrimAddImg();
    QTest::mousePress(plus, Qt::LeftButton, {}, plus->rect().center());
    EXPECT_EQ(state_.Eq.Trim, -17);
    QTRY_COMPARE_WITH_TIMEOUT(state_.Eq.Trim, 0, 5000);
    QTest::mouseRelease(plus, Qt::LeftButton, {}, plus->rect().center());
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");
}

TEST_F(BandControlsTest, TrimPlusAtZeroDoesNothingAndStartsNoRepeat)
{
    PictureButton* plus = editor_->TrimAddImg();
    QTest::mousePress(plus, Qt::LeftButton, {}, plus->rect().center());
    EXPECT_EQ(plus->ShownPicture(), 1);
    EXPECT_EQ(state_.Eq.Trim, 0);
    EXPECT_FALSE(editor_->InputAddTimer().isActive());
    QTest::mouseRelease(plus, Qt::LeftButton, {}, plus->rect().center());
    EXPECT_EQ(plus->ShownPicture(), 0);
}

TEST_F(BandControlsTest, ConnectedTrimSendsEachStepAndFollowsTheEcho)
{
    Connect();
    PictureButton* minus = editor_->TrimDecImg();
    QTest::mousePress(minus, Qt::LeftButton, {}, minus->rect().center());
    QTRY_COMPARE_WITH_TIMEOUT(state_.Eq.Trim, -7, 3000);
    QTest::mouseRelease(minus, Qt::LeftButton, {}, minus->rect().center());
    const std::vector<QByteArray> trims = link_->WithCommand(0x0E);
    ASSERT_EQ(trims.size(), 7u);
    EXPECT_EQ(trims.back(), QByteArray::fromHex("01200340" "0B0E6B48" "010560"));
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");  // not before the echo
    editor_->ApplyTrimEcho(trims.back());
    EXPECT_EQ(editor_->TrimEdit()->text(), "-7");
    EXPECT_TRUE(AllNear(curves_.Sum(), -7.0));
}

TEST_F(BandControlsTest, TrimRepeatStopsWhenBypassDisablesTheButtonsUnderTheHand)
{
    Connect();
    PictureButton* minus = editor_->TrimDecImg();
    QTest::mousePress(minus, Qt::LeftButton, {}, minus->rect().center());
    QTRY_VERIFY_WITH_TIMEOUT(state_.Eq.Trim <= -3, 2000);
    editor_->ApplyBypassEcho(QByteArray::fromHex("01200340" "0B1300" "01" "010560"));
    const int trim = state_.Eq.Trim;
    QTest::qWait(400);
    EXPECT_EQ(state_.Eq.Trim, trim);
    EXPECT_FALSE(editor_->InputDecTimer().isActive());
}

TEST_F(BandControlsTest, BypassDisablesExactlyTheEditingControlsAndKeepsTheCurve)
{
    Model(3).BandGain = 12;
    editor_->RefreshBand(3);
    const ResponseArray before = curves_.Sum();

    QTest::mousePress(editor_->BPImage(), Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(editor_->BPImage(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(state_.Eq.Bypass);
    EXPECT_EQ(editor_->BPImage()->ShownPicture(), 3);
    EXPECT_FALSE(editor_->TrimAddImg()->isEnabled());
    EXPECT_FALSE(editor_->TrimDecImg()->isEnabled());
    EXPECT_FALSE(plot_->isEnabled());
    for (int n = 1; n <= 5; ++n) {
        EXPECT_FALSE(Band(n).EQImage->isEnabled());
        EXPECT_FALSE(Band(n).EQType->isEnabled());
        EXPECT_FALSE(Band(n).FreqCButton->isEnabled());
        EXPECT_FALSE(Band(n).QCButton->isEnabled());
        EXPECT_FALSE(Band(n).TrackBar->isEnabled());
        EXPECT_TRUE(Band(n).FreqEdit->isEnabled());
        EXPECT_TRUE(Band(n).QEdit->isEnabled());
    }
    EXPECT_TRUE(editor_->TrimEdit()->isEnabled());
    EXPECT_TRUE(editor_->BPImage()->isEnabled());
    EXPECT_TRUE(resetImg_->isEnabled());
    EXPECT_EQ(curves_.Sum(), before);

    // Clicks on disabled controls do nothing.
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
    EXPECT_TRUE(Band(1).TrackBar->isEnabled());
    editor_->ApplyBypassEcho(link_->Frames[0]);
    EXPECT_TRUE(state_.Eq.Bypass);
    EXPECT_FALSE(Band(1).TrackBar->isEnabled());
    QTest::mousePress(editor_->BPImage(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(Byte(link_->Frames.back(), 7), 0);
}

TEST_F(BandControlsTest, BlockWithBypassReenablesTheControlsOfBandsThatAreOn)
{
    EqBlock block = BlockWithBand(2, 1, 50, 24, 0, 1);  // band 2 off
    block[kBlockBypassOffset] = 1;
    editor_->ApplyEqBlock(block);
    EXPECT_TRUE(state_.Eq.Bypass);
    EXPECT_EQ(editor_->BPImage()->ShownPicture(), 2);
    for (int n = 1; n <= 5; ++n) {
        const bool on = n != 2;
        EXPECT_EQ(Band(n).EQType->isEnabled(), on) << n;
        EXPECT_EQ(Band(n).FreqCButton->isEnabled(), on) << n;
        EXPECT_EQ(Band(n).QCButton->isEnabled(), on) << n;
        EXPECT_EQ(Band(n).TrackBar->isEnabled(), on) << n;
        EXPECT_EQ(Band(n).FreqEdit->isEnabled(), on) << n;
        EXPECT_FALSE(Band(n).EQImage->isEnabled()) << n;
    }
    EXPECT_FALSE(editor_->TrimAddImg()->isEnabled());
    EXPECT_FALSE(plot_->isEnabled());
}

TEST_F(BandControlsTest, BandSwitchedOffShowsNothingOnThePlotAndLocksItsControls)
{
    Model(3).BandGain = 12;  // +6 dB
    editor_->RefreshBand(3);
    ASSERT_FALSE(AllZero(curves_.Band(3)));

    Click(Band(3).EQImage);
    EXPECT_EQ(Model(3).BandOff, 1);
    EXPECT_EQ(Band(3).EQImage->ShownPicture(), 7);
    EXPECT_TRUE(AllZero(curves_.Band(3)));
    EXPECT_TRUE(AllZero(curves_.Sum()));
    EXPECT_TRUE(plot_->Block(2).Hidden);
    EXPECT_FALSE(Band(3).EQType->isEnabled());
    EXPECT_FALSE(Band(3).FreqEdit->isEnabled());
    EXPECT_FALSE(Band(3).QEdit->isEnabled());
    EXPECT_FALSE(Band(3).FreqCButton->isEnabled());
    EXPECT_FALSE(Band(3).QCButton->isEnabled());
    EXPECT_FALSE(Band(3).TrackBar->isEnabled());
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
    EXPECT_EQ(Model(3).BandOff, 1);
    EXPECT_EQ(Model(3).BandOffShown, 0);
    EXPECT_EQ(Band(3).EQImage->ShownPicture(), 2);  // still on until the unit says otherwise

    editor_->ApplyBandEcho(link_->Frames[0]);
    EXPECT_EQ(Model(3).BandOffShown, 1);
    EXPECT_EQ(Band(3).EQImage->ShownPicture(), 7);
    EXPECT_EQ(Band(3).EQType->ShownPicture(), 2);
    EXPECT_EQ(Band(3).FreqEdit->text(), "630.0");
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
    ASSERT_EQ(slider->Position(), -3);  // +3 dB, the slider moved under the hand
    const std::vector<QByteArray> sent = link_->WithCommand(0x11);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(Byte(sent[0], 11), 22);
    EXPECT_EQ(Byte(sent[2], 11), 18);
    EXPECT_EQ(Byte(sent[2], 7), 4);
    EXPECT_EQ(Model(4).BandGain, 18);
    EXPECT_TRUE(AllZero(curves_.Band(4)));

    editor_->ApplyBandEcho(sent[2]);
    EXPECT_NEAR(*std::max_element(curves_.Sum().begin(), curves_.Sum().end()), 3.0, 0.05);
    EXPECT_EQ(link_->Frames.size(), 3u);  // applying the echo sends nothing back
}

TEST_F(BandControlsTest, NotConnectedSliderDragRefreshesTheBandAtEveryPosition)
{
    TPTrackBar* slider = Band(1).TrackBar;
    const QRect thumb = slider->ThumbRect();
    QTest::mousePress(slider, Qt::LeftButton, {}, thumb.center());
    QTest::mouseMove(slider, QPoint(thumb.center().x(), 2));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(thumb.center().x(), 2));
    EXPECT_EQ(slider->Position(), -12);
    EXPECT_EQ(Model(1).BandGain, 0);
    EXPECT_EQ(plot_->Block(0).Y, 12.0);
    QTest::mouseMove(slider, thumb.center());
    EXPECT_EQ(labels_[1]->text(), "Gain:");
    EXPECT_EQ(labels_[2]->text(), "12 dB");
}

TEST_F(BandControlsTest, ReceivedGainCodesLandOnEvenCodesThroughTheSlider)
{
    EqBlock block = BlockWithBand(1, 1, 0, 25, 0, 0);
    const auto gainAt = [](int n) { return static_cast<std::size_t>(BandRecordOffset(n - 1) + 3); };
    block[gainAt(2)] = 1;
    block[gainAt(3)] = 60;
    block[gainAt(4)] = 47;
    editor_->ApplyEqBlock(block);
    EXPECT_EQ(Band(1).TrackBar->Position(), 0);
    EXPECT_EQ(Model(1).BandGain, 24);
    EXPECT_EQ(Band(2).TrackBar->Position(), -11);
    EXPECT_EQ(Model(2).BandGain, 2);
    EXPECT_EQ(Band(3).TrackBar->Position(), 12);
    EXPECT_EQ(Model(3).BandGain, 48);
    EXPECT_EQ(Band(4).TrackBar->Position(), 11);
    EXPECT_EQ(Model(4).BandGain, 46);
}

TEST_F(BandControlsTest, BlockGainIsStoredEvenWhenTheSliderIsAlreadyInPlace)
{
    Connect();
    // An echo with an odd code leaves the slider at 0 dB but the code at 25.
    Model(1).BandGain = 25;
    editor_->ApplyBandEcho(BandEcho(1));
    ASSERT_EQ(Model(1).BandGain, 25);
    editor_->ApplyEqBlock(ResetBlock);  // gain code 24: the slider does not move
    EXPECT_EQ(Model(1).BandGain, 24);
    EXPECT_TRUE(link_->Frames.empty());
    EXPECT_EQ(state_.SendGate, 3);
}

TEST_F(BandControlsTest, ReceivedBlockLimitsAndShelfFix)
{
    EqBlock block = BlockWithBand(1, 4, 100, 24, 120, 0);  // high shelf at 198 Hz, Q past the table
    const auto at2 = static_cast<std::size_t>(BandRecordOffset(1));
    block[at2] = 9;  // unknown type code: a peak
    block[at2 + 1] = 3;
    block[at2 + 2] = 1;  // step 301
    block[kBlockTrimOffset] = 84;
    editor_->ApplyEqBlock(block);
    EXPECT_EQ(Model(1).BandType, kHighShelf);
    EXPECT_EQ(Band(1).FreqEdit->text(), "1000.0");
    EXPECT_EQ(Band(1).QEdit->text(), "128.00");
    EXPECT_EQ(Model(2).BandType, kPeak);
    EXPECT_EQ(Band(2).FreqEdit->text(), "20160.0");
    EXPECT_EQ(editor_->TrimEdit()->text(), "-18");
}

TEST_F(BandControlsTest, ResetWhileNotConnectedAppliesTheBuiltInSetting)
{
    Model(1).BandGain = 10;
    Model(2).BandType = kLowShelf;
    Model(3).BandOff = 1;
    state_.Eq.Trim = -5;
    for (int n = 1; n <= 5; ++n)
        editor_->RefreshBand(n);
    QTest::mousePress(editor_->BPImage(), Qt::LeftButton, {}, QPoint(20, 10));
    ASSERT_TRUE(state_.Eq.Bypass);

    QTest::mousePress(resetImg_, Qt::LeftButton, {}, QPoint(20, 8));
    EXPECT_EQ(resetImg_->ShownPicture(), 1);
    QTest::mouseRelease(resetImg_, Qt::LeftButton, {}, QPoint(20, 8));
    EXPECT_EQ(resetImg_->ShownPicture(), 0);

    const char* freqs[5] = {"19.7", "62.5", "198.4", "630.0", "2010.0"};
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(Model(n).BandType, kPeak);
        EXPECT_EQ(Band(n).EQType->ShownPicture(), 1);
        EXPECT_EQ(Band(n).TrackBar->Position(), 0);
        EXPECT_EQ(Band(n).QEdit->text(), "0.40");
        EXPECT_EQ(Band(n).FreqEdit->text(), freqs[n - 1]);
        EXPECT_EQ(Band(n).EQImage->ShownPicture(), n - 1);
        EXPECT_TRUE(Band(n).TrackBar->isEnabled());
    }
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");
    EXPECT_FALSE(state_.Eq.Bypass);
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

TEST_F(BandControlsTest, EchoesOutsideTheBandsOrTooShortChangeNothing)
{
    Connect();
    const EqState before = state_.Eq;
    QByteArray echo = BandEcho(2);
    echo[7] = 0;
    editor_->ApplyBandEcho(echo);
    echo[7] = 6;
    editor_->ApplyBandEcho(echo);
    editor_->ApplyBandEcho(BandEcho(2).left(13));
    editor_->ApplyBypassEcho(QByteArray::fromHex("01200340"));
    editor_->ApplyTrimEcho(QByteArray::fromHex("012003"));
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(state_.Eq.Bands[static_cast<std::size_t>(n - 1)].BandFreq,
                  before.Bands[static_cast<std::size_t>(n - 1)].BandFreq);
    }
    EXPECT_EQ(state_.Eq.Trim, 0);
    EXPECT_FALSE(state_.Eq.Bypass);
}

TEST_F(BandControlsTest, EchoValuesAreLimitedBeforeTheyReachTheControls)
{
    Connect();
    QByteArray echo = QByteArray::fromHex("01200340" "1111" "0A02" "05" "0363" "FF" "C8" "07" "010560");
    editor_->ApplyBandEcho(echo);
    EXPECT_EQ(Model(2).BandType, kLowShelf);  // no shelf fix on an echo
    EXPECT_EQ(Model(2).BandFreq, 300);
    EXPECT_EQ(Model(2).BandQ, 100);
    EXPECT_EQ(Model(2).BandGain, 48);
    EXPECT_EQ(Model(2).BandOff, 1);
    EXPECT_EQ(Band(2).TrackBar->Position(), 12);

    editor_->ApplyTrimEcho(QByteArray::fromHex("01200340" "0B0E" "C8" "48" "010560"));
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");
    editor_->ApplyTrimEcho(QByteArray::fromHex("01200340" "0B0E" "78" "48" "010560"));
    EXPECT_EQ(editor_->TrimEdit()->text(), "0");
    editor_->ApplyTrimEcho(QByteArray::fromHex("01200340" "0B0E" "77" "48" "010560"));
    EXPECT_EQ(editor_->TrimEdit()->text(), "-1");
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
    EXPECT_EQ(labels_[0]->text(), "Master EQ4");
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

TEST_F(BandControlsTest, GainScalesArePaintedBesideTheSliders)
{
    const auto& boxes = editor_->GainScales();
    EXPECT_EQ(boxes[0]->objectName(), "PaintBox1");
    EXPECT_EQ(boxes[2]->geometry(), QRect(192, 168, 17, 169));
    QImage image = boxes[0]->grab().toImage();
    // The tick at row 88 (0 dB) is black from x 20 to 28.
    EXPECT_EQ(image.pixelColor(24, 88), QColor(Qt::black));
    EXPECT_NE(image.pixelColor(40, 88), QColor(Qt::black));
}

}  // namespace
}  // namespace qireq::test
