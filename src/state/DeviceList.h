#pragma once
// The units the program knows of: per unit its key (serial port name or
// IPv4 text), its DeviceEntry and its LAN silence counter, index i meaning
// the same unit everywhere. The tiles are the device column's; the tile of
// unit i is tile i.
//
// Safe to use from any thread: the GUI thread, the LAN discovery threads and
// the serial prober share one list. One mutex covers the whole group and
// every public method takes it, so an add, a counter reset and a removal
// never see each other half done. Nothing returns a reference into the
// list: readers get copies. Removal and renaming are the GUI thread's.
#include "state/DeviceEntry.h"
#include "state/ProcessFlags.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <mutex>
#include <optional>

namespace qireq {

class DeviceList {
public:
    // A LAN unit whose counter reaches this many presence-watch ticks
    // without being heard is marked missing.
    static constexpr int kSilentTicks = 20;

    // Called by AddFoundUnit after a unit was added, on the thread that
    // added it and outside the lock. The owner starts CloseTimer (for a
    // serial unit) and DeviceTimer from it, on the GUI thread.
    using UnitAddedHandler = std::function<void(const DeviceEntry& added)>;

    DeviceList() = default;
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    // The process-wide flags, shared by every thread that uses the list.
    ProcessFlags& Flags() { return flags_; }
    const ProcessFlags& Flags() const { return flags_; }

    // Set once, before any other thread uses the list.
    void SetUnitAddedHandler(UnitAddedHandler handler);

    // Any thread. Adds a unit found by discovery or by a probe answer and
    // raises AddPending; the result says whether it was added. Dropped
    // while AddPending is raised (the unit's next answer offers it again),
    // and refused for an address already listed or an empty one, so two
    // threads that heard the same unit cannot list it twice.
    bool AddFoundUnit(const QString& address, const QString& mac, int kind);

    // GUI thread. Adds a LAN unit typed in by the user, without AddPending:
    // the caller builds its tile at once. Absent when the address is
    // already listed (or empty).
    std::optional<DeviceEntry> AddUnitByHand(const QString& address);

    // Any thread: snapshots and look-ups. Keys compare without regard to
    // letter case (COM3 and com3 are one unit).
    int Count() const;
    bool IsEmpty() const;
    QStringList DeviceKeys() const;
    QVector<DeviceEntry> Devices() const;
    QVector<int> SilenceCounters() const;
    bool Contains(const QString& key) const;
    int IndexOf(const QString& key) const;  // -1 when not listed
    std::optional<DeviceEntry> EntryAt(int index) const;

    // The unit whose tile is still to be built: the index of the last
    // AddFoundUnit, moved along by removals; -1 once that unit is gone.
    int NewestIndex() const;
    std::optional<DeviceEntry> NewestEntry() const;

    // Any thread: the unit was heard on the LAN. False when not listed.
    bool ResetSilenceCounter(const QString& key);

    // GUI thread. Removes the unit at index and renumbers the others'
    // Index (names stay); returns the removed entry, absent for an index
    // that is not there.
    std::optional<DeviceEntry> Remove(int index);

    // GUI thread. False for an index that is not there.
    bool SetName(int index, const QString& name);
    bool SetMac(int index, const QString& mac);

    // The presence watch's step: one tick more on every counter, then the
    // first LAN unit in list order at kSilentTicks or more gets its counter
    // reset and is returned (one unit per tick).
    std::optional<int> TickSilenceCounters();

    // The first serial unit, in list order, whose port is not among ports
    // (compared without regard to case): the unit a USB removal concerns.
    std::optional<int> FirstSerialUnitMissingFrom(const QStringList& ports) const;

private:
    struct Unit {
        DeviceEntry Entry;
        int Silence = 0;
    };

    int FindLocked(const QString& key) const;
    bool ValidLocked(int index) const;
    DeviceEntry AppendLocked(const QString& address, const QString& mac, int kind);

    mutable std::mutex mutex_;
    QVector<Unit> units_;
    int newestIndex_ = -1;
    ProcessFlags flags_;
    UnitAddedHandler onAdded_;
};

}  // namespace qireq
