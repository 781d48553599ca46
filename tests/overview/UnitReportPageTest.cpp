// A unit's page of the overview's report: what the run read wins over what
// the list remembered, status and usage appear where the unit reported them,
// and a unit not read (or read without its block) gets a page saying why.
#include "eq/EqBlock.h"
#include "eq/EqEncoding.h"
#include "overview/UnitReportPage.h"

#include <gtest/gtest.h>

using namespace qireq;

namespace {

const QDateTime kWhen(QDate(2026, 12, 9), QTime(9, 5));

DeviceEntry Listed()
{
    return DeviceEntry{0, QStringLiteral("Old Name"), QStringLiteral("127.0.0.2"), kUnknownMac, kProbeUnit};
}

QString Fact(const ReportPage& page, const char* label)
{
    for (const auto& [name, value] : page.Content.Facts)
        if (name == QLatin1String(label))
            return value;
    return QStringLiteral("<absent>");
}

}  // namespace

TEST(UnitReportPage, AReadUnitShowsWhatItToldAndItsBlock)
{
    fleet::UnitResult r;
    r.Ok = true;
    r.Name = QStringLiteral("Hall Left");
    r.Fields = QJsonObject{{QStringLiteral("capability"), 17},
                           {QStringLiteral("mac"), QStringLiteral("00A1B0000002")},
                           {QStringLiteral("temperature_text"), QStringLiteral("41°C")},
                           {QStringLiteral("protected"), true},
                           {QStringLiteral("temperature_alarm"), false},
                           {QStringLiteral("voltage_alarm"), false},
                           {QStringLiteral("standby"), false},
                           {QStringLiteral("burn_count"), 12},
                           {QStringLiteral("minutes"), 61}};
    EqBlock block = ResetBlock;
    block[kBlockTrimOffset] = EncodeTrim(-7);
    const ReportPage page = UnitReportPage(Listed(), r, block, kWhen, QStringLiteral("tuned"));

    EXPECT_TRUE(page.Content.FromLiveUnit);
    EXPECT_TRUE(page.Content.Failure.isEmpty());
    EXPECT_EQ(Fact(page, "Unit"), QStringLiteral("Hall Left"));
    EXPECT_EQ(Fact(page, "MAC"), QStringLiteral("00:A1:B0:00:00:02"));
    EXPECT_EQ(Fact(page, "Capability"), QStringLiteral("17"));
    EXPECT_EQ(Fact(page, "Temperature"), QStringLiteral("41°C"));
    EXPECT_EQ(Fact(page, "Protection"), QStringLiteral("Alarm"));
    EXPECT_EQ(Fact(page, "Burn count"), QStringLiteral("12"));
    EXPECT_NE(Fact(page, "Operating time"), QStringLiteral("<absent>"));
    EXPECT_EQ(page.Content.Trim, QStringLiteral("-7 dB"));
    EXPECT_EQ(page.Eq.Trim, -7);
    EXPECT_EQ(page.Content.Note, QStringLiteral("tuned"));

    // A unit below capability 17 reported neither status nor usage.
    r.Fields = QJsonObject{{QStringLiteral("capability"), 16}};
    const ReportPage older = UnitReportPage(Listed(), r, block, kWhen, {});
    EXPECT_EQ(Fact(older, "Temperature"), QStringLiteral("<absent>"));
    EXPECT_EQ(Fact(older, "Burn count"), QStringLiteral("<absent>"));
    EXPECT_EQ(Fact(older, "MAC"), QStringLiteral("not reported"));
}

TEST(UnitReportPage, AUnitNotReadGetsAPageSayingWhy)
{
    fleet::UnitResult failed;
    failed.Error = QStringLiteral("no connection to 127.0.0.2:5000 within 2 s");
    const ReportPage page = UnitReportPage(Listed(), failed, std::nullopt, kWhen, QStringLiteral("n"));
    EXPECT_EQ(page.Content.Failure, failed.Error);
    EXPECT_EQ(Fact(page, "Unit"), QStringLiteral("Old Name"));
    EXPECT_EQ(Fact(page, "Link"), QStringLiteral("IP 127.0.0.2"));
    EXPECT_EQ(Fact(page, "Date and time"), QStringLiteral("2026-12-09 09:05"));

    fleet::UnitResult noBlock;
    noBlock.Ok = true;
    EXPECT_FALSE(UnitReportPage(Listed(), noBlock, std::nullopt, kWhen, {}).Content.Failure.isEmpty());
}
