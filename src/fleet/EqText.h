#pragma once
// How EQ values are printed, and their JSON form. Frequency and Q as
// the window shows them ("1000.0 Hz", "Q 2.00"); gain from the unit's code,
// half dB included ("-3.5 dB"), since a unit may hold odd codes.
#include "eq/EqBlock.h"
#include "eq/EqEncoding.h"

#include <QJsonObject>
#include <QString>

namespace qireq::fleet {

// The unit's own values of one band record (no shelf fix, no slider).
struct UnitBand {
    int Number = 1;
    int Type = 1;     // type index
    int Freq = 0;     // step, limited to 300
    int Q = 0;        // step, limited to 100
    int GainCode = 24;
    bool Off = false;
};
UnitBand UnitBandOf(int bandNumber, const BandRecord& record);
UnitBand UnitBandOf(const EqBlock& block, int bandNumber);
BandRecord RecordOf(const UnitBand& band);

QString GainDbText(int code);      // "-3.5 dB", "6 dB", "0 dB" (GainDbOf)
// "Peak 1000.0 Hz Q 2.00 -3.5 dB On"
QString BandLine(const UnitBand& band);
QJsonObject BandJson(const UnitBand& band);
// {"trim_db":..,"bypass":..,"bands":[...]}
QJsonObject EqJson(const EqBlock& block);

}  // namespace qireq::fleet
