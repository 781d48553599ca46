#pragma once
// One unit's page of the overview's report, from what the run read of it:
// its identity, status and usage where it reported them, and its block; a
// unit that could not be read gets a page saying why.
#include "fleet/UnitResult.h"
#include "report/ReportWriter.h"
#include "state/DeviceEntry.h"

#include <QDateTime>

#include <optional>

namespace qireq {

// listed: the unit's row as the table had it when the run began.
ReportPage UnitReportPage(DeviceEntry listed, const fleet::UnitResult& r, const std::optional<EqBlock>& block,
                          const QDateTime& when, const QString& note);

}  // namespace qireq
