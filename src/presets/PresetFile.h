#pragma once
// ".bin" preset files: 74 lines of text, line k holding byte k of the preset
// record as "0x" and two upper-case hex digits, each line ended by CR LF.
#include "eq/EqBlock.h"

#include <QString>

namespace qireq {

inline constexpr int kPresetLineCount = kEqBlockSize;
inline constexpr int kPresetFileSize = kPresetLineCount * 6;  // "0xHH\r\n"

// The file's text for a record: always 444 bytes.
QByteArray PresetFileText(const EqBlock& record);

// Writes the record through a temporary file that replaces the old one only
// once it is complete, so a failed or interrupted save leaves an existing
// preset intact. Returns an empty string, or the message to show (which
// names the file with the platform's separators).
QString WritePresetFile(const QString& path, const EqBlock& record);

struct PresetLoad {
    enum class Outcome { Loaded, CannotOpen, NotAnInteger, InvalidFile };
    Outcome outcome = Outcome::Loaded;
    EqBlock record{};  // valid when Loaded
    QString message;   // the text to show when not Loaded
    bool ok() const { return outcome == Outcome::Loaded; }
};

// Reads a preset: each of the first 74 lines is one integer whose low eight
// bits become the byte (lines after the 74th are ignored; missing lines leave
// a fresh load record's bytes). Byte 4 is set to 74 whatever the file holds;
// a file whose bytes 0 and 5 are not 0x01 and 0x14 is refused.
PresetLoad ReadPresetFile(const QString& path);
// The same from text already in memory (CR LF, LF or CR line ends).
PresetLoad ParsePresetText(const QByteArray& text);

}  // namespace qireq
