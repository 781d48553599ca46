// How EQ values read in the band controls and hints.
#include "eq/EqBand.h"
#include "eq/EqDisplay.h"
#include "eq/EqEncoding.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace qireq {
namespace {

TEST(EqDisplay, FrequencyShowsOneDecimal)
{
    EXPECT_EQ(FrequencyText(30), "39.4");
    EXPECT_EQ(FrequencyText(170), "1000.0");
    EXPECT_EQ(FrequencyText(0), "19.7");
    EXPECT_EQ(FrequencyText(12), "26.0");
    EXPECT_EQ(FrequencyText(300), "20160.0");
    EXPECT_EQ(FrequencyText(-1), "19.7");
    EXPECT_EQ(FrequencyText(400), "20160.0");
    for (int step = 0; step <= kMaxFreqStep; ++step) {
        const QString text = FrequencyText(step);
        EXPECT_EQ(text.indexOf('.'), text.size() - 2) << text.toStdString();
        EXPECT_EQ(text.toDouble(), FrequencyOf(step)) << text.toStdString();
    }
}

TEST(EqDisplay, QShowsTwoDecimals)
{
    EXPECT_EQ(QText(35), "3.00");
    EXPECT_EQ(QText(29), "2.10");
    EXPECT_EQ(QText(30), "2.10");
    EXPECT_EQ(QText(0), "0.40");
    EXPECT_EQ(QText(1), "0.42");
    EXPECT_EQ(QText(100), "128.00");
    for (int step = 0; step <= kMaxQStep; ++step) {
        const QString text = QText(step);
        EXPECT_EQ(text.indexOf('.'), text.size() - 3) << text.toStdString();
        EXPECT_EQ(text.toDouble(), QOf(step)) << text.toStdString();
    }
}

TEST(EqDisplay, NumbersIgnoreTheUsersLocale)
{
    // A German desktop must not turn "1000.0" into "1.000,0".
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FrequencyText(300), "20160.0");
    EXPECT_EQ(QText(35), "3.00");
    EXPECT_EQ(GainText(-6), "-6 dB");
    EXPECT_EQ(TrimText(-18), "-18");
    QLocale::setDefault(previous);
}

TEST(EqDisplay, GainTrimTypeAndOffTexts)
{
    EXPECT_EQ(GainText(-6), "-6 dB");
    EXPECT_EQ(GainText(12), "12 dB");
    EXPECT_EQ(GainText(0), "0 dB");
    EXPECT_EQ(GainText(ShownGainDb(1)), "11 dB");
    EXPECT_EQ(TrimText(0), "0");
    EXPECT_EQ(TrimText(-18), "-18");

    EXPECT_EQ(TypeName(kHighShelf), "High Shelf");
    EXPECT_EQ(TypeName(kPeak), "Peak");
    EXPECT_EQ(TypeName(kLowShelf), "Low Shelf");
    // The type button's cycle: index + 1 modulo 3.
    EXPECT_EQ(TypeName((kPeak + 1) % 3), "Low Shelf");
    EXPECT_EQ(TypeName((kLowShelf + 1) % 3), "High Shelf");
    EXPECT_EQ(TypeName((kHighShelf + 1) % 3), "Peak");
    EXPECT_EQ(TypeName(3), "High Shelf");
    EXPECT_EQ(TypeName(-1), "Low Shelf");

    EXPECT_EQ(OffText(1), "Off");
    EXPECT_EQ(OffText(0), "On");
}

}  // namespace
}  // namespace qireq
