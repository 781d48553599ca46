// Undo and redo in the editor: every hand change one named step (a drag
// from press to release), a change from the unit none; undo shows the EQ at
// once without a unit and, connected, writes what differs one write at a
// time behind the echo of the one before.
#include "EditorFixture.h"

#include "editor/EditHistory.h"
#include "eq/EqEncoding.h"
#include "history/EqSnapshot.h"

#include <QUndoStack>

namespace qireq::test {
namespace {

class EditHistoryTest : public EditorTest {
protected:
    QUndoStack& Stack() { return editor_->History().Stack(); }
    EqSnapshot Now() { return editor_->History().Current(); }

    void Drag(int n, QPoint by)
    {
        const QRect page = plot_->PlotPageRect();  // the marker at 0 dB, y 75 on this page
        const QPoint from(page.left() + page.width() * (plot_->GetBlockPos(n - 1).x() - 256) / 768, page.top() + 75);
        QTest::mousePress(plot_, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 4; ++i)
            QTest::mouseMove(plot_, from + by * i / 4);
        QTest::mouseRelease(plot_, Qt::LeftButton, {}, from + by);
    }
    void TrimDown()
    {
        QTest::mousePress(editor_->TrimDecImg(), Qt::LeftButton);
        QTest::mouseRelease(editor_->TrimDecImg(), Qt::LeftButton);
    }
};

TEST_F(EditHistoryTest, NotConnectedEachHandChangeIsOneNamedStepUndoneAndRedoneOnScreen)
{
    const EqSnapshot start = Now();
    ClickUp(Band(2).QCButton);
    TrimDown();
    Drag(3, QPoint(60, -30));
    const EqSnapshot edited = Now();
    ASSERT_NE(Model(3).BandFreq, start.Eq.Bands[2].BandFreq);
    ASSERT_EQ(Stack().count(), 3) << "the drag's many moves are one step";
    EXPECT_EQ(Stack().undoText(), QStringLiteral("Band 3 Drag"));

    Stack().undo();
    EXPECT_EQ(Stack().undoText(), QStringLiteral("Trim"));
    EXPECT_EQ(Stack().redoText(), QStringLiteral("Band 3 Drag"));
    EXPECT_EQ(Model(3).BandFreq, start.Eq.Bands[2].BandFreq);
    EXPECT_EQ(Band(3).TrackBar->Position(), 0) << "the slider shows the gain undone";
    Stack().undo();
    EXPECT_EQ(editor_->TrimEdit()->text(), QStringLiteral("0"));
    Stack().undo();
    EXPECT_TRUE(SameSetting(Now(), start));
    EXPECT_EQ(Band(2).QEdit->text(), QText(start.Eq.Bands[1].BandQ));

    Stack().redo();
    Stack().redo();
    Stack().redo();
    EXPECT_TRUE(SameSetting(Now(), edited));
    EXPECT_EQ(Band(3).FreqEdit->text(), FrequencyText(edited.Eq.Bands[2].BandFreq));
}

TEST_F(EditHistoryTest, ConnectedUndoWritesWhatDiffersEachBehindTheEchoOfTheOneBefore)
{
    Connect();
    // What the unit reports by itself is no step.
    editor_->ApplyEqBlock(ResetBlock);
    EchoTrim(SetTrimFrame().Fill(-5));
    ASSERT_EQ(Stack().count(), 0);
    ClickUp(Band(1).QCButton);
    EchoBand(BandEcho(1));
    ClickUp(Band(2).QCButton);
    EchoBand(BandEcho(2));
    QCoreApplication::processEvents();
    ASSERT_EQ(Stack().count(), 2);
    ASSERT_FALSE(requests_.AwaitingEcho());
    link_->Frames.clear();

    Stack().undo();  // band 2 back: goes at once
    Stack().undo();  // band 1 back: waits for band 2's echo
    ASSERT_EQ(link_->Frames.size(), 1u);
    EXPECT_EQ(link_->Frames[0].at(7), 2) << "band 2 first";
    EXPECT_EQ(Byte(link_->Frames[0], 12), Model(2).BandQ);
    EXPECT_EQ(Band(2).QEdit->text(), QText(Model(2).BandQ + 1)) << "the field waits for the echo";

    EchoBand(BandEcho(2));
    QCoreApplication::processEvents();
    ASSERT_EQ(link_->Frames.size(), 2u);
    EXPECT_EQ(link_->Frames[1].at(7), 1);
    EchoBand(BandEcho(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(Band(1).QEdit->text(), QText(0));
    EXPECT_FALSE(editor_->History().Queue().Busy());

    // A hand change while a redo still waits goes past it: the rest is dropped.
    Stack().redo();
    Stack().redo();
    ClickUp(Band(4).QCButton);
    EchoBand(BandEcho(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(link_->Frames.size(), 4u) << "redo band 1, then the hand edit of band 4; no redo of band 2";
    EXPECT_EQ(Stack().undoText(), QStringLiteral("Band 4 Q"));
}

TEST_F(EditHistoryTest, ConnectedResetIsUndoneWithOneBlockAndBypassAsAsked)
{
    Connect();
    const EqSnapshot start = Now();
    Click(resetImg_);
    EXPECT_EQ(Stack().undoText(), QStringLiteral("Reset"));
    editor_->ApplyEqBlock(ResetBlock);  // the unit answers with its block
    QCoreApplication::processEvents();
    link_->Frames.clear();

    Stack().undo();  // five bands differ: one block write of the start-up EQ
    ASSERT_EQ(link_->Frames.size(), 1u);
    EXPECT_EQ(link_->Frames[0], WriteEqBlockFrame(BlockOf(start)));
    EXPECT_EQ(state_.SendGate, RequestSender::kGateAfterBlockSend);

    // Bypass connected: the step holds the state asked for, not yet echoed.
    editor_->ApplyEqBlock(BlockOf(start));
    QCoreApplication::processEvents();
    Click(editor_->BPImage());
    EXPECT_FALSE(state_.Eq.Bypass);
    EXPECT_EQ(Stack().undoText(), QStringLiteral("Bypass"));
    EchoBypass(SetBypassFrame().Fill(true));
    QCoreApplication::processEvents();
    link_->Frames.clear();
    Stack().undo();
    ASSERT_EQ(link_->Frames.size(), 1u);
    EXPECT_EQ(link_->Frames[0], SetBypassFrame().Fill(false));
}

}  // namespace
}  // namespace qireq::test
