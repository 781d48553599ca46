#pragma once
// The subcommands that act on units, each as its three parts for the table
// (CtlSubcommands.cpp): Prepare checks the command's values and files once,
// into the subcommand's own value; Run does the work on one unit, on that
// unit's worker thread; Render prints the outcome. Writes go through
// WriteVerified: the unit's echo and a read-back must hold what was sent.
#include "CtlCommand.h"
#include "CtlSubcommands.h"
#include "CtlFleet.h"

#include "fleet/UnitReads.h"

#include "eq/EqBlock.h"
#include "protocol/ReplyFields.h"
#include "protocol/StatusReply.h"

#include <optional>

namespace qireq::ctl {

inline constexpr int kDefaultTimeoutMs = fleet::kDefaultTimeoutMs;

// Connects to the target, identifies the unit and runs the prepared work.
UnitResult RunOnUnit(const Prepared& prepared, const UnitTarget& target, int timeoutMs);

// info, status, usage, rename (UnitCommands.cpp)
struct UnitInfo {
    IdentityReply Identity;
    bool Serial = false;
    std::optional<MacBytes> Mac;
};
std::optional<UnitInfo> RunInfo(UnitSession& s, const NoValue&, UnitResult& r);
void RenderInfo(const NoValue&, const UnitInfo& info, UnitResult& r);
std::optional<StatusReading> RunStatus(UnitSession& s, const NoValue&, UnitResult& r);
void RenderStatus(const NoValue&, const StatusReading& status, UnitResult& r);
std::optional<InfoReply> RunUsage(UnitSession& s, const NoValue&, UnitResult& r);
void RenderUsage(const NoValue&, const InfoReply& info, UnitResult& r);

struct NewName {
    QString Name;
};
Prepared PrepareRename(const CtlCommand& c, NewName& name);
std::optional<QString> RunRename(UnitSession& s, const NewName& name, UnitResult& r);
void RenderRename(const NewName& name, const QString& previous, UnitResult& r);

// eq show, eq set, eq trim, eq bypass (CtlEqCommands.cpp)
std::optional<EqBlock> RunEqShow(UnitSession& s, const NoValue&, UnitResult& r);
void RenderEqShow(const NoValue&, const EqBlock& block, UnitResult& r);

struct BandChange {
    int Band = 1;
    std::optional<int> Type, Freq, Q, Gain;
    std::optional<bool> Off;
};
struct BandWritten {
    UnitBand Band;
    bool MovedToShelfLine = false;  // a type change took the band to 1000 Hz
};
Prepared PrepareEqSet(const CtlCommand& c, BandChange& change);
std::optional<BandWritten> RunEqSet(UnitSession& s, const BandChange& change, UnitResult& r);
void RenderEqSet(const BandChange&, const BandWritten& written, UnitResult& r);

struct TrimLevel {
    int Db = 0;
};
Prepared PrepareEqTrim(const CtlCommand& c, TrimLevel& trim);
std::optional<int> RunEqTrim(UnitSession& s, const TrimLevel& trim, UnitResult& r);
void RenderEqTrim(const TrimLevel&, const int& db, UnitResult& r);

struct BypassSwitch {
    bool On = false;
};
Prepared PrepareEqBypass(const CtlCommand& c, BypassSwitch& bypass);
std::optional<bool> RunEqBypass(UnitSession& s, const BypassSwitch& bypass, UnitResult& r);
void RenderEqBypass(const BypassSwitch&, const bool& on, UnitResult& r);

// eq reset, preset push, preset pull, import, export (CtlPresetCommands.cpp)
struct BlockToWrite {
    EqBlock Block{};
    QString Done;  // the text line of a unit that took it
};
Prepared PrepareEqReset(const CtlCommand& c, BlockToWrite& write);
Prepared PreparePresetPush(const CtlCommand& c, BlockToWrite& write);
Prepared PrepareImport(const CtlCommand& c, BlockToWrite& write);
std::optional<EqBlock> RunBlockWrite(UnitSession& s, const BlockToWrite& write, UnitResult& r);
void RenderBlockWrite(const BlockToWrite& write, const EqBlock& after, UnitResult& r);

struct PresetTarget {
    QString File;
};
struct PresetSaved {
    QString File;
    EqBlock Record{};
};
Prepared PreparePresetPull(const CtlCommand& c, PresetTarget& target);
std::optional<PresetSaved> RunPresetPull(UnitSession& s, const PresetTarget& target, UnitResult& r);
void RenderPresetPull(const PresetTarget&, const PresetSaved& saved, UnitResult& r);

Prepared PrepareExport(const CtlCommand& c);

// snapshot save, snapshot diff, snapshot restore (CtlSnapshotCommands.cpp)
Prepared PrepareSnapshotSave(const CtlCommand& c);
Prepared PrepareSnapshotDiff(const CtlCommand& c);
Prepared PrepareSnapshotRestore(const CtlCommand& c);

}  // namespace qireq::ctl
