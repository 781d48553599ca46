#include "state/MacText.h"

#include <QStringList>

namespace qireq {

namespace {

constexpr int kMacTextLength = 12;
constexpr int kSeparatedLength = 17;  // six pairs and five separators

int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

}  // namespace

QString MacToText(const MacBytes& mac)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(kMacTextLength);
    for (const std::uint8_t byte : mac) {
        text.append(QChar(kDigits[byte >> 4]));
        text.append(QChar(kDigits[byte & 0x0F]));
    }
    return text;
}

std::optional<MacBytes> TextToMac(const QString& text)
{
    if (text.size() != kMacTextLength)
        return std::nullopt;
    MacBytes mac{};
    for (std::size_t i = 0; i < mac.size(); ++i) {
        const int high = HexValue(text[static_cast<qsizetype>(2 * i)]);
        const int low = HexValue(text[static_cast<qsizetype>(2 * i + 1)]);
        if (high < 0 || low < 0)
            return std::nullopt;
        mac[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return mac;
}

QString FormatMac(const QString& text, const QString& separator)
{
    QStringList pairs;
    for (qsizetype i = 0; i < text.size(); i += 2)
        pairs.append(text.mid(i, 2));
    return pairs.join(separator);
}

QString MacWithColons(const MacBytes& mac)
{
    return FormatMac(MacToText(mac), QStringLiteral(":"));
}

std::optional<MacBytes> ParseMacAddress(const QString& text)
{
    if (text.size() != kSeparatedLength)
        return TextToMac(text);
    const QChar separator = text.at(2);
    if (separator != u':' && separator != u'-')
        return std::nullopt;
    QString digits;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i % 3 != 2)
            digits.append(text.at(i));
        else if (text.at(i) != separator)
            return std::nullopt;
    }
    return TextToMac(digits);
}

}  // namespace qireq
