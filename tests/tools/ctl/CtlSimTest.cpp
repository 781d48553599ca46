// qireq-ctl against simulated units over a pseudo-terminal and loopback
// TCP: the frames of every subcommand as the unit logs them, verified
// writes, several units at once, units that fail, JSON output, batches and
// the filter import and export.
#include "CtlHarness.h"
#include "CtlOutput.h"

#include "eq/EqBlock.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"
#include "support/Waiting.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSerialPort>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace qireq;
using namespace qireq::ctl::test;
using qireq::sim::test::SimProcess;

namespace {

const QString kReadMac = "01 20 03 40 09 21 01 05 60";
const QString kIdentify = "01 20 03 40 09 1F 01 05 60";
const QString kReadBlock = "01 20 03 40 09 15 01 05 60";

// The 74 bytes of a preset file, read line by line as "0xHH".
QString PresetHex(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (!line.trimmed().isEmpty())
            bytes.append(static_cast<char>(line.trimmed().mid(2).toInt(nullptr, 16)));
    }
    EXPECT_EQ(bytes.size(), 74);
    return HexLine(bytes);
}

// The unit's EQ block as it last sent it.
QString LastBlockSent(SimProcess& sim)
{
    QString last;
    for (const QString& line : sim.Lines()) {
        if (line.startsWith("TX 01 20 03 40 4A 14"))
            last = line.mid(3);
    }
    return last;
}

// A preset unlike the reset setting: trim -7 dB, bypass on, band 2 a
// Low Shelf at 125 Hz with +3 dB, band 5 off.
QString WriteDistinctPreset(const QTemporaryDir& dir)
{
    EqBlock block = NewSavingRecord();
    for (int i = 16; i < 46; ++i)
        block[static_cast<std::size_t>(i)] = ResetBlock[static_cast<std::size_t>(i)];
    block[7] = 0x6B;
    block[9] = 1;
    block[22] = 5, block[23] = 0, block[24] = 80, block[25] = 18;
    block[45] = 1;
    const QString path = dir.filePath("distinct.bin");
    EXPECT_TRUE(WritePresetFile(path, block).isEmpty());
    return path;
}

}  // namespace

// Each subcommand's frames, byte for byte as the unit received them: over
// TCP the window's ReadMac and Identify first, then the command's own.
TEST(CtlSim, EverySubcommandsFramesOverTcp)
{
    QString address;
    auto unit = StartTcpUnit(&address);
    QTemporaryDir dir;
    const QString preset = dir.filePath("pulled.bin");
    const QString rename = "01 20 03 40 1A 1E 01 48 61 6C 6C 20 20 20 20 20 20 20 20 20 20 20 00 01 05 60";
    const QString resetBlock = HexLine(QByteArray(reinterpret_cast<const char*>(ResetBlock.data()), 74));
    struct Case {
        QStringList args;
        QStringList frames;  // after ReadMac and Identify
    };
    const std::vector<Case> cases{
        {{"info"}, {}},
        {{"status"}, {"01 20 03 40 09 23 01 05 60"}},
        {{"usage"}, {"01 20 03 40 09 24 01 05 60"}},
        {{"eq", "show"}, {kReadBlock}},
        {{"eq", "set", "3", "--freq", "1000", "--gain", "-3.5", "--q", "2"},
         {kReadBlock, "01 20 03 40 11 11 0A 03 01 01 46 1F 1C 00 01 05 60", kReadBlock}},
        {{"eq", "set", "5", "--type", "high-shelf", "--off"},
         {kReadBlock, "01 20 03 40 11 11 0A 05 04 02 00 18 00 01 01 05 60", kReadBlock}},
        {{"eq", "trim", "-7"}, {"01 20 03 40 0B 0E 6B 48 01 05 60", kReadBlock}},
        {{"eq", "bypass", "on"}, {"01 20 03 40 0B 13 00 01 01 05 60", kReadBlock}},
        {{"eq", "reset"}, {resetBlock, kReadBlock}},
        {{"preset", "pull", preset}, {kReadBlock}},
        {{"preset", "push", preset}, {"<file>", kReadBlock}},
        {{"rename", "Hall"}, {rename, kIdentify}},
    };
    for (const Case& c : cases) {
        const std::size_t mark = unit->Lines().size();
        const CtlRun run = RunCtl(QStringList{"--tcp", address} + c.args);
        EXPECT_EQ(run.Exit, 0) << qPrintable(c.args.join(' ') + "\n" + run.Out + run.Err);
        QStringList wanted{kReadMac, kIdentify};
        for (const QString& f : c.frames)
            wanted << (f == "<file>" ? PresetHex(preset) : f);
        EXPECT_EQ(FramesSince(*unit, mark, static_cast<int>(wanted.size())), wanted) << qPrintable(c.args.join(' '));
        if (c.args.startsWith("eq") && c.args.value(1) == "set" && c.args.value(2) == "3") {
            EXPECT_TRUE(run.Out.contains("frequency 1000 Hz -> 1000.0 Hz (step 170)")) << qPrintable(run.Out);
            EXPECT_TRUE(run.Out.contains("Q 2 -> 2.00 (step 28)"));
            EXPECT_TRUE(run.Out.contains("gain -3.5 dB -> -3.5 dB (code 31)"));
            EXPECT_TRUE(run.Out.contains("band 3: Peak 1000.0 Hz Q 2.00 -3.5 dB On"));
        }
    }
    EXPECT_TRUE(RunCtl({"--tcp", address, "info"}).Out.contains("name: Hall"));
}

// Over a serial line there is no ReadMac: Identify, then the command.
TEST(CtlSim, FramesOverAPseudoTerminal)
{
    QString path;
    auto unit = StartPtyUnit(&path);
    const CtlRun run = RunCtl({"--serial", path, "eq", "set", "2", "--gain", "6"});
    EXPECT_EQ(run.Exit, 0) << qPrintable(run.Out + run.Err);
    EXPECT_EQ(FramesSince(*unit, 0, 4),
              (QStringList{kIdentify, kReadBlock, "01 20 03 40 11 11 0A 02 01 00 32 0C 00 00 01 05 60", kReadBlock}));
}

TEST(CtlSim, PresetPushToThreeUnitsLeavesTheFileInEach)
{
    QTemporaryDir dir;
    const QString preset = WriteDistinctPreset(dir);
    QString path, a, b;
    auto serial = StartPtyUnit(&path);
    auto tcpA = StartTcpUnit(&a);
    auto tcpB = StartTcpUnit(&b);
    const CtlRun run = RunCtl({"--serial", path, "--tcp", a, "--tcp", b, "preset", "push", preset, "-o", "json"});
    EXPECT_EQ(run.Exit, 0) << qPrintable(run.Out + run.Err);
    const QJsonObject o = run.Json();
    EXPECT_TRUE(o.value("ok").toBool());
    EXPECT_EQ(o.value("units").toArray().size(), 3);
    for (SimProcess* unit : {serial.get(), tcpA.get(), tcpB.get()})
        EXPECT_EQ(LastBlockSent(*unit), PresetHex(preset));
}

// A unit that acknowledges but keeps its values fails, naming the field;
// the others succeed; exit status 1.
TEST(CtlSim, AUnitThatDoesNotApplyFailsAlone)
{
    QTemporaryDir dir;
    const QString preset = WriteDistinctPreset(dir);
    QString a, b, lazy;
    auto unitA = StartTcpUnit(&a);
    auto unitB = StartTcpUnit(&b);
    auto lazyUnit = StartTcpUnit(&lazy, {"--ack-only"});
    const CtlRun run = RunCtl({"--tcp", a, "--tcp", lazy, "--tcp", b, "preset", "push", preset, "-o", "json"});
    EXPECT_EQ(run.Exit, 1);
    const QJsonArray units = run.Json().value("units").toArray();
    ASSERT_EQ(units.size(), 3);
    EXPECT_TRUE(units[0].toObject().value("ok").toBool());
    EXPECT_TRUE(units[2].toObject().value("ok").toBool());
    EXPECT_FALSE(units[1].toObject().value("ok").toBool());
    EXPECT_EQ(units[1].toObject().value("error").toString(),
              "the unit did not apply the write: trim is 0 dB in its read-back, -7 dB was sent");

    const CtlRun band = RunCtl({"--tcp", lazy, "eq", "set", "1", "--gain", "3"});
    EXPECT_EQ(band.Exit, 1);
    EXPECT_TRUE(band.Out.contains("FAILED: the unit did not apply the write: band 1 gain is 0 dB in its read-back, "
                                  "3 dB was sent")) << qPrintable(band.Out);
}

TEST(CtlSim, ASilentUnitFailsWithinTheStatedTime)
{
    QString quiet, talking;
    auto quietUnit = StartTcpUnit(&quiet, {"--silent"});
    auto talkingUnit = StartTcpUnit(&talking);
    const CtlRun run = RunCtl({"--timeout", "1", "--tcp", quiet, "--tcp", talking, "eq", "show"});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_FALSE(run.Out.contains(quiet + " (QIR-SIM)")) << "a silent unit never told its name";
    EXPECT_TRUE(run.Out.contains(quiet + ": FAILED: no answer to Identify within 1.0 s")) << qPrintable(run.Out);
    EXPECT_TRUE(run.Out.contains(talking + " (QIR-SIM): ok"));
    EXPECT_LT(run.Ms, 3000) << "one wait of 1 s, units in parallel";
}

TEST(CtlSim, ErrorsAUserCanActOn)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString refused = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    const CtlRun r1 = RunCtl({"--tcp", refused, "--serial", "/dev/qireq-no-such-port", "info"});
    EXPECT_EQ(r1.Exit, 1);
    EXPECT_TRUE(r1.Out.contains(refused + ": FAILED: connection refused: " + refused + " takes no TCP connection"))
        << qPrintable(r1.Out);
    EXPECT_TRUE(r1.Out.contains("/dev/qireq-no-such-port: FAILED: no such serial port: /dev/qireq-no-such-port"));

    QString path;
    auto unit = StartPtyUnit(&path);
    QSerialPort holder(path);
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    const CtlRun r2 = RunCtl({"--serial", path, "info"});
    EXPECT_TRUE(r2.Out.contains("FAILED: port busy: " + path + " is held by another program")) << qPrintable(r2.Out);
    holder.close();

    // A user the port's owner does not let in (run as nobody, where the
    // test may change user): told so, not "no device". A pseudo-terminal's
    // group (tty) may only write to it, so no group to join is named.
    if (::geteuid() == 0 && QFile::exists("/usr/bin/setpriv")) {
        QProcess nobody;
        nobody.start("/usr/bin/setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", CtlProgramPath(),
                                          "--serial", path, "info"});
        ASSERT_TRUE(nobody.waitForFinished(10000));
        EXPECT_EQ(QString::fromUtf8(nobody.readAllStandardOutput()),
                  path + ": FAILED: permission denied: " + path + "\n");
        EXPECT_EQ(nobody.exitCode(), 1);
    }

    QTemporaryDir dir;
    QFile bad(dir.filePath("bad.bin"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("0x01\r\n").repeated(74));
    bad.close();
    const CtlRun r3 = RunCtl({"--serial", path, "preset", "push", bad.fileName()});
    EXPECT_EQ(r3.Exit, 1);
    EXPECT_EQ(r3.Err, "qireq-ctl: Invalid file\n");
    const CtlRun r4 = RunCtl({"--serial", path, "eq", "set", "1", "--freq", "25000"});
    EXPECT_EQ(r4.Err, "qireq-ctl: frequency 25000 Hz is outside the unit's range 19.7 to 20160 Hz\n");
    EXPECT_EQ(FramesSince(*unit, 0, 0, 0), QStringList()) << "nothing was sent for a command in error";
}

// Every subcommand's JSON parses and has its own stable set of fields.
TEST(CtlSim, JsonOfEverySubcommand)
{
    QString address;
    auto unit = StartTcpUnit(&address);
    QTemporaryDir dir;
    const QString preset = dir.filePath("p.bin");
    const QList<QStringList> commands{{"info"}, {"status"}, {"usage"}, {"eq", "show"},
                                      {"eq", "set", "1", "--q", "1"}, {"eq", "trim", "-2"}, {"eq", "bypass", "off"},
                                      {"eq", "reset"}, {"preset", "pull", preset}, {"preset", "push", preset},
                                      {"rename", "Stage"}};
    for (const QStringList& c : commands) {
        const CtlRun run = RunCtl(QStringList{"--tcp", address, "-o", "json"} + c);
        const QJsonObject o = run.Json();
        const QString name = c.size() > 1 && (c[0] == "eq" || c[0] == "preset") ? c[0] + " " + c[1] : c[0];
        EXPECT_EQ(o.value("command").toString(), name);
        EXPECT_TRUE(o.value("ok").toBool()) << qPrintable(run.Out);
        const QJsonObject u = o.value("units").toArray().at(0).toObject();
        for (const QString& key : QStringList{"unit", "name", "ok", "error", "ms"} + ctl::UnitFieldKeys(name))
            EXPECT_TRUE(u.contains(key) && !(key != "error" && u.value(key).isNull())) << qPrintable(name + " " + key);

        const CtlRun lines = RunCtl(QStringList{"--tcp", address, "-o", "jsonl"} + c);
        QJsonParseError error{};
        QJsonDocument::fromJson(lines.Out.trimmed().toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << qPrintable(lines.Out);
    }
}

// The companion names the same release as the window's title and package.
TEST(CtlSim, VersionIsTheRelease)
{
    const CtlRun r = RunCtl({"--version"});
    EXPECT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Out, "qireq-ctl 4.7\n");
}

TEST(CtlSim, BatchFromStandardInput)
{
    QString address;
    auto unit = StartTcpUnit(&address);
    const QByteArray batch = "# tune the hall\neq trim -3\n\neq show   # and look\n";
    const CtlRun text = RunCtl({"--tcp", address, "-f", "-"}, batch);
    EXPECT_EQ(text.Exit, 0) << qPrintable(text.Out + text.Err);
    EXPECT_TRUE(text.Out.contains("> eq trim -3\n" + address + " (QIR-SIM): ok\n  trim: -3 dB"));
    EXPECT_TRUE(text.Out.contains("  trim: -3 dB\n  bypass: off"));

    const CtlRun json = RunCtl({"--tcp", address, "-o", "json", "-f", "-"}, batch + "eq bogus\n");
    EXPECT_EQ(json.Exit, 1);
    const QJsonArray reports = QJsonDocument::fromJson(json.Out.toUtf8()).array();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_EQ(reports[1].toObject().value("command").toString(), "eq show");
    EXPECT_EQ(reports[2].toObject().value("error").toString(), "unknown command \"eq bogus\" (try qireq-ctl --help)");
}

TEST(CtlSim, ImportPushesAndExportPrints)
{
    QTemporaryDir dir;
    QFile apo(dir.filePath("apo.txt"));
    ASSERT_TRUE(apo.open(QIODevice::WriteOnly));
    apo.write("Preamp: -4 dB\nFilter 1: ON PK Fc 1000 Hz Gain -3.0 dB Q 2.00\n");
    apo.close();
    QString address;
    auto unit = StartTcpUnit(&address);
    const QString out = dir.filePath("fitted.bin");
    const CtlRun run = RunCtl({"import", apo.fileName(), "-o", out, "--tcp", address});
    EXPECT_EQ(run.Exit, 0) << qPrintable(run.Out + run.Err);
    EXPECT_TRUE(run.Out.contains("preset written to " + out));
    EXPECT_EQ(QFileInfo(out).size(), kPresetFileSize);
    EXPECT_EQ(LastBlockSent(*unit), PresetHex(out));

    const CtlRun exported = RunCtl({"export", out});
    EXPECT_EQ(exported.Exit, 0);
    EXPECT_TRUE(exported.Out.contains("Preamp: -4 dB")) << qPrintable(exported.Out);
    EXPECT_TRUE(exported.Out.contains("Filter 1: ON PK")) << qPrintable(exported.Out);
}
