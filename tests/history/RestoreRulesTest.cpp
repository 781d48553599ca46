#include "history/CompareSlots.h"
#include "history/RestorePlan.h"
#include "history/RestoreQueue.h"

#include "eq/EqEncoding.h"

#include <gtest/gtest.h>

namespace qireq {
namespace {

using Kind = RestoreWrite::Kind;

EqSnapshot Startup()
{
    return SnapshotOf(EqState{}, ResetBlock);
}

// n bands from the first changed in gain, frequency, type or on/off in turn.
EqSnapshot WithBandsChanged(EqSnapshot s, int count)
{
    for (int i = 0; i < count; ++i) {
        EqBand& band = s.Eq.Bands[static_cast<std::size_t>(i)];
        switch (i % 4) {
        case 0: band.BandGain += 6; break;
        case 1: band.BandFreq += 7; break;
        case 2: band.BandType = kLowShelf; break;
        default: band.BandOff = 1; break;
        }
    }
    return s;
}

std::vector<Kind> Kinds(const std::vector<RestoreWrite>& writes)
{
    std::vector<Kind> kinds;
    for (const RestoreWrite& w : writes)
        kinds.push_back(w.WriteKind);
    return kinds;
}

TEST(RestoreWritesTest, AlikeNeedsNothingAndWhatDiffersGoesAsItsOwnWrites)
{
    const EqSnapshot from = Startup();
    EXPECT_TRUE(RestoreWrites(from, from).empty());

    // Only what a write carries counts: the shown gain and unit flag do not.
    EqSnapshot shownOnly = from;
    shownOnly.Eq.Bands[2].GainShownDb = 5;
    EXPECT_TRUE(RestoreWrites(from, shownOnly).empty());

    EqSnapshot to = WithBandsChanged(from, 2);
    to.Eq.Trim = -4;
    to.Eq.Bypass = true;
    const auto writes = RestoreWrites(from, to);
    EXPECT_EQ(Kinds(writes), (std::vector<Kind>{Kind::Band, Kind::Band, Kind::Trim, Kind::Bypass}));
    EXPECT_EQ(writes[0].BandNumber, 1);
    EXPECT_EQ(writes[0].Band.BandGain, from.Eq.Bands[0].BandGain + 6);
    EXPECT_EQ(writes[1].BandNumber, 2);
    EXPECT_EQ(writes[2].Trim, -4);
    EXPECT_TRUE(writes[3].Bypass);
    EXPECT_TRUE(SameSetting(AfterWrites(from, writes), to));
}

TEST(RestoreWritesTest, MoreThanTwoBandsOrOtherSettingsGoAsOneBlock)
{
    const EqSnapshot from = Startup();
    for (int count = 3; count <= kBandCount; ++count) {
        EqSnapshot to = WithBandsChanged(from, count);
        to.Eq.Trim = -18;
        const auto writes = RestoreWrites(from, to);
        ASSERT_EQ(Kinds(writes), std::vector<Kind>{Kind::Block}) << count;
        EXPECT_EQ(writes[0].Block[kBlockTrimOffset], EncodeTrim(-18));
        EXPECT_TRUE(SameSetting(AfterWrites(from, writes), to)) << count;
    }

    // A block whose unit settings (outside the EQ bytes) differ is restored whole.
    EqSnapshot other = from;
    other.Block[50] ^= 0xFF;
    const auto writes = RestoreWrites(from, other);
    ASSERT_EQ(Kinds(writes), std::vector<Kind>{Kind::Block});
    EXPECT_EQ(writes[0].Block[50], other.Block[50]);
}

TEST(EqSnapshotTest, BlockOfKeepsAPresetByteForByteAndFillsAnEditedOne)
{
    // A preset whose gain byte the slider would round: sent as it was read.
    EqBlock preset = ResetBlock;
    preset[static_cast<std::size_t>(BandRecordOffset(1)) + 3] = 25;
    preset[60] = 0x42;
    EXPECT_EQ(BlockOf(SnapshotOfBlock(preset)), preset);

    EqSnapshot edited = SnapshotOfBlock(preset);
    edited.Eq.Bands[4].BandQ = 70;
    edited.Eq.Bypass = true;
    const EqBlock block = BlockOf(edited);
    EXPECT_EQ(block[static_cast<std::size_t>(BandRecordOffset(4)) + 4], 70);
    EXPECT_EQ(block[kBlockBypassOffset], 1);
    EXPECT_EQ(block[60], 0x42);  // the unit's own bytes stay
    EXPECT_EQ(SnapshotOfBlock(block).Eq.Bands[4].BandQ, 70);
}

TEST(EqSnapshotTest, TheEditedOffFlagIsTheOneKept)
{
    EqState eq;
    eq.Bands[3].BandOff = 1;       // switched off, echo not yet in
    eq.Bands[3].BandOffShown = 0;
    const EqSnapshot s = SnapshotOf(eq, ResetBlock);
    EXPECT_EQ(s.Eq.Bands[3].BandOffShown, 1);
    EXPECT_EQ(BlockOf(s)[static_cast<std::size_t>(BandRecordOffset(3)) + 5], 1);
}

TEST(RestoreQueueTest, ARestoreQueuedBehindAnotherStartsWhereThatLeavesTheUnit)
{
    const EqSnapshot edited = [] {
        EqSnapshot s = Startup();
        s.Eq.Trim = -3;
        s.Eq.Bypass = true;
        return s;
    }();
    const EqSnapshot original = Startup();

    RestoreQueue queue;
    queue.Restore(edited, original);  // undo: trim and bypass back
    EXPECT_EQ(queue.Size(), 2u);
    EXPECT_TRUE(queue.Busy());
    EXPECT_EQ(queue.TakeNext().WriteKind, Kind::Trim);

    // Redo before the bypass write went out: the editor still shows the
    // edit, but the queue will undo it, so the redo must write both again.
    queue.Restore(edited, edited);
    ASSERT_EQ(queue.Size(), 3u);
    EXPECT_EQ(queue.TakeNext().WriteKind, Kind::Bypass);
    const RestoreWrite trim = queue.TakeNext();
    const RestoreWrite bypass = queue.TakeNext();
    EXPECT_EQ(trim.Trim, -3);
    EXPECT_TRUE(bypass.Bypass);

    // Settled only once nothing is queued; then the editor's EQ is the start.
    queue.Settle();
    EXPECT_FALSE(queue.Busy());
    queue.Restore(edited, edited);
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(queue.Busy());

    queue.Restore(edited, original);
    queue.Settle();  // writes still queued: not settled
    EXPECT_TRUE(queue.Busy());
    queue.Clear();
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(queue.Busy());
}

TEST(CompareSlotsTest, StoreFillsTheLiveSlotAndToggleHandsBackTheOther)
{
    CompareSlots slots;
    EqSnapshot a = Startup();
    EqSnapshot b = WithBandsChanged(a, 1);

    EXPECT_EQ(slots.Live(), CompareSlots::Slot::A);
    slots.Store(a);
    // Toggling to the empty B sends nothing; it is filled by the next Store.
    EXPECT_FALSE(slots.Toggle().has_value());
    EXPECT_EQ(slots.Live(), CompareSlots::Slot::B);
    slots.Store(b);

    auto sent = slots.Toggle();
    ASSERT_TRUE(sent.has_value());
    EXPECT_TRUE(SameSetting(*sent, a));
    sent = slots.Toggle();
    ASSERT_TRUE(sent.has_value());
    EXPECT_TRUE(SameSetting(*sent, b));

    slots.Clear();
    EXPECT_EQ(slots.Live(), CompareSlots::Slot::A);
    EXPECT_FALSE(slots.Held(CompareSlots::Slot::A).has_value());
    EXPECT_FALSE(slots.Held(CompareSlots::Slot::B).has_value());
}

}  // namespace
}  // namespace qireq
