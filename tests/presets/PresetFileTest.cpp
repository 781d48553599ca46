#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"

#include "eq/EqBlock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace qireq;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

EqBlock SampleRecord()
{
    EqBlock record = ResetBlock;
    record[7] = 0x6B;
    record[19] = 0x0C;
    return record;
}

QByteArray JoinLines(const QList<QByteArray>& lines, const QByteArray& ending)
{
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + ending;
    return text;
}

QList<QByteArray> DecimalLines(const EqBlock& record)
{
    QList<QByteArray> lines;
    for (std::uint8_t byte : record)
        lines.append(QByteArray::number(byte));
    return lines;
}

}  // namespace

TEST(PresetFile, SavedFileIs444BytesOfUpperCaseHexLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("eq.bin");
    ASSERT_EQ(WritePresetFile(path, NewSavingRecord()), QString());

    const QByteArray text = ReadAll(path);
    ASSERT_EQ(text.size(), 444);
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_EQ(lines.size(), 75);  // the last CR LF ends the 74th line
    const char* first[] = {"0x01\r", "0x20\r", "0x03\r", "0x40\r", "0x4A\r", "0x14\r", "0x01\r"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(lines[i], first[i]) << i;
    EXPECT_EQ(lines[71], "0x01\r");
    EXPECT_EQ(lines[72], "0x05\r");
    EXPECT_EQ(lines[73], "0x60\r");
    EXPECT_TRUE(lines[74].isEmpty());
    EXPECT_EQ(PresetFileText(NewSavingRecord()), text);
}

TEST(PresetFile, RoundTripsEveryByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("all.bin");
    EqBlock record = NewLoadRecord();
    for (std::size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<std::uint8_t>(i * 37 + 11);
    record[0] = 0x01;
    record[4] = 0x4A;
    record[5] = 0x14;
    ASSERT_EQ(WritePresetFile(path, record), QString());
    const PresetLoad load = ReadPresetFile(path);
    ASSERT_TRUE(load.ok()) << load.message.toStdString();
    EXPECT_EQ(load.record, record);
}

TEST(PresetFile, DecimalLinesAndEveryLineEndLoadTheSame)
{
    const EqBlock record = SampleRecord();
    const QByteArray hex = PresetFileText(record);
    for (const QByteArray& ending : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
        const PresetLoad load = ParsePresetText(JoinLines(DecimalLines(record), ending));
        ASSERT_TRUE(load.ok()) << load.message.toStdString();
        EXPECT_EQ(load.record, ParsePresetText(hex).record);
    }
    // Without a final line end the last line still counts.
    QByteArray unterminated = hex;
    unterminated.chop(2);
    EXPECT_EQ(ParsePresetText(unterminated).record, record);
}

TEST(PresetFile, LengthByteIsForcedAndValuesKeepTheirLowEightBits)
{
    QList<QByteArray> lines = DecimalLines(SampleRecord());
    lines[4] = "0x09";   // wrong length byte: loads anyway
    lines[7] = "-1";     // low eight bits: 0xFF
    lines[20] = "$1FF";  // 0xFF
    lines[30] = "256";   // 0x00
    const PresetLoad load = ParsePresetText(JoinLines(lines, "\r\n"));
    ASSERT_TRUE(load.ok());
    EXPECT_EQ(load.record[4], 0x4A);
    EXPECT_EQ(load.record[7], 0xFF);
    EXPECT_EQ(load.record[20], 0xFF);
    EXPECT_EQ(load.record[30], 0x00);
}

TEST(PresetFile, SignatureDecidesValidity)
{
    QList<QByteArray> lines = DecimalLines(SampleRecord());
    lines[5] = "0x0B";
    PresetLoad load = ParsePresetText(JoinLines(lines, "\r\n"));
    EXPECT_EQ(load.outcome, PresetLoad::Outcome::InvalidFile);
    EXPECT_EQ(load.message, "Invalid file");

    lines = DecimalLines(SampleRecord());
    lines[0] = "2";
    EXPECT_EQ(ParsePresetText(JoinLines(lines, "\r\n")).outcome, PresetLoad::Outcome::InvalidFile);
    EXPECT_EQ(ParsePresetText("").outcome, PresetLoad::Outcome::InvalidFile);
}

TEST(PresetFile, NonIntegerLineStopsTheLoadNamingTheLine)
{
    QList<QByteArray> lines = DecimalLines(SampleRecord());
    lines[10] = "0x1G";
    PresetLoad load = ParsePresetText(JoinLines(lines, "\r\n"));
    EXPECT_EQ(load.outcome, PresetLoad::Outcome::NotAnInteger);
    EXPECT_EQ(load.message, "'0x1G' is not a valid integer value");

    // A blank line before the end is not an integer either.
    lines = DecimalLines(SampleRecord());
    lines.insert(40, "");
    load = ParsePresetText(JoinLines(lines, "\r\n"));
    EXPECT_EQ(load.outcome, PresetLoad::Outcome::NotAnInteger);
    EXPECT_EQ(load.message, "'' is not a valid integer value");
}

TEST(PresetFile, ShortAndLongFilesStayWithinTheRecord)
{
    // Six lines: the rest keeps a fresh load record's bytes, trailer included.
    const PresetLoad shortLoad = ParsePresetText("1\n32\n3\n64\n74\n20\n");
    ASSERT_TRUE(shortLoad.ok());
    EXPECT_EQ(shortLoad.record[7], 0);
    EXPECT_EQ(shortLoad.record[71], 0x01);
    EXPECT_EQ(shortLoad.record[72], 0x05);
    EXPECT_EQ(shortLoad.record[73], 0x60);

    // Lines after the 74th are ignored, even ones that are not integers.
    const QByteArray longText = PresetFileText(SampleRecord()) + "0x77\r\nnot a number\r\n";
    const PresetLoad longLoad = ParsePresetText(longText);
    ASSERT_TRUE(longLoad.ok());
    EXPECT_EQ(longLoad.record, SampleRecord());
}

TEST(PresetFile, FileThatCannotBeOpenedOrCreated)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.bin");
    const PresetLoad load = ReadPresetFile(missing);
    EXPECT_EQ(load.outcome, PresetLoad::Outcome::CannotOpen);
    EXPECT_EQ(load.message, "Cannot open file " + QDir::toNativeSeparators(missing));

    const QString inMissingDir = dir.filePath("no/such/dir/eq.bin");
    EXPECT_EQ(WritePresetFile(inMissingDir, NewSavingRecord()),
              "Cannot create file " + QDir::toNativeSeparators(inMissingDir));
}

TEST(PresetFile, FailedSaveLeavesTheExistingPresetIntact)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.bin");
    ASSERT_EQ(WritePresetFile(path, SampleRecord()), QString());
    const QByteArray before = ReadAll(path);

#ifdef Q_OS_UNIX
    // Let the file system refuse the save half-way (a file size limit of 100
    // bytes makes the write fail with EFBIG, whoever we run as).
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const QString message = WritePresetFile(path, NewSavingRecord());
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(message, "Cannot create file " + QDir::toNativeSeparators(path));
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.bin"});
#endif

    // A target that is a folder cannot be replaced by a file.
    const QString folder = dir.filePath("isadir.bin");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_EQ(WritePresetFile(folder, NewSavingRecord()),
              "Cannot create file " + QDir::toNativeSeparators(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
