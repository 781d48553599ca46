#include "dialogs/FilterImportDialog.h"

#include "controls/Artwork.h"
#include "controls/Fftdraw.h"
#include "controls/VclColors.h"
#include "filters/FitRange.h"
#include "filters/ImportReport.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qireq {

namespace {

const QColor kImportedColor(0x1e, 0x6f, 0xd9);
const QColor kFittedColor(0xd9, 0x2b, 0x2b);

// Both curves over 20 Hz..20 kHz, on the plot's grid points (which lie
// evenly on a logarithmic frequency axis), with a level range in whole
// 6 dB steps that holds them both and at least -12..+12 dB.
void DrawCurves(TFFTDraw& plot, const ImportResult& result)
{
    const FitRange range = FitRangeOfGrid();
    std::vector<double> x;
    for (int i = range.First; i <= range.Last; ++i)
        x.push_back(i);
    double low = -12.0;
    double high = 12.0;
    for (const ResponseArray* curve : {&result.Reference, &result.Fitted})
        for (int i = range.First; i <= range.Last; ++i) {
            low = std::min(low, (*curve)[static_cast<std::size_t>(i)]);
            high = std::max(high, (*curve)[static_cast<std::size_t>(i)]);
        }
    plot.SetAutoRedraw(false);
    // The light display of the window's own plot.
    plot.SetColor(QColor::fromRgb(palette::kDisplay));
    plot.SetGridColor(clSkyBlue);
    plot.SetAxisColor(clSkyBlue);
    plot.SetAxisLabelFont(TPlotFont{plot.font(), QColor::fromRgb(palette::kDisplayText)});
    plot.SetXAutoScale(false);
    plot.SetYAutoScale(false);
    plot.SetXYMinMax(range.First, range.Last, 6.0 * std::floor(low / 6.0), 6.0 * std::ceil(high / 6.0));
    plot.SetShowXLabel(false);
    plot.SetShowXTitle(false);
    plot.SetShowYTitle(false);
    plot.SetShowPlotTitle(false);
    plot.SetYLabelPrecision(0);
    plot.SetYLabelDigits(0);
    plot.SetAxisStyle(TAxisStyle::CenteredBox);
    const int n = static_cast<int>(x.size());
    plot.FFTDraw(x.data(), result.Reference.data() + range.First, n, FilterImportDialog::kImportedPlot,
                 kImportedColor, TPlotStyle::Line);
    plot.FFTDraw(x.data(), result.Fitted.data() + range.First, n, FilterImportDialog::kFittedPlot,
                 kFittedColor, TPlotStyle::Line);
    plot.SetAutoRedraw(true);
    plot.Redraw();
}

bool HasSomethingToImport(const ImportResult& result)
{
    return !result.Parsed.Filters.empty() || result.Parsed.HasPreamp;
}

}  // namespace

FilterImportDialog::FilterImportDialog(const ImportResult& result, const QString& fileName,
                                       QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("FilterImportDialog"));
    setWindowTitle(QStringLiteral("Import Filter Text - %1").arg(QFileInfo(fileName).fileName()));
    setWindowIcon(ApplicationIcon());
    // The window's dark panels under its light captions.
    setStyleSheet(QStringLiteral("#FilterImportDialog { background: %1; }")
                      .arg(QColor::fromRgb(palette::kPanel).name()));
    auto* layout = new QVBoxLayout(this);

    auto* legend = new QLabel(
        QStringLiteral("<span style=\"color:%1\">&#9632;</span> imported filters &nbsp; "
                       "<span style=\"color:%2\">&#9632;</span> the unit's bands, fitted "
                       "&nbsp; (20 Hz to 20 kHz, without preamp and trim)")
            .arg(kImportedColor.lighter(130).name(), kFittedColor.lighter(130).name()),
        this);
    legend->setObjectName(QStringLiteral("Legend"));
    layout->addWidget(legend);

    plot_ = new TFFTDraw(this);
    plot_->setObjectName(QStringLiteral("ImportPlot"));
    plot_->setMinimumSize(640, 220);
    layout->addWidget(plot_);
    DrawCurves(*plot_, result);

    difference_ = new QLabel(
        HasSomethingToImport(result)
            ? QStringLiteral("Difference from the imported filters: largest %1 dB (at %2 Hz), RMS %3 dB")
                  .arg(result.Difference.MaxDb, 0, 'f', 2)
                  .arg(result.Difference.AtHz, 0, 'f', 0)
                  .arg(result.Difference.RmsDb, 0, 'f', 2)
            : QStringLiteral("Nothing to import: the text holds no filter and no preamp."),
        this);
    difference_->setObjectName(QStringLiteral("DifferenceLabel"));
    layout->addWidget(difference_);

    report_ = new QPlainTextEdit(RenderImportReport(result), this);
    report_->setObjectName(QStringLiteral("ImportReport"));
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    report_->setMinimumHeight(220);
    layout->addWidget(report_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("OKBtn"));
    ok_->setEnabled(HasSomethingToImport(result));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace qireq
