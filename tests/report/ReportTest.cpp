// The commissioning report: what it says with and without a unit; the PDF
// read back with pdftotext and rendered with pdftoppm (skipped without
// poppler-utils); a path that cannot be written leaves no file behind.
#include "report/ReportContent.h"
#include "report/ReportWriter.h"

#include "eq/EqEncoding.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace qireq {
namespace {

const QDateTime kWhen(QDate(2026, 12, 9), QTime(14, 30));

EqState SomeEq()
{
    EqState eq;
    eq.Trim = -3;
    eq.Bands[1].BandGain = GainCodeFromPosition(-6);  // +6 dB
    eq.Bands[2].BandType = kLowShelf;
    eq.Bands[4].BandOff = 1;  // switched off here, not yet on the unit
    return eq;
}

DeviceEntry Unit()
{
    return DeviceEntry{0, QStringLiteral("Hall Left"), QStringLiteral("192.168.1.40"),
                       QStringLiteral("0011aabbccdd"), kProbeUnit};
}

QString Fact(const ReportContent& report, const char* label)
{
    for (const auto& [name, value] : report.Facts)
        if (name == QLatin1String(label))
            return value;
    return QStringLiteral("<absent>");
}

TEST(ReportContentTest, ConnectedItNamesTheUnitAndItsStatusAndListsTheBandsAsShown)
{
    const UnitFacts facts{17, StatusReading{300, 30, QStringLiteral("Temperature:30℃"), false, true, false, false},
                          4, 1500};
    const ReportContent report = MakeReportContent(SomeEq(), true, Unit(), facts, kWhen, QStringLiteral("ok"));

    EXPECT_TRUE(report.FromLiveUnit);
    EXPECT_EQ(Fact(report, "Unit"), QStringLiteral("Hall Left"));
    EXPECT_EQ(Fact(report, "Link"), QStringLiteral("IP 192.168.1.40"));
    EXPECT_EQ(Fact(report, "MAC"), QStringLiteral("00:11:AA:BB:CC:DD"));
    EXPECT_EQ(Fact(report, "Capability"), QStringLiteral("17"));
    EXPECT_EQ(Fact(report, "Date and time"), QStringLiteral("2026-12-09 14:30"));
    EXPECT_EQ(Fact(report, "Over-temperature") + Fact(report, "Protection"), QStringLiteral("AlarmNormal"));
    EXPECT_EQ(Fact(report, "Burn count"), QStringLiteral("4"));
    EXPECT_EQ(Fact(report, "Operating time"), QStringLiteral("1 day, 1 hour, 0 minute"));
    EXPECT_EQ(report.Trim + report.Bypass, QStringLiteral("-3 dBOff"));
    EXPECT_EQ(report.Bands[1].Gain + report.Bands[2].Type, QStringLiteral("+6 dBLow Shelf"));
    EXPECT_EQ(report.Bands[4].OnOff, QStringLiteral("On")) << "connected, the unit's flag is shown";

    // A unit without status support, on a serial port, that told nothing more.
    DeviceEntry serial = Unit();
    serial.Kind = kSerialUnit;
    serial.Address = QStringLiteral("COM3");
    serial.Mac = kUnknownMac;
    const ReportContent plain = MakeReportContent(SomeEq(), true, serial, UnitFacts{16, StatusReading{}, {}, {}},
                                                  kWhen, QString());
    EXPECT_EQ(Fact(plain, "Link"), QStringLiteral("Port COM3"));
    EXPECT_EQ(Fact(plain, "MAC"), QStringLiteral("not reported"));
    EXPECT_EQ(Fact(plain, "Temperature") + Fact(plain, "Burn count"), QStringLiteral("<absent><absent>"));
}

TEST(ReportContentTest, WithoutAUnitItSaysNotConnectedAndShowsTheEditorsFlags)
{
    const ReportContent report = MakeReportContent(SomeEq(), false, std::nullopt, UnitFacts{}, kWhen, QString());
    EXPECT_FALSE(report.FromLiveUnit);
    EXPECT_EQ(Fact(report, "Unit"), QStringLiteral("not connected"));
    EXPECT_EQ(Fact(report, "MAC"), QStringLiteral("<absent>"));
    EXPECT_EQ(report.Bands[4].OnOff, QStringLiteral("Off"));
    EXPECT_EQ(Fact(MakeReportContent(SomeEq(), true, std::nullopt, {}, kWhen, {}), "Unit"), QStringLiteral("not listed"));

    EXPECT_EQ(ReportPdfName(QStringLiteral("/r/hall")), QStringLiteral("/r/hall.pdf"));
    EXPECT_EQ(ReportPdfName(QStringLiteral("/r/hall.PDF")), QStringLiteral("/r/hall.PDF"));
    EXPECT_EQ(ReportPngName(QStringLiteral("/r/hall.PDF")), QStringLiteral("/r/hall.png"));
}

// True when the tool ran and succeeded; its output goes to out.
bool RunTool(const QString& program, const QStringList& arguments, QString* out = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return false;
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    return true;
}

TEST(ReportWriterTest, ThePdfCarriesTheUnitAndTheBandsAsTextRendersAndHasThePlotBeside)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftotext.isEmpty() || pdftoppm.isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("hall.pdf"));
    const ReportContent report =
        MakeReportContent(SomeEq(), true, Unit(), UnitFacts{}, kWhen, QStringLiteral("Stage monitors, tuned"));
    ASSERT_EQ(WriteReport(pdf, report, SomeEq(), true, PlotRange{}), QString());

    QString text;
    ASSERT_TRUE(RunTool(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, &text));
    for (const char* expected : {"Hall Left", "00:11:AA:BB:CC:DD", "192.168.1.40", "Low Shelf", "198.4 Hz",
                                 "+6 dB", "-3 dB", "Stage monitors, tuned", "2026-12-09 14:30"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    for (int band = 1; band <= kBandCount; ++band)
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\b%1\\s+(Peak|Low Shelf|High Shelf)").arg(band))))
            << band;

    ASSERT_TRUE(RunTool(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("40"), pdf,
                                   dir.filePath(QStringLiteral("page"))}));
    const QImage page(dir.filePath(QStringLiteral("page-1.png")));
    ASSERT_FALSE(page.isNull()) << "pdftoppm rendered no page";
    EXPECT_LT(page.width(), page.height()) << "an upright A4 page";

    const QImage plot(dir.filePath(QStringLiteral("hall.png")));
    ASSERT_EQ(plot.size(), QSize(kReportPlotWidth, kReportPlotHeight));
    // The curve is there: some pixel in the plot's middle is the curve's blue.
    bool blue = false;
    for (int y = 0; y < plot.height() && !blue; ++y) {
        const QColor c = plot.pixelColor(plot.width() / 2, y);
        blue = c.blue() > 120 && c.red() < 60;
    }
    EXPECT_TRUE(blue);
}

TEST(ReportWriterTest, APathThatCannotBeWrittenSaysSoAndLeavesNoFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ReportContent report = MakeReportContent(EqState{}, false, std::nullopt, UnitFacts{}, kWhen, QString());

    const QString missing = dir.filePath(QStringLiteral("no/such/dir/r.pdf"));
    EXPECT_EQ(WriteReport(missing, report, EqState{}, false, PlotRange{}),
              QStringLiteral("Cannot create file ") + QDir::toNativeSeparators(dir.filePath(QStringLiteral("no/such/dir/r.png"))));

    // The PDF's name is taken by a folder: the picture, ready by then, goes too.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.pdf")));
    const QString taken = dir.filePath(QStringLiteral("taken.pdf"));
    EXPECT_EQ(WriteReport(taken, report, EqState{}, false, PlotRange{}),
              QStringLiteral("Cannot create file ") + QDir::toNativeSeparators(taken));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

TEST(ReportWriterTest, ManyUnitsMakeOnePdfWithAPageEachAndTheUnreadOneSaysWhy)
{
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdfinfo.isEmpty() || pdftotext.isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    DeviceEntry right = Unit();
    right.Name = QStringLiteral("Hall Right");
    right.Address = QStringLiteral("192.168.1.41");
    DeviceEntry sub = Unit();
    sub.Name = QStringLiteral("Stage Sub");
    sub.Address = QStringLiteral("/dev/ttyUSB3");
    const QString note = QStringLiteral("Venue A");
    const std::vector<ReportPage> pages{
        {MakeReportContent(SomeEq(), true, Unit(), UnitFacts{}, kWhen, note), SomeEq()},
        {MakeReportContent(EqState{}, true, right, UnitFacts{}, kWhen, note), EqState{}},
        {UnreadReportContent(sub, kWhen, QStringLiteral("no reply to Identify within 2 s"), note), EqState{}},
    };
    const QString pdf = dir.filePath(QStringLiteral("venue.pdf"));
    ASSERT_EQ(WriteReportPages(pdf, pages, PlotRange{}), QString());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("venue.png"))));

    QString info;
    ASSERT_TRUE(RunTool(pdfinfo, {pdf}, &info));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b")))) << info.toStdString();
    const char* names[] = {"Hall Left", "Hall Right", "Stage Sub"};
    for (int page = 1; page <= 3; ++page) {
        QString text;
        ASSERT_TRUE(RunTool(pdftotext, {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                        QString::number(page), QStringLiteral("-layout"), pdf, QStringLiteral("-")},
                            &text));
        for (int other = 1; other <= 3; ++other)
            EXPECT_EQ(text.contains(QString::fromUtf8(names[other - 1])), other == page) << page << " " << other;
        EXPECT_TRUE(text.contains(note)) << page;
        EXPECT_EQ(text.contains(QStringLiteral("Low Shelf")), page == 1) << page;
        EXPECT_EQ(text.contains(QStringLiteral("no reply to Identify within 2 s")), page == 3) << page;
    }

    const QString missing = dir.filePath(QStringLiteral("no/such/dir/venue.pdf"));
    EXPECT_EQ(WriteReportPages(missing, pages, PlotRange{}),
              QStringLiteral("Cannot create file ") + QDir::toNativeSeparators(missing));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("venue.pdf")});
}

}  // namespace
}  // namespace qireq
