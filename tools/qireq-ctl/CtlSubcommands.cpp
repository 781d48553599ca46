#include "CtlSubcommands.h"

#include "UnitCommands.h"

namespace qireq::ctl {

namespace {

QStringList Words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

std::vector<Subcommand> MakeTable()
{
    // name, arguments, value options, flags, usage, help, JSON unit fields, reach, prepare (run, render)
    return {
        {"discover", 0, Words("seconds"), {}, "discover [--seconds N]",
         "LAN probe, module search and SSDP for N seconds\n(default 3) and a Ping on every serial port, then\n"
         "Identify on each unit: address, kind, MAC, name,\ncapability",
         Words("address kind mac capability"), Reach::Discovery, {}},
        {"info", 0, {}, {}, "info", "name, link, capability and MAC", Words("link capability reports_status mac"),
         Reach::Units, Steps(NothingToPrepare, RunInfo, RenderInfo)},
        {"status", 0, {}, {}, "status", "temperature and the four states (capability 17+)",
         Words("temperature_c temperature_text raw_temperature protected temperature_alarm voltage_alarm standby"),
         Reach::Units, Steps(NothingToPrepare, RunStatus, RenderStatus)},
        {"usage", 0, {}, {}, "usage", "burn count and operating time (capability 17+)",
         Words("burn_count minutes text"), Reach::Units, Steps(NothingToPrepare, RunUsage, RenderUsage)},
        {"eq show", 0, {}, {}, "eq show", "trim, bypass and the five bands", Words("eq"), Reach::Units,
         Steps(NothingToPrepare, RunEqShow, RenderEqShow)},
        {"eq set", 1, Words("type freq q gain"), Words("on off"),
         "eq set BAND [--type peak|low-shelf|high-shelf] [--freq HZ] [--q Q] [--gain DB] [--on|--off]",
         "changes one band (1..5); values are snapped to the\nunit's steps and the snapped values are printed;\n"
         "a value outside the unit's range is an error",
         Words("band"), Reach::Units, Steps(PrepareEqSet, RunEqSet, RenderEqSet)},
        {"eq trim", 1, {}, {}, "eq trim DB", "trim, 0 to -18 dB", Words("trim_db"), Reach::Units,
         Steps(PrepareEqTrim, RunEqTrim, RenderEqTrim)},
        {"eq bypass", 1, {}, {}, "eq bypass on|off", "the bypass switch", Words("bypass"), Reach::Units,
         Steps(PrepareEqBypass, RunEqBypass, RenderEqBypass)},
        {"eq reset", 0, {}, {}, "eq reset", "the built-in setting", Words("eq"), Reach::Units,
         Steps(PrepareEqReset, RunBlockWrite, RenderBlockWrite)},
        {"preset pull", 1, {}, {}, "preset pull FILE",
         "saves the unit's EQ as a .bin preset, as the\nwindow's Save As does (one unit)", Words("file eq"),
         Reach::OneUnit, Steps(PreparePresetPull, RunPresetPull, RenderPresetPull)},
        {"preset push", 1, {}, {}, "preset push FILE", "sends a .bin preset, as the window's Open does",
         Words("eq"), Reach::Units, Steps(PreparePresetPush, RunBlockWrite, RenderBlockWrite)},
        {"rename", 1, {}, {}, "rename NAME", "the unit's name (at most 12 ISO 8859-1 characters)", Words("previous"),
         Reach::Units, Steps(PrepareRename, RunRename, RenderRename)},
        {"import", 1, Words("out to"), {}, "import FILE -o PRESET.bin [--to UNIT]...",
         "filter text (Equalizer APO, AutoEq, REW) to a\npreset, with a report of the fit; pushed to the\n"
         "units given with --to (or any of the UNITS options)",
         Words("eq"), Reach::UnitsOptional, Steps(PrepareImport, RunBlockWrite, RenderBlockWrite)},
        {"snapshot save", 1, {}, {}, "snapshot save FILE",
         "reads every unit's EQ block, name and MAC into a\nvenue snapshot (JSON)", Words("mac"), Reach::Units,
         PrepareSnapshotSave},
        {"snapshot diff", 1, {}, {}, "snapshot diff FILE",
         "what each unit holds otherwise than the snapshot\n(matched by MAC, by address where it is unknown)",
         Words("match matched_by differences written"), Reach::Units, PrepareSnapshotDiff},
        {"snapshot restore", 1, {}, {}, "snapshot restore FILE",
         "writes the units that differ from the snapshot,\neach read back; names the snapshot's units not found",
         Words("match matched_by differences written"), Reach::Units, PrepareSnapshotRestore},
        {"export", 1, {}, {}, "export PRESET.bin", "a preset as Equalizer APO text", {}, Reach::NoUnits,
         PrepareExport},
    };
}

}  // namespace

const std::vector<Subcommand>& Subcommands()
{
    static const std::vector<Subcommand> table = MakeTable();
    return table;
}

const Subcommand* FindSubcommand(const QString& name)
{
    for (const Subcommand& s : Subcommands()) {
        if (s.Name == name)
            return &s;
    }
    return nullptr;
}

QStringList UnitFieldKeys(const QString& command)
{
    const Subcommand* s = FindSubcommand(command);
    return s ? s->Fields : QStringList();
}

}  // namespace qireq::ctl
