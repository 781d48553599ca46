#pragma once
// The units one simulator process plays at once: their addresses, read from
// a list such as "10.77.1.1-250,10.77.2.7", and what sets them apart (a
// numbered name and a MAC of their own).
#include "SimUnit.h"

#include <QHostAddress>
#include <QString>

#include <vector>

namespace qireq::sim {

inline constexpr int kMaxUnits = 1024;

// Comma-separated items, each an IPv4 address or a range FIRST-LAST whose
// LAST is a whole address or only its last number (10.77.1.1-250). Every
// address must be a single host's (no 0.0.0.0, multicast or broadcast),
// appear once, and there may be no more than kMaxUnits of them. Fills
// `addresses` in the order listed and returns an error text, empty on
// success.
QString ParseUnitList(const QString& text, std::vector<QHostAddress>& addresses);

// The unit numbered `number` (from 1) of a set: `base` with the name
// "<name>-<number>" cut to the name field and the MAC `base.mac` +
// (number - 1), counted as one 48-bit number.
SimUnitState NumberedUnit(const SimUnitState& base, const QString& name, int number);

}  // namespace qireq::sim
