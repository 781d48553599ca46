// The text of `qireq-ctl --help`.
#include "CtlCommand.h"

namespace qireq::ctl {

QString HelpText()
{
    return QStringLiteral(R"(Usage: qireq-ctl [UNITS] [OPTIONS] COMMAND [ARGUMENTS]
       qireq-ctl [UNITS] [OPTIONS] -f FILE

Finds QIR-EQ units, reads and sets their EQ, and pushes presets, on many
units at once. Every write is checked: the unit's echo and a read-back of
its EQ block must hold what was sent, or that unit fails.

Units (several of each may be given; every command acts on all of them):
  --serial PORT        a unit on a serial port (/dev/ttyUSB0, COM3)
  --tcp HOST[:PORT]    a unit on the network (port 5000 when not given)
  --unit NAME|ADDRESS  a unit found by discovery, by name, address or MAC
  --all                every unit discovery finds
  --seconds N          how long discovery listens for --unit and --all
                       (default 3; it stops early once every --unit given
                       as an IPv4 address has answered)

Commands:
  discover [--seconds N]   LAN probe, module search and SSDP for N seconds
                           (default 3) and a Ping on every serial port, then
                           Identify on each unit: address, kind, MAC, name,
                           capability
  info                     name, link, capability and MAC
  status                   temperature and the four states (capability 17+)
  usage                    burn count and operating time (capability 17+)
  eq show                  trim, bypass and the five bands
  eq set BAND [--type peak|low-shelf|high-shelf] [--freq HZ] [--q Q]
         [--gain DB] [--on|--off]
                           changes one band (1..5); values are snapped to the
                           unit's steps and the snapped values are printed;
                           a value outside the unit's range is an error
  eq trim DB               trim, 0 to -18 dB
  eq bypass on|off         the bypass switch
  eq reset                 the built-in setting
  preset pull FILE         saves the unit's EQ as a .bin preset, as the
                           window's Save As does (one unit)
  preset push FILE         sends a .bin preset, as the window's Open does
  rename NAME              the unit's name (at most 12 ISO 8859-1 characters)
  import FILE -o PRESET.bin [--to UNIT]...
                           filter text (Equalizer APO, AutoEq, REW) to a
                           preset, with a report of the fit; pushed to the
                           units given with --to (or any of the UNITS options)
  export PRESET.bin        a preset as Equalizer APO text

Options:
  -o, --output FORMAT      text (default), json or jsonl
  -f, --file FILE          one command per line ("-": standard input); '#'
                           starts a comment; UNITS given here hold for lines
                           that name none
  --timeout SECONDS        how long to wait for each answer (default 2)
  -h, --help               this text
  --version                the version

Exit status: 0 when every command succeeded on every unit, 1 when some
unit or command failed, 2 for a command line that could not be read.

Examples:
  qireq-ctl discover
  qireq-ctl --tcp 192.168.1.40 eq set 3 --freq 1000 --gain -3.5 --q 2
  qireq-ctl --all preset push hall.bin
  qireq-ctl --serial /dev/ttyUSB0 -o json status
)");
}

}  // namespace qireq::ctl
