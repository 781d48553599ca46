#pragma once
// Integer text as preset files have always been read: optional leading
// blanks, an optional sign, then decimal digits, or hexadecimal digits after
// "$", "x", "X", "0x" or "0X". Nothing may follow the digits. The value must
// fit a 32-bit integer (hexadecimal up to FFFFFFFF, which wraps).
#include <QByteArray>

#include <cstdint>
#include <optional>

namespace qireq {

std::optional<std::int32_t> ParseIntegerText(const QByteArray& text);

}  // namespace qireq
