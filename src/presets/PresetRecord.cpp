#include "presets/PresetRecord.h"

#include "eq/EqEncoding.h"

#include <algorithm>

namespace qireq {
namespace {

void SetTrailer(EqBlock& record)
{
    record[71] = 0x01;
    record[72] = 0x05;
    record[73] = 0x60;
}

}  // namespace

EqBlock NewSavingRecord()
{
    EqBlock record{};
    const std::uint8_t header[] = {0x01, 0x20, 0x03, 0x40, 0x4A, 0x14, 0x01};
    std::copy(std::begin(header), std::end(header), record.begin());
    record[11] = 0x1E;
    record[12] = 0x00;
    record[13] = 0x63;
    SetTrailer(record);
    return record;
}

EqBlock NewLoadRecord()
{
    EqBlock record{};
    SetTrailer(record);
    return record;
}

void FillSavingRecord(EqBlock& record, const EqState& eq, bool connected)
{
    record[kBlockTrimOffset] = EncodeTrim(eq.Trim);
    record[8] = 0x00;
    record[kBlockBypassOffset] = eq.Bypass ? 1 : 0;
    record[10] = 0x01;
    record[14] = 0x30;
    record[15] = 0x01;
    for (int i = 0; i < kBandCount; ++i) {
        EqBand band = eq.Bands[static_cast<std::size_t>(i)];
        band.BandOff = connected ? band.BandOffShown : band.BandOff;
        const BandRecord bytes = EncodeBand(band);
        std::copy(bytes.begin(), bytes.end(), record.begin() + BandRecordOffset(i));
    }
}

bool HasPresetSignature(const EqBlock& record)
{
    return record[0] == 0x01 && record[kPresetCommandOffset] == 0x14;
}

QString PresetFileName(const QString& chosen)
{
    return chosen.endsWith(QLatin1String(".bin"), Qt::CaseSensitive) ? chosen
                                                                      : chosen + QLatin1String(".bin");
}

}  // namespace qireq
