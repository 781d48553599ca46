// qireq-ctl without units: the command line, batch lines, value snapping,
// the write checks' messages and the JSON shapes.
#include "CtlCommand.h"
#include "CtlOutput.h"
#include "CtlRunner.h"
#include "ValueSnap.h"

#include "fleet/EqText.h"
#include "fleet/WriteCheck.h"

#include "eq/EqBlock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace qireq;
using namespace qireq::ctl;

TEST(CtlParse, UnitsSubcommandAndOptionsAnywhere)
{
    const CtlCommand c = ParseCommand({"--tcp", "10.0.0.5", "eq", "set", "3", "--freq", "1000", "--gain", "-3.5",
                                       "--serial", "/dev/ttyUSB0", "--on", "-o", "jsonl", "--timeout", "1.5"});
    EXPECT_TRUE(c.Error.isEmpty()) << qPrintable(c.Error);
    EXPECT_EQ(c.Name(), "eq set");
    EXPECT_EQ(c.Args, QStringList{"3"});
    EXPECT_EQ(c.Options.value("freq"), "1000");
    EXPECT_EQ(c.Options.value("gain"), "-3.5");
    EXPECT_TRUE(c.Has("on"));
    EXPECT_EQ(c.Units.Tcp, QStringList{"10.0.0.5"});
    EXPECT_EQ(c.Units.Serial, QStringList{"/dev/ttyUSB0"});
    EXPECT_EQ(c.Format, OutputFormat::JsonLines);
    EXPECT_EQ(c.TimeoutMs, 1500);
    EXPECT_TRUE(CheckShape(c).isEmpty());
}

TEST(CtlParse, NegativeNumbersArePositionalAndImportTakesMinusO)
{
    EXPECT_EQ(ParseCommand({"eq", "trim", "-6"}).Args, QStringList{"-6"});
    const CtlCommand imp = ParseCommand({"-o", "json", "import", "apo.txt", "-o", "out.bin", "--to", "Hall"});
    EXPECT_EQ(imp.Format, OutputFormat::Json);
    EXPECT_EQ(imp.Options.value("out"), "out.bin");
    EXPECT_EQ(imp.Units.Units, QStringList{"Hall"});
    EXPECT_TRUE(CheckShape(imp).isEmpty());
}

TEST(CtlParse, PlainErrors)
{
    EXPECT_EQ(ParseCommand({"--bogus"}).Error, "unknown option --bogus");
    EXPECT_EQ(ParseCommand({"-o", "xml", "info"}).Error, "unknown output format \"xml\" (text, json or jsonl)");
    EXPECT_FALSE(ParseCommand({"eq", "set", "1", "--on", "--off"}).Error.isEmpty());
    EXPECT_EQ(CheckShape(ParseCommand({"eq", "frob"})), "unknown command \"eq frob\" (try qireq-ctl --help)");
    EXPECT_TRUE(CheckShape(ParseCommand({"eq", "trim"})).startsWith("usage: qireq-ctl eq trim DB"));
    EXPECT_TRUE(CheckShape(ParseCommand({"info", "--freq", "3"})).startsWith("info takes no --freq"));
    EXPECT_TRUE(CheckShape(ParseCommand({"import", "a.txt"})).startsWith("import needs -o PRESET.bin"));
}

TEST(CtlParse, BatchLines)
{
    QString error;
    EXPECT_FALSE(SplitBatchLine("   # a comment", &error));
    EXPECT_FALSE(SplitBatchLine("", &error));
    EXPECT_EQ(*SplitBatchLine("rename \"Hall 2\"  # new name", &error), (QStringList{"rename", "Hall 2"}));
    EXPECT_EQ(*SplitBatchLine("preset push it\\'s.bin", &error), (QStringList{"preset", "push", "it's.bin"}));
    EXPECT_FALSE(SplitBatchLine("rename \"Hall", &error));
    EXPECT_EQ(error, "unclosed quote");
}

TEST(CtlSnap, StepsByLogDistanceAndCodes)
{
    EXPECT_EQ(SnapFrequency("1000").Value, 170);
    EXPECT_EQ(SnapFrequency("19.7").Value, 0);
    EXPECT_EQ(SnapFrequency("20160").Value, 300);
    EXPECT_EQ(SnapFrequency("1015").Value, 171);  // 1000 and 1030: nearer 1030 on a log scale
    EXPECT_EQ(SnapFrequency("1014").Value, 170);
    EXPECT_EQ(SnapQ("2").Value, 28);
    EXPECT_EQ(SnapQ("2.1").Value, 29);  // steps 29 and 30 both hold 2.1: the first
    EXPECT_EQ(SnapGain("-3.5").Value, 31);
    EXPECT_EQ(SnapGain("12").Value, 0);
    EXPECT_EQ(SnapGain("-12").Value, 48);
    EXPECT_EQ(SnapGain("1.2").Value, 22);  // +1 dB
    EXPECT_EQ(SnapTrim("-6").Value, -6);
    EXPECT_EQ(ParseBandType("Low-Shelf").Value, kLowShelf);
}

TEST(CtlSnap, OutOfRangeIsAnErrorNotAClamp)
{
    EXPECT_EQ(SnapFrequency("19.6").Error, "frequency 19.6 Hz is outside the unit's range 19.7 to 20160 Hz");
    EXPECT_FALSE(SnapFrequency("30000").ok());
    EXPECT_FALSE(SnapQ("0.3").ok());
    EXPECT_FALSE(SnapQ("129").ok());
    EXPECT_EQ(SnapGain("12.5").Error, "gain 12.5 dB is outside the unit's range -12 to +12 dB");
    EXPECT_FALSE(SnapTrim("1").ok());
    EXPECT_FALSE(SnapTrim("-19").ok());
    EXPECT_FALSE(SnapGain("loud").ok());
    EXPECT_FALSE(ParseBandNumber("6").ok());
    EXPECT_FALSE(ParseBandType("notch").ok());
}

TEST(CtlWriteCheck, NamesTheFieldThatDiffers)
{
    EqBlock sent = ResetBlock;
    EqBlock got = ResetBlock;
    EXPECT_FALSE(BlockDifference(sent, got, "read-back"));
    sent[BandRecordOffset(2) + 3] = 31;  // band 3 gain -3.5 dB
    EXPECT_EQ(*BlockDifference(sent, got, "read-back"),
              "the unit did not apply the write: band 3 gain is 0 dB in its read-back, -3.5 dB was sent");
    got = sent;
    got[kBlockTrimOffset] = 109;
    EXPECT_EQ(*BlockDifference(sent, got, "echo"),
              "the unit did not apply the write: trim is -6 dB in its echo, 0 dB was sent");
    EXPECT_EQ(*BypassDifference(true, false, "read-back"),
              "the unit did not apply the write: bypass is off in its read-back, on was sent");
}

TEST(CtlOutput, StableShapeWithNullsForFailedUnits)
{
    CommandReport r;
    r.Command = "eq set";
    UnitResult good;
    good.Unit = "10.0.0.5:5000";
    good.Ok = true;
    good.Fields.insert("band", BandJson(UnitBandOf(ResetBlock, 3)));
    UnitResult bad;
    bad.Unit = "/dev/ttyUSB0";
    bad.Error = "permission denied: /dev/ttyUSB0; join the dialout group";
    r.Units = {good, bad};
    EXPECT_FALSE(r.Ok());

    const QJsonObject o = QJsonDocument::fromJson(QJsonDocument(ToJson(r)).toJson()).object();
    EXPECT_EQ(o.value("command").toString(), "eq set");
    EXPECT_FALSE(o.value("ok").toBool());
    const QJsonArray units = o.value("units").toArray();
    ASSERT_EQ(units.size(), 2);
    for (const auto& u : units) {
        for (const char* key : {"unit", "name", "ok", "error", "ms", "band"})
            EXPECT_TRUE(u.toObject().contains(key)) << key;
    }
    EXPECT_EQ(units[0].toObject().value("band").toObject().value("freq_hz").toDouble(), 198.4);
    EXPECT_TRUE(units[1].toObject().value("band").isNull());

    const QStringList lines = ToJsonLines(r);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(QJsonDocument::fromJson(lines[1].toUtf8()).object().value("error").toString(), bad.Error);
    EXPECT_TRUE(RenderText(r).contains("/dev/ttyUSB0: FAILED: permission denied"));
}

// Exit status 2 for a command line that could not be read, 1 for a failure
// outside it (here a file); no unit is ever reached.
TEST(CtlExit, ACommandLineThatCannotBeReadExitsWithTwo)
{
    QString printed;
    QTextStream out(&printed);
    CtlRunner runner(out, out);
    const QStringList unit{"--tcp", "127.0.0.1:9"};
    EXPECT_EQ(runner.Run(unit + QStringList{"eq", "frob"}), 2);
    EXPECT_EQ(runner.Run(unit + QStringList{"eq", "set", "6", "--gain", "1"}), 2);
    EXPECT_EQ(runner.Run(unit + QStringList{"eq", "set", "1", "--freq", "25000"}), 2);
    EXPECT_EQ(runner.Run({"eq", "show"}), 2);
    EXPECT_EQ(runner.Run(unit + QStringList{"preset", "push", "/nonexistent/hall.bin"}), 1);
}
