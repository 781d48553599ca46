#pragma once
// Numbers as filter texts write them, whatever the writer's locale: an
// optional sign, digits with "." or "," as the decimal mark, and in
// frequencies thousands separators. Never depends on the reader's locale.
#include <QStringView>

#include <optional>

namespace qireq {

// A gain, Q, slope or preamp value: "-4.30", "+3", "-4,7", "0,4", "1e-1".
// One "," or "." is the decimal mark; with both, the last one is.
std::optional<double> ParseFilterNumber(QStringView text);

// A frequency: as ParseFilterNumber, but a lone "," or "." followed by
// exactly three digits, four characters from the end of a number of at
// least five, is a thousands separator ("1,549" and "1.549" are 1549 Hz, as
// REW writes them and Equalizer APO reads them), and so is a separator that
// occurs more than once ("1,234,567"). Non-breaking spaces between digits
// are thousands separators too.
std::optional<double> ParseFrequency(QStringView text);

}  // namespace qireq
