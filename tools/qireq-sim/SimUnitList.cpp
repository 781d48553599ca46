#include "SimUnitList.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace qireq::sim {
namespace {

// One to three decimal digits, 0..255.
std::optional<quint32> Octet(const QString& text)
{
    if (text.isEmpty() || text.size() > 3
        || !std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const uint value = text.toUInt();
    if (value > 255)
        return std::nullopt;
    return value;
}

// Exactly four octets: the short forms inet_aton takes ("10.1") are typing
// slips in a unit list.
std::optional<quint32> DottedQuad(const QString& text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString& part : parts) {
        const auto octet = Octet(part);
        if (!octet)
            return std::nullopt;
        address = (address << 8) | *octet;
    }
    return address;
}

// A unit listens and answers on its address, so it must be one a single
// host can hold: not in 0.0.0.0/8, not multicast, not reserved or broadcast.
bool IsHostAddress(quint32 address)
{
    const quint32 first = address >> 24;
    return first >= 1 && first <= 223;
}

QString Text(quint32 address)
{
    return QHostAddress(address).toString();
}

// Appends the addresses of one item; returns an error text.
QString AddItem(const QString& item, std::vector<quint32>& addresses)
{
    const qsizetype dash = item.indexOf(u'-');
    const auto first = DottedQuad(dash < 0 ? item : item.left(dash));
    std::optional<quint32> last = first;
    if (first && dash >= 0) {
        const QString lastText = item.mid(dash + 1);
        if (lastText.contains(u'.')) {
            last = DottedQuad(lastText);
        } else if (const auto octet = Octet(lastText)) {
            last = (*first & 0xFFFFFF00u) | *octet;
        } else {
            last.reset();
        }
    }
    if (!first || !last)
        return QStringLiteral("--units wants addresses and ranges FIRST-LAST, not \"%1\"").arg(item);
    if (*last < *first)
        return QStringLiteral("--units: the range \"%1\" runs backwards").arg(item);
    // The ends decide: every address between two host addresses is one too.
    for (const quint32 end : {*first, *last}) {
        if (!IsHostAddress(end))
            return QStringLiteral("--units: %1 is not a single host's address").arg(Text(end));
    }
    // Counted before expanding, so a slip such as 10.0.0.1-10.255.0.1 costs nothing.
    if (quint64{*last} - *first + 1 + addresses.size() > quint64{kMaxUnits})
        return QStringLiteral("--units names more than %1 units").arg(kMaxUnits);
    for (quint32 address = *first;; ++address) {
        addresses.push_back(address);
        if (address == *last)
            break;
    }
    return {};
}

}  // namespace

QString ParseUnitList(const QString& text, std::vector<QHostAddress>& addresses)
{
    std::vector<quint32> numbers;
    for (const QString& item : text.split(u',')) {
        if (const QString error = AddItem(item.trimmed(), numbers); !error.isEmpty())
            return error;
    }
    std::vector<quint32> sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    if (const auto twice = std::adjacent_find(sorted.begin(), sorted.end()); twice != sorted.end())
        return QStringLiteral("--units names %1 twice").arg(Text(*twice));
    addresses.clear();
    for (const quint32 number : numbers)
        addresses.emplace_back(number);
    return {};
}

SimUnitState NumberedUnit(const SimUnitState& base, const QString& name, int number)
{
    SimUnitState unit = base;
    unit.name = MakeNameField((name + u'-' + QString::number(number)).left(kNameFieldSize));
    quint64 mac = 0;
    for (const std::uint8_t byte : base.mac)
        mac = (mac << 8) | byte;
    mac = (mac + static_cast<quint64>(number - 1)) & 0xFFFF'FFFF'FFFFu;
    for (auto byte = unit.mac.rbegin(); byte != unit.mac.rend(); ++byte, mac >>= 8)
        *byte = static_cast<std::uint8_t>(mac & 0xFFu);
    return unit;
}

}  // namespace qireq::sim
