#pragma once
// The one way a unit is written to: send the frame, check the unit's
// echo, read the block back and check it too. Units have been seen to
// acknowledge a write without applying it, so an echo alone proves nothing.
#include "fleet/UnitResult.h"

#include "eq/EqBlock.h"
#include "protocol/Frames.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace qireq::fleet {

class UnitSession;

// After a block write the window holds still for 512 ms while it shows the
// unit's answer (ApplyEqBlock), so its next frame leaves no sooner; the
// read-back keeps that pace.
inline constexpr int kBlockSettleMs = 512;

// Names the first field that differs from what was sent; absent when none does.
using EchoCheck = std::function<std::optional<QString>(const QByteArray& answer)>;
using ReadBackCheck = std::function<std::optional<QString>(const EqBlock& block)>;

// Sends `frame` (named `what` in messages) and waits for the `answer` code;
// checks the answer, waits `settleMs`, reads the block back and checks it.
// The block read back, or absent with r.Error set.
std::optional<EqBlock> WriteVerified(UnitSession& s, const QByteArray& frame, Command answer, const QString& what,
                                     const EchoCheck& echo, const ReadBackCheck& readBack, UnitResult& r,
                                     int settleMs = 0);

// A whole EQ block (eq reset, preset push, import): WriteEqBlock, its
// answer, the window's pause, the read-back.
std::optional<EqBlock> WriteBlockVerified(UnitSession& s, const EqBlock& block, UnitResult& r);

}  // namespace qireq::fleet
