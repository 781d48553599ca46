#pragma once
// What the Units overview shares with the main window, given as calls so
// the window's connection stays the connection's own: the device list, the
// port LAN units listen on, the connected unit (let go for a run and
// connected again after it) and the serial prober's pause.
//
// A run reaches every unit over a session of its own. The window's own
// link is not shared: the host does not pair replies with requests, so the
// run's frames and the window's keep-alive and edits on one line could take
// each other's replies. The window lets its unit go for the run instead and
// connects again after it, showing the connecting dialog as any connect
// does; that connect reads the unit's block, so the editor shows what the
// unit holds after a push.
#include "report/ReportContent.h"

#include <QString>

#include <functional>
#include <optional>

namespace qireq {

class DeviceList;
struct ImportResult;

struct OverviewLinks {
    DeviceList* Devices = nullptr;
    int LanPort = 5000;
    int TimeoutMs = 2000;
    // The address (port or IP) of the unit the window is connected to;
    // empty when none.
    std::function<QString()> ConnectedAddress;
    std::function<void()> LetGoOfTheConnection;
    std::function<void(const QString& address)> Reconnect;
    // True holds the serial prober still (it opens no port) and closes the
    // port it probed last; false lets it go on.
    std::function<void(bool paused)> PauseProber;
};

// What the overview asks of the user beyond Yes/No boxes: files, the
// report of a filter text import, and the report's file and note. A dialog in the program, a script in tests.
class OverviewPrompts {
public:
    enum class File { Preset, FilterText, SnapshotToSave, SnapshotToOpen };
    virtual ~OverviewPrompts() = default;
    // The chosen file, or empty when the user cancelled.
    virtual QString ChooseFile(File kind) = 0;
    // The import's report; true when the user goes on to the push.
    virtual bool AcceptImport(const ImportResult& result, const QString& fileName) = 0;
    // The report's file and note, asked once for all units; nothing when cancelled.
    virtual std::optional<ReportRequest> ChooseReport() = 0;
};

}  // namespace qireq
