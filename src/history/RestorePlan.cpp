#include "history/RestorePlan.h"

namespace qireq {

std::vector<RestoreWrite> RestoreWrites(const EqSnapshot& from, const EqSnapshot& to)
{
    std::vector<RestoreWrite> bands;
    for (int n = 1; n <= kBandCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        if (SameBandSetting(from.Eq.Bands[i], to.Eq.Bands[i]))
            continue;
        RestoreWrite write;
        write.WriteKind = RestoreWrite::Kind::Band;
        write.BandNumber = n;
        write.Band = to.Eq.Bands[i];
        bands.push_back(write);
    }

    if (static_cast<int>(bands.size()) > kMostBandWritesBeforeBlock ||
        OtherSettingsDiffer(from.Block, to.Block)) {
        RestoreWrite block;
        block.WriteKind = RestoreWrite::Kind::Block;
        block.Block = BlockOf(to);
        return {block};
    }

    std::vector<RestoreWrite> writes = bands;
    if (from.Eq.Trim != to.Eq.Trim) {
        RestoreWrite trim;
        trim.WriteKind = RestoreWrite::Kind::Trim;
        trim.Trim = to.Eq.Trim;
        writes.push_back(trim);
    }
    if (from.Eq.Bypass != to.Eq.Bypass) {
        RestoreWrite bypass;
        bypass.WriteKind = RestoreWrite::Kind::Bypass;
        bypass.Bypass = to.Eq.Bypass;
        writes.push_back(bypass);
    }
    return writes;
}

EqSnapshot AfterWrites(const EqSnapshot& from, const std::vector<RestoreWrite>& writes)
{
    EqSnapshot after = from;
    for (const RestoreWrite& write : writes) {
        switch (write.WriteKind) {
        case RestoreWrite::Kind::Band:
            after.Eq.Bands[static_cast<std::size_t>(write.BandNumber - 1)] = write.Band;
            break;
        case RestoreWrite::Kind::Trim:
            after.Eq.Trim = write.Trim;
            break;
        case RestoreWrite::Kind::Bypass:
            after.Eq.Bypass = write.Bypass;
            break;
        case RestoreWrite::Kind::Block:
            after = SnapshotOfBlock(write.Block);
            break;
        }
    }
    return after;
}

}  // namespace qireq
