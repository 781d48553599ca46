#pragma once
// What a commissioning report says, as text: the unit (name, link, MAC,
// capability), when, its status as far as it reported one, trim, bypass,
// the five bands and the installer's note. Without a connected unit it
// reports the editor's EQ and says "not connected".
#include "eq/EqBand.h"
#include "protocol/UnitFacts.h"
#include "state/DeviceEntry.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace qireq {

struct ReportBandRow {
    QString Band;       // "1" .. "5"
    QString Type;       // "Peak"
    QString Frequency;  // "198.4 Hz"
    QString Q;          // "0.40"
    QString Gain;       // "+6 dB"
    QString OnOff;      // "On" / "Off"
};

struct ReportContent {
    bool FromLiveUnit = false;  // of a connected unit, not of the editor alone
    // Label and value pairs, in the order printed: unit, link, MAC,
    // capability, date and time, status.
    std::vector<std::pair<QString, QString>> Facts;
    QString Trim;    // "-3 dB"
    QString Bypass;  // "On" / "Off"
    std::array<ReportBandRow, kBandCount> Bands;
    QString Note;
    // Set when the unit could not be read: its page gives the unit and
    // this reason instead of an EQ.
    QString Failure;
};

// What the report dialog asks: where the PDF goes and the note.
struct ReportRequest {
    QString FileName;  // as chosen; ".pdf" is added when missing
    QString Note;
};

inline const QString kNotConnectedText = QStringLiteral("not connected");

// unit: the connected unit's entry; none while not connected (or when the
// connected unit is no longer listed).
ReportContent MakeReportContent(const EqState& eq, bool connected, const std::optional<DeviceEntry>& unit,
                                const UnitFacts& facts, const QDateTime& when, const QString& note);

// The page of a unit that could not be read: its name and link from the
// list, when, and why it was not read.
ReportContent UnreadReportContent(const DeviceEntry& unit, const QDateTime& when, const QString& why,
                                  const QString& note);

// ".pdf" added unless the chosen name ends in it (any case); the plot's
// picture goes beside it under the same name ending in ".png".
QString ReportPdfName(const QString& chosen);
QString ReportPngName(const QString& pdfName);

}  // namespace qireq
