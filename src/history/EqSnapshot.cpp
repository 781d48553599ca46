#include "history/EqSnapshot.h"

#include "eq/EqEncoding.h"

#include <algorithm>

namespace qireq {

namespace {

constexpr int kFirstOwnSettingByte = 6;
constexpr int kLastOwnSettingByte = 70;

bool EditorOwns(int offset)
{
    return offset == kBlockTrimOffset || offset == kBlockBypassOffset ||
           (offset >= kBlockFirstBandOffset && offset < BandRecordOffset(kBandCount));
}

}  // namespace

EqSnapshot SnapshotOf(const EqState& eq, const EqBlock& block)
{
    EqSnapshot snapshot{eq, block};
    for (EqBand& band : snapshot.Eq.Bands)
        band.BandOffShown = band.BandOff;
    return snapshot;
}

EqSnapshot SnapshotOfBlock(const EqBlock& block)
{
    EqSnapshot snapshot;
    snapshot.Block = block;
    snapshot.Eq.Trim = DecodeTrim(block[kBlockTrimOffset]);
    snapshot.Eq.Bypass = block[kBlockBypassOffset] != 0;
    for (int i = 0; i < kBandCount; ++i) {
        const DecodedBand decoded =
            DecodeBandRecord(&block[static_cast<std::size_t>(BandRecordOffset(i))]);
        EqBand& band = snapshot.Eq.Bands[static_cast<std::size_t>(i)];
        band.BandType = decoded.BandType;
        band.BandFreq = decoded.BandFreq;
        band.BandQ = decoded.BandQ;
        band.BandGain = GainCodeThroughSlider(decoded.GainCode);
        band.BandOff = band.BandOffShown = decoded.BandOff;
        band.GainShownDb = ShownGainDb(band.BandGain);
    }
    return snapshot;
}

bool SameBandSetting(const EqBand& a, const EqBand& b)
{
    return a.BandType == b.BandType && a.BandFreq == b.BandFreq && a.BandQ == b.BandQ &&
           a.BandGain == b.BandGain && a.BandOff == b.BandOff;
}

bool SameSetting(const EqSnapshot& a, const EqSnapshot& b)
{
    if (a.Eq.Trim != b.Eq.Trim || a.Eq.Bypass != b.Eq.Bypass)
        return false;
    for (std::size_t i = 0; i < a.Eq.Bands.size(); ++i)
        if (!SameBandSetting(a.Eq.Bands[i], b.Eq.Bands[i]))
            return false;
    return true;
}

bool OtherSettingsDiffer(const EqBlock& a, const EqBlock& b)
{
    for (int offset = kFirstOwnSettingByte; offset <= kLastOwnSettingByte; ++offset) {
        const auto i = static_cast<std::size_t>(offset);
        if (!EditorOwns(offset) && a[i] != b[i])
            return true;
    }
    return false;
}

EqBlock BlockOf(const EqSnapshot& snapshot)
{
    // A block that already says it (a preset as read) goes out byte for byte.
    if (SameSetting(SnapshotOfBlock(snapshot.Block), snapshot))
        return snapshot.Block;
    EqBlock block = snapshot.Block;
    block[kBlockTrimOffset] = EncodeTrim(snapshot.Eq.Trim);
    block[kBlockBypassOffset] = snapshot.Eq.Bypass ? 1 : 0;
    for (int i = 0; i < kBandCount; ++i) {
        const BandRecord record = EncodeBand(snapshot.Eq.Bands[static_cast<std::size_t>(i)]);
        std::copy(record.begin(), record.end(), block.begin() + BandRecordOffset(i));
    }
    return block;
}

}  // namespace qireq
