#pragma once
// TFFTDraw: the response plot control. Curves (arrays of doubles) are drawn
// with a grid laid out for a logarithmic frequency axis, a frame, a zero line
// and up to five numbered round handles ("blocks") marking the EQ bands.
//
// Drawing goes to off-screen pages (one image per page) whenever the data or
// a property changes; paintEvent only copies the pages to the screen, so a
// repaint is cheap and never flickers. With AutoRedraw on, every FFTDraw
// call redraws the plot page exactly once.
//
// Mouse: the control adds no mouse behaviour of its own. Press, move and
// release are handed to the owner unchanged through the signals OnMouseDown,
// OnMouseMove and OnMouseUp, carrying the position in control pixels (the
// plot page sits at PlotPageRect() inside the control). Moves are reported
// with and without a button held (mouse tracking is on); a double click is
// reported as a second press. A disabled control draws as before and reports
// nothing. The owner sets the cursor with QWidget::setCursor.
//
// GUI thread only; every call draws synchronously.
#include "controls/PlotLayout.h"
#include "controls/PlotScale.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <array>
#include <vector>

namespace qireq {

enum class TAxisStyle { Box, Centered, CenteredBox, LB, None };
enum class TFFTNumber { n256, n512, n1024, n2048 };
enum class TSampleRate { n48000, n96000, n192000 };
// 0 line through the points; 1 filled square at each point; 2 hollow square;
// 3 line with filled squares; 4 line with hollow squares.
enum class TPlotStyle { Line, FilledSquares, HollowSquares, LineFilledSquares, LineHollowSquares };

// A font with its colour, as the control's four text fonts are kept.
struct TPlotFont {
    QFont Font;
    QColor Color;
};

// One off-screen page: its image and where it goes inside the control.
struct TPaintPage {
    QImage Bitmap;
    QRect Dest;  // control coordinates; the source is the whole image
};

// One curve of the plot list.
struct TPlotListMember {
    std::vector<double> X;
    std::vector<double> Y;
    QColor Color;
    TPlotStyle Style = TPlotStyle::Line;
    int NumPoints = 0;
    int PlotNumber = 0;
};

// A numbered handle: position in data units, a colour that is only stored,
// and whether it is hidden.
struct TBlock {
    double X = 0.0;
    double Y = 0.0;
    QColor Color;
    bool Hidden = false;
};

class TFFTDraw : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBlockSlots = 15;
    static constexpr int kPaintedBlocks = 5;
    static constexpr int kRightMargin = 30;

    explicit TFFTDraw(QWidget* parent = nullptr);
    ~TFFTDraw() override;

    // --- Curves -----------------------------------------------------------
    // Stores a curve with X = 0, 1, 2, ... numPoints - 1. Replaces the data
    // of an existing curve with that plot number (keeping its colour and
    // style) and returns true; otherwise adds a new curve first in the list
    // and returns false. The values are copied. Then autoscales and, with
    // AutoRedraw, redraws. A negative point count counts as 0.
    bool FFTDraw(const double* y, int numPoints, int plotNumber, const QColor& color, TPlotStyle style);
    // The same with explicit X values.
    bool FFTDraw(const double* x, const double* y, int numPoints, int plotNumber, const QColor& color,
                 TPlotStyle style);
    // The same with X spread evenly from xFirst to xLast (one point sits at xFirst).
    bool FFTDraw(double xFirst, double xLast, const double* y, int numPoints, int plotNumber,
                 const QColor& color, TPlotStyle style);
    // Removes a curve; false if there was none.
    bool RemovePlot(int plotNumber);
    int PlotCount() const { return static_cast<int>(plots_.size()); }
    // The curves, newest first.
    const std::vector<TPlotListMember>& Plots() const { return plots_; }
    const TPlotListMember* FindPlot(int plotNumber) const;
    bool SetPlotColor(int plotNumber, const QColor& color);
    QColor GetPlotColor(int plotNumber) const;  // invalid colour when absent
    bool SetPlotStyle(int plotNumber, TPlotStyle style);
    TPlotStyle GetPlotStyle(int plotNumber) const;
    int GetPlotNumPoints(int plotNumber) const;  // 0 when absent
    std::vector<double> GetPlotX(int plotNumber) const;
    std::vector<double> GetPlotY(int plotNumber) const;

    // --- Blocks -----------------------------------------------------------
    // Note the order: level first, then position. Slots 0..14 are stored,
    // 0..4 painted; an index outside 0..14 is ignored.
    void DrawBlock(double y, double x, const QColor& color, int blockIndex, bool hidden);
    // The stored position, each coordinate truncated toward zero (data units).
    QPoint GetBlockPos(int blockIndex) const;
    TBlock Block(int blockIndex) const;

    // --- Pages ------------------------------------------------------------
    int GetPlotWidth() const;   // plot page width in pixels
    int GetPlotHeight() const;  // plot page height in pixels
    QRect PlotPageRect() const; // the plot page inside the control
    // Redraws the plot page and the title pages now.
    void Redraw();
    // Fills every page with Color; the data stay.
    void ClearPlot();
    // The plot page as it is shown: curves, grid, axis and the blocks.
    QImage ShownPlotPage() const;
    // How many times the plot page has been drawn: a curve change with
    // AutoRedraw draws it once, a repaint not at all.
    int PlotPageDrawCount() const { return plotPageDraws_; }
    // The scale of the plot page in its present layout.
    AxisMapping XMapping() const;
    AxisMapping YMapping() const;

    // --- Properties -------------------------------------------------------
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on);
    QColor AxisColor() const { return axisColor_; }
    void SetAxisColor(const QColor& color);
    TAxisStyle AxisStyle() const { return axisStyle_; }
    void SetAxisStyle(TAxisStyle style);
    TAxisFormat XAxisFormat() const { return xAxisFormat_; }
    void SetXAxisFormat(TAxisFormat format);
    TAxisFormat YAxisFormat() const { return yAxisFormat_; }
    void SetYAxisFormat(TAxisFormat format);
    bool ShowXLabel() const { return showXLabel_; }
    void SetShowXLabel(bool on);
    bool ShowYLabel() const { return showYLabel_; }
    void SetShowYLabel(bool on);
    bool ShowCoordinates() const { return showCoordinates_; }
    void SetShowCoordinates(bool on) { showCoordinates_ = on; }
    bool XAutoScale() const { return xAutoScale_; }
    void SetXAutoScale(bool on);
    bool YAutoScale() const { return yAutoScale_; }
    void SetYAutoScale(bool on);
    double XMax() const { return xMax_; }
    void SetXMax(double value);
    double XMin() const { return xMin_; }
    void SetXMin(double value);
    double YMax() const { return yMax_; }
    void SetYMax(double value);
    double YMin() const { return yMin_; }
    void SetYMin(double value);
    void SetXYMinMax(double xMin, double xMax, double yMin, double yMax);
    int XLabelPrecision() const { return xLabelPrecision_; }
    void SetXLabelPrecision(int value);
    int YLabelPrecision() const { return yLabelPrecision_; }
    void SetYLabelPrecision(int value);
    int XLabelDigits() const { return xLabelDigits_; }
    void SetXLabelDigits(int value);
    int YLabelDigits() const { return yLabelDigits_; }
    void SetYLabelDigits(int value);
    TStringFloatFormat XLabelFormat() const { return xLabelFormat_; }
    void SetXLabelFormat(TStringFloatFormat format);
    TStringFloatFormat YLabelFormat() const { return yLabelFormat_; }
    void SetYLabelFormat(TStringFloatFormat format);
    int PointSize() const { return pointSize_; }
    void SetPointSize(int value);  // held to 1..10
    bool MouseControl() const { return mouseControl_; }
    void SetMouseControl(bool on) { mouseControl_ = on; }
    bool ShowVertGrid() const { return showVertGrid_; }
    void SetShowVertGrid(bool on);
    bool ShowHorzGrid() const { return showHorzGrid_; }
    void SetShowHorzGrid(bool on);
    bool ShowVertTicks() const { return showVertTicks_; }
    void SetShowVertTicks(bool on);
    bool ShowHorzTicks() const { return showHorzTicks_; }
    void SetShowHorzTicks(bool on);
    int VertTickLength() const { return vertTickLength_; }
    void SetVertTickLength(int value);  // held to 0..Height
    int HorzTickLength() const { return horzTickLength_; }
    void SetHorzTickLength(int value);  // held to 0..Width
    int NumVertGrid() const { return numVertGrid_; }
    void SetNumVertGrid(int value);  // not below 0
    int NumHorzGrid() const { return numHorzGrid_; }
    void SetNumHorzGrid(int value);  // not below 0
    QColor GridColor() const { return gridColor_; }
    void SetGridColor(const QColor& color);
    double MouseX() const { return mouseX_; }
    void SetMouseX(double value) { mouseX_ = value; }
    double MouseY() const { return mouseY_; }
    void SetMouseY(double value) { mouseY_ = value; }
    bool ShowXTitle() const { return showXTitle_; }
    void SetShowXTitle(bool on);
    bool ShowYTitle() const { return showYTitle_; }
    void SetShowYTitle(bool on);
    bool ShowPlotTitle() const { return showPlotTitle_; }
    void SetShowPlotTitle(bool on);
    QString XTitle() const { return xTitle_; }
    void SetXTitle(const QString& text);
    QString YTitle() const { return yTitle_; }
    void SetYTitle(const QString& text);
    QString PlotTitle() const { return plotTitle_; }
    void SetPlotTitle(const QString& text);
    TPlotFont PlotTitleFont() const { return plotTitleFont_; }
    void SetPlotTitleFont(const TPlotFont& font);
    TPlotFont AxisTitleFont() const { return axisTitleFont_; }
    void SetAxisTitleFont(const TPlotFont& font);
    TPlotFont AxisLabelFont() const { return axisLabelFont_; }
    void SetAxisLabelFont(const TPlotFont& font);
    TPlotFont MouseCoordFont() const { return mouseCoordFont_; }
    void SetMouseCoordFont(const TPlotFont& font);
    TFFTNumber FFTNuimber() const { return fftNumber_; }
    void SetFFTNuimber(TFFTNumber value);
    TSampleRate SampleRate() const { return sampleRate_; }
    void SetSampleRate(TSampleRate value);
    // The background of every page (the control's Color).
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    QSize sizeHint() const override { return QSize(300, 250); }

signals:
    // The curve list changed (a curve stored or removed).
    void OnChange();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Page { Plot, XLabel, YLabel, XTitle, YTitle, YTitleScratch, PlotTitle, RightMargin, MouseCoord, Count };

    bool StorePlot(std::vector<double> x, const double* y, int numPoints, int plotNumber, const QColor& color,
                   TPlotStyle style);
    void AfterPlotChange();
    void ResizePaintPage();
    void SizePage(Page page, const QRect& rect);
    void FindXMaxMin();
    void FindYMaxMin();
    // What a change needs: a redraw of the plot page, a new layout, new limits.
    void PlotPageChanged();
    void LayoutChanged();
    void LimitsChanged();
    void ShowPlotPage();
    qreal PageScale() const;
    TPaintPage& PageAt(Page page) { return pages_[static_cast<std::size_t>(page)]; }
    const TPaintPage& PageAt(Page page) const { return pages_[static_cast<std::size_t>(page)]; }

    // The pages are caches of the data and properties: const readers bring
    // them up to date on demand.
    void EnsureLayout() const;
    void RefreshPages() const;
    void ClearPage(Page page) const;
    void DrawAllPlots() const;
    void DrawBackground(QImage& image, QSize size) const;
    void DrawCurves(QImage& image, QSize size) const;
    void DrawTitlePages() const;
    void ComposeShownPage() const;
    void PrepareBlockSprites() const;

    mutable std::array<TPaintPage, static_cast<std::size_t>(Page::Count)> pages_;
    QSize laidOutSize_{0, 0};
    qreal laidOutScale_ = 0.0;
    QRegion uncovered_;                // control area outside every page
    mutable bool plotStale_ = true;    // the plot page needs drawing
    mutable bool titlesStale_ = true;  // the title, label and margin pages need drawing
    mutable bool shownStale_ = true;   // the shown page needs composing
    mutable QImage shownPlotPage_;     // plot page with the blocks painted on
    mutable std::array<QImage, kPaintedBlocks> blockSprites_;
    mutable QPoint spriteOrigin_;      // sprite corner relative to the block's point
    mutable QFont spriteFont_;
    mutable qreal spriteScale_ = 0.0;
    mutable int plotPageDraws_ = 0;

    // Everything the grid, ticks and axis depend on.
    struct BackgroundKey {
        QSize Size;
        qreal Scale = 0.0;
        double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
        TAxisFormat XFormat = TAxisFormat::Linear;
        TAxisFormat YFormat = TAxisFormat::Linear;
        QColor Color, GridColor, AxisColor;
        TAxisStyle AxisStyle = TAxisStyle::None;
        bool VertGrid = false, HorzGrid = false, VertTicks = false, HorzTicks = false;
        int VertTickLength = 0, HorzTickLength = 0, NumVertGrid = 0, NumHorzGrid = 0;
        TFFTNumber FFTNumber = TFFTNumber::n256;
        TSampleRate SampleRate = TSampleRate::n48000;
        bool operator==(const BackgroundKey& other) const;
    };
    BackgroundKey CurrentBackgroundKey() const;
    mutable QImage background_;  // the plot page's grid, ticks and axis
    mutable BackgroundKey backgroundKey_;

    std::vector<TPlotListMember> plots_;  // newest first
    std::array<TBlock, kBlockSlots> blocks_{};

    bool autoRedraw_ = true;
    QColor axisColor_;
    TAxisStyle axisStyle_ = TAxisStyle::CenteredBox;
    TAxisFormat xAxisFormat_ = TAxisFormat::Linear;
    TAxisFormat yAxisFormat_ = TAxisFormat::Linear;
    bool showXLabel_ = true;
    bool showYLabel_ = true;
    bool showCoordinates_ = true;
    bool xAutoScale_ = true;
    bool yAutoScale_ = true;
    double xMax_ = 1000.0;
    double xMin_ = 0.0;
    double yMax_ = 15.0;
    double yMin_ = -15.0;
    int xLabelPrecision_ = 4;
    int yLabelPrecision_ = 4;
    int xLabelDigits_ = 4;
    int yLabelDigits_ = 4;
    TStringFloatFormat xLabelFormat_ = TStringFloatFormat::sffGeneral;
    TStringFloatFormat yLabelFormat_ = TStringFloatFormat::sffGeneral;
    int pointSize_ = 2;
    bool mouseControl_ = true;
    bool showVertGrid_ = true;
    bool showHorzGrid_ = true;
    bool showVertTicks_ = true;
    bool showHorzTicks_ = true;
    int vertTickLength_ = 6;
    int horzTickLength_ = 6;
    int numVertGrid_ = 10;
    int numHorzGrid_ = 5;
    QColor gridColor_;
    double mouseX_ = 0.0;
    double mouseY_ = 0.0;
    bool showXTitle_ = true;
    bool showYTitle_ = true;
    bool showPlotTitle_ = true;
    QString xTitle_;
    QString yTitle_;
    QString plotTitle_;
    TPlotFont plotTitleFont_;
    TPlotFont axisTitleFont_;
    TPlotFont axisLabelFont_;
    TPlotFont mouseCoordFont_;
    TFFTNumber fftNumber_ = TFFTNumber::n1024;
    TSampleRate sampleRate_ = TSampleRate::n48000;
    QColor color_;
};

}  // namespace qireq
