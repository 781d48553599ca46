// fuzz_preset: the input as the text of a ".bin" preset file, through
// ParsePresetText and the integer syntax of its lines (presets/IntegerText).
//
// Checked against a plain reading of the format (lines ended by CR LF, LF
// or CR; each of the first 74 an integer: optional blanks, an optional
// sign, decimal digits or hexadecimal ones after "$", "x", "X", "0x", "0X",
// within 32 bits): the outcome and, once loaded, every byte. A loaded
// record carries the signature (byte 0 = 0x01, byte 5 = 0x14) and byte
// 4 = 74, and written out with PresetFileText it reads back as the same
// record. A value ParseIntegerText accepts reads back the same from its
// decimal and hexadecimal spellings and after more leading blanks, and is
// refused with anything after its digits. The first 74 input bytes taken
// as a record are written as 444 bytes of "0xHH" lines, which read back as
// the record (byte 4 aside) exactly when it carries the signature.
#include "FuzzCheck.h"

#include "presets/IntegerText.h"
#include "presets/PresetFile.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using namespace qireq;

namespace {

int DigitOf(char c)
{
    const std::string digits = "0123456789abcdef";
    const std::size_t at = digits.find(static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

// The integer syntax, read plainly.
std::optional<std::int32_t> PlainInteger(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos)
        return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    int base = 10;
    if (text.compare(i, 1, "$") == 0 || text.compare(i, 1, "x") == 0 ||
        text.compare(i, 1, "X") == 0) {
        base = 16;
        i += 1;
    } else if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    const std::uint64_t largest = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitOf(text[i]);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > largest)
            return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0u - value : value);
    return static_cast<std::int32_t>(bits);
}

// The lines of a file: a line ends at CR LF, LF or CR; an end at the very
// end of the text starts no further line.
std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::optional<std::int32_t> Parsed(const std::string& text)
{
    return ParseIntegerText(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

std::string Hex(std::uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", value);
    return buffer;
}

void CheckInteger(const std::string& text)
{
    const std::optional<std::int32_t> value = Parsed(text);
    FUZZ_CHECK(value == PlainInteger(text));
    if (!value)
        return;
    const auto bits = static_cast<std::uint32_t>(*value);
    FUZZ_CHECK(Parsed(std::to_string(*value)) == value);
    FUZZ_CHECK(Parsed("$" + Hex(bits)) == value);
    FUZZ_CHECK(Parsed("-0X" + Hex(0u - bits)) == value);
    FUZZ_CHECK(Parsed(" \t" + text) == value);
    FUZZ_CHECK(!Parsed(text + "g"));
    FUZZ_CHECK(!Parsed(text + " "));
}

void CheckPresetText(const std::string& text)
{
    const PresetLoad load =
        ParsePresetText(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    FUZZ_CHECK(load.outcome != PresetLoad::Outcome::CannotOpen);

    EqBlock expected{};
    expected[71] = 0x01;
    expected[72] = 0x05;
    expected[73] = 0x60;
    const std::vector<std::string> lines = LinesOf(text);
    for (std::size_t i = 0; i < lines.size() && i < expected.size(); ++i) {
        const std::optional<std::int32_t> value = PlainInteger(lines[i]);
        if (!value) {
            FUZZ_CHECK(load.outcome == PresetLoad::Outcome::NotAnInteger);
            FUZZ_CHECK(load.message.endsWith(QStringLiteral("' is not a valid integer value")));
            return;
        }
        expected[i] = static_cast<std::uint8_t>(*value & 0xFF);
    }
    expected[4] = 74;
    if (expected[0] != 0x01 || expected[5] != 0x14) {
        FUZZ_CHECK(load.outcome == PresetLoad::Outcome::InvalidFile);
        FUZZ_CHECK(load.message == QStringLiteral("Invalid file"));
        return;
    }
    FUZZ_CHECK(load.ok());
    FUZZ_CHECK(load.record == expected);
    FUZZ_CHECK(load.record[0] == 0x01 && load.record[5] == 0x14 && load.record[4] == 74);

    const QByteArray written = PresetFileText(load.record);
    FUZZ_CHECK(written.size() == kPresetFileSize);
    const PresetLoad again = ParsePresetText(written);
    FUZZ_CHECK(again.ok() && again.record == load.record);
}

// Any 74 bytes as a record: its file text and what reading it gives.
void CheckRecordText(const std::uint8_t* data)
{
    EqBlock record{};
    std::copy(data, data + record.size(), record.begin());
    const QByteArray text = PresetFileText(record);
    FUZZ_CHECK(text.size() == kPresetFileSize);
    for (std::size_t i = 0; i < record.size(); ++i) {
        const QByteArray line = text.mid(static_cast<qsizetype>(6 * i), 6);
        const std::string hex =
            "0x" + std::string(record[i] < 0x10 ? "0" : "") + Hex(record[i]) + "\r\n";
        FUZZ_CHECK(line == QByteArray::fromStdString(hex));
    }
    const PresetLoad load = ParsePresetText(text);
    const bool hasSignature = record[0] == 0x01 && record[5] == 0x14;
    FUZZ_CHECK(load.ok() == hasSignature);
    if (!hasSignature)
        return;
    record[4] = 74;
    FUZZ_CHECK(load.record == record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckPresetText(text);
    CheckInteger(text.substr(0, text.find_first_of("\r\n")));
    if (size >= static_cast<std::size_t>(kEqBlockSize))
        CheckRecordText(data);
    return 0;
}
