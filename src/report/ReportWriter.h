#pragma once
// The commissioning report on disk: a PDF of one A4 page and, beside it, a
// PNG of the response plot, both drawn at print resolution; or, for many
// units, one PDF with a page for each. Each file is
// written under a temporary name and takes its own only when complete, so a
// failure leaves neither (a file that stood under the name stays as it was).
// GUI thread only (fonts).
#include "report/ReportContent.h"
#include "editor/PrintedPlot.h"

#include <QString>

#include <vector>

namespace qireq {

inline constexpr int kReportDpi = 300;
// The PNG of the plot: 8 x 3 inches at the report's resolution.
inline constexpr int kReportPlotWidth = 8 * kReportDpi;
inline constexpr int kReportPlotHeight = 3 * kReportDpi;

// Empty on success; otherwise the message for the file that could not be
// written, as Save As words it ("Cannot create file <path>").
QString WriteReport(const QString& pdfName, const ReportContent& content, const EqState& eq, bool connected,
                    const PlotRange& range);

// One unit's page: what it says, and the EQ its plot draws (unused on the
// page of a unit that could not be read).
struct ReportPage {
    ReportContent Content;
    EqState Eq;
};

// One PDF, a page per entry in order, no PNG; the same temporary-file rule
// and messages as WriteReport.
QString WriteReportPages(const QString& pdfName, const std::vector<ReportPage>& pages, const PlotRange& range);

}  // namespace qireq
