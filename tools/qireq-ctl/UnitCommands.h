#pragma once
// The subcommands that act on units, one unit at a time. Prepare checks the
// command's values and files once, before any unit is touched; RunUnitCommand
// then runs on each unit's own worker thread. Every write is verified: the
// unit's echo and a read-back of its block must hold what was sent.
#include "CtlCommand.h"
#include "UnitResult.h"
#include "UnitTarget.h"

#include "eq/EqBlock.h"

#include <QJsonObject>
#include <QStringList>

#include <optional>

namespace qireq::ctl {

class UnitSession;

// After a block write the window holds still for 512 ms while it shows the
// unit's answer (ApplyEqBlock), so its next frame leaves no sooner; the
// read-back keeps that pace.
inline constexpr int kBlockSettleMs = 512;

inline constexpr int kDefaultTimeoutMs = 2000;

struct PreparedCommand {
    CtlCommand Command;
    QString Name;  // "eq set", ...
    int TimeoutMs = kDefaultTimeoutMs;

    // eq set
    int Band = 1;
    std::optional<int> Type, Freq, Q, Gain;
    std::optional<bool> Off;
    // eq trim, eq bypass
    int Trim = 0;
    bool Bypass = false;
    // eq reset, preset push, import: the block to write
    EqBlock Block{};
    // preset pull
    QString File;
    // rename
    QString NewName;

    // Printed once before the units (text), "snapped" (JSON): the values as
    // the unit will hold them.
    QStringList Notes;
    QJsonObject Snapped;
};

// Empty when the command may go to the units; else the message.
QString Prepare(const CtlCommand& command, PreparedCommand& prepared);

// Commands that act on units (all but discover, import without units, export).
bool IsUnitCommand(const QString& name);

UnitResult RunUnitCommand(const PreparedCommand& prepared, const UnitTarget& target);

// Shared by the eq and preset commands: WriteEqBlock, its answer, the
// window's pause, then a read-back; both must hold the block's fields.
bool WriteBlockVerified(UnitSession& session, const EqBlock& block, UnitResult& result);

// Per subcommand (CtlEqCommands.cpp, CtlPresetCommands.cpp).
bool RunEqShow(UnitSession& s, const PreparedCommand& p, UnitResult& r);
bool RunEqSet(UnitSession& s, const PreparedCommand& p, UnitResult& r);
bool RunEqTrim(UnitSession& s, const PreparedCommand& p, UnitResult& r);
bool RunEqBypass(UnitSession& s, const PreparedCommand& p, UnitResult& r);
bool RunEqReset(UnitSession& s, const PreparedCommand& p, UnitResult& r);
bool RunPresetPull(UnitSession& s, const PreparedCommand& p, UnitResult& r);
bool RunPresetPush(UnitSession& s, const PreparedCommand& p, UnitResult& r);

}  // namespace qireq::ctl
