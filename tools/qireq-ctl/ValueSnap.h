#pragma once
// Values typed in Hz, Q and dB onto the unit's steps and codes, by the rules
// of eq/EqValues.h (nearest step on a logarithmic scale, nearest half-dB
// gain code); trim to whole dB. Here a value outside the unit's range is an
// error, never clamped, and each message names the option.
#include <QString>

#include <optional>

namespace qireq::ctl {

struct Snap {
    int Value = 0;  // step or code
    QString Error;  // not empty: out of range or not a number
    bool ok() const { return Error.isEmpty(); }
};

Snap SnapFrequency(const QString& hzText);  // step 0..300, 19.7 .. 20160 Hz
Snap SnapQ(const QString& qText);           // step 0..100, 0.4 .. 128
Snap SnapGain(const QString& dbText);       // code 0..48, -12 .. +12 dB
Snap SnapTrim(const QString& dbText);       // trim -18..0 dB
// "peak", "low-shelf", "high-shelf" -> type index (EqBand.h).
Snap ParseBandType(const QString& text);
// 1..5
Snap ParseBandNumber(const QString& text);

}  // namespace qireq::ctl
