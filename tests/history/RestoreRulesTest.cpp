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

// The first `count` bands changed in gain, frequency, type or on/off in turn.
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

TEST(RestoreWritesTest, WhatDiffersGoesAsItsOwnWritesAndMoreThanTwoBandsAsOneBlock)
{
    const EqSnapshot from = Startup();
    EqSnapshot shownOnly = from;  // what no write carries does not count
    shownOnly.Eq.Bands[2].GainShownDb = 5;
    EXPECT_TRUE(RestoreWrites(from, shownOnly).empty());

    EqSnapshot to = WithBandsChanged(from, 2);
    to.Eq.Trim = -4;
    to.Eq.Bypass = true;
    auto writes = RestoreWrites(from, to);
    ASSERT_EQ(Kinds(writes), (std::vector<Kind>{Kind::Band, Kind::Band, Kind::Trim, Kind::Bypass}));
    EXPECT_EQ(writes[1].BandNumber, 2);
    EXPECT_EQ(writes[2].Trim, -4);
    EXPECT_TRUE(SameSetting(AfterWrites(from, writes), to));

    for (int count = 3; count <= kBandCount; ++count) {
        to = WithBandsChanged(from, count);
        to.Eq.Trim = -18;
        writes = RestoreWrites(from, to);
        ASSERT_EQ(Kinds(writes), std::vector<Kind>{Kind::Block}) << count;
        EXPECT_TRUE(SameSetting(AfterWrites(from, writes), to)) << count;
    }

    // The unit's own settings in the block differ: restored whole.
    to = from;
    to.Block[50] ^= 0xFF;
    writes = RestoreWrites(from, to);
    ASSERT_EQ(Kinds(writes), std::vector<Kind>{Kind::Block});
    EXPECT_EQ(writes[0].Block[50], to.Block[50]);
}

TEST(EqSnapshotTest, BlockOfKeepsAPresetByteForByteAndFillsAnEditedOne)
{
    EqBlock preset = ResetBlock;  // a gain byte the slider would round
    preset[static_cast<std::size_t>(BandRecordOffset(1)) + 3] = 25;
    preset[60] = 0x42;
    EXPECT_EQ(BlockOf(SnapshotOfBlock(preset)), preset);

    EqState eq = SnapshotOfBlock(preset).Eq;
    eq.Bands[4].BandQ = 70;
    eq.Bands[3].BandOff = 1;  // switched off, the echo not in yet
    eq.Bands[3].BandOffShown = 0;
    const EqBlock block = BlockOf(SnapshotOf(eq, preset));
    EXPECT_EQ(block[static_cast<std::size_t>(BandRecordOffset(4)) + 4], 70);
    EXPECT_EQ(block[static_cast<std::size_t>(BandRecordOffset(3)) + 5], 1) << "the flag asked for";
    EXPECT_EQ(block[60], 0x42) << "the unit's own bytes stay";
}

TEST(RestoreQueueTest, ARestoreQueuedBehindAnotherStartsWhereThatLeavesTheUnit)
{
    EqSnapshot edited = Startup();
    edited.Eq.Trim = -3;
    edited.Eq.Bypass = true;
    const EqSnapshot original = Startup();

    RestoreQueue queue;
    queue.Restore(edited, original);  // undo: trim and bypass back
    ASSERT_EQ(queue.Size(), 2u);
    EXPECT_EQ(queue.TakeNext().WriteKind, Kind::Trim);

    // Redo before the bypass write went out: the editor still shows the
    // edit, but the queue will take it back, so the redo writes both again.
    queue.Restore(edited, edited);
    ASSERT_EQ(queue.Size(), 3u);
    EXPECT_FALSE(queue.TakeNext().Bypass);
    EXPECT_EQ(queue.TakeNext().Trim, -3);
    EXPECT_TRUE(queue.TakeNext().Bypass);

    // Settled (all answered), the editor's EQ is the start again.
    EXPECT_TRUE(queue.Busy());
    queue.Settle();
    EXPECT_FALSE(queue.Busy());
    queue.Restore(edited, edited);
    EXPECT_TRUE(queue.Empty());
}

TEST(CompareSlotsTest, StoreFillsTheLiveSlotAndToggleHandsBackTheOther)
{
    CompareSlots slots;
    const EqSnapshot a = Startup();
    const EqSnapshot b = WithBandsChanged(a, 1);
    slots.Store(a);
    EXPECT_FALSE(slots.Toggle().has_value()) << "B is empty: nothing to send";
    EXPECT_EQ(slots.Live(), CompareSlots::Slot::B);
    slots.Store(b);
    EXPECT_TRUE(SameSetting(*slots.Toggle(), a));
    EXPECT_TRUE(SameSetting(*slots.Toggle(), b));
    slots.Clear();
    EXPECT_EQ(slots.Live(), CompareSlots::Slot::A);
    EXPECT_FALSE(slots.Held(CompareSlots::Slot::B).has_value());
}

}  // namespace
}  // namespace qireq
