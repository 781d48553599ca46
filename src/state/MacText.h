#pragma once
// MAC addresses as text. Inside the program a MAC is 12 upper-case
// hexadecimal digits without separators ("001A2B3C4D5E", "FFFFFFFFFFFF"
// while unknown); tiles and qireq-ctl show it with ":" between the byte
// pairs. The one home of MAC text for the window and both tools.
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace qireq {

using MacBytes = std::array<std::uint8_t, 6>;

// Six bytes to 12 upper-case hexadecimal digits, two per byte in order.
QString MacToText(const MacBytes& mac);

// 12 hexadecimal digits (either case) to six bytes, each pair from the left
// one byte. Anything else (wrong length, a non-hex character, separators)
// is refused, so a mistyped address never becomes a half-read one.
std::optional<MacBytes> TextToMac(const QString& text);

// The text's character pairs joined by the separator, first pair first:
// "001A2B3C4D5E" with ":" gives "00:1A:2B:3C:4D:5E". The text is taken as
// it stands (callers upper-case it); an odd last character stands alone.
QString FormatMac(const QString& text, const QString& separator);

// Six bytes as "00:1A:2B:3C:4D:5E".
QString MacWithColons(const MacBytes& mac);

// A MAC as people type it: the 12 digits bare, or six pairs joined by one
// separator, ':' or '-' ("00:1a:2b:3c:4d:5e", "00-1A-2B-3C-4D-5E").
std::optional<MacBytes> ParseMacAddress(const QString& text);

}  // namespace qireq
