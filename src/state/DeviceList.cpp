#include "state/DeviceList.h"

namespace qireq {

using Lock = std::lock_guard<std::mutex>;

void DeviceList::SetUnitAddedHandler(UnitAddedHandler handler)
{
    Lock lock(mutex_);
    onAdded_ = std::move(handler);
}

bool DeviceList::AddFoundUnit(const QString& address, const QString& mac, int kind)
{
    DeviceEntry added;
    UnitAddedHandler onAdded;
    {
        Lock lock(mutex_);
        if (flags_.AddPending.load())
            return false;
        if (address.isEmpty() || FindLocked(address) >= 0)
            return false;
        flags_.AddPending.store(true);
        added = AppendLocked(address, mac, kind);
        newestIndex_ = added.Index;
        onAdded = onAdded_;
    }
    if (onAdded)
        onAdded(added);
    return true;
}

std::optional<DeviceEntry> DeviceList::AddUnitByHand(const QString& address)
{
    Lock lock(mutex_);
    if (address.isEmpty() || FindLocked(address) >= 0)
        return std::nullopt;
    return AppendLocked(address, kUnknownMac, kProbeUnit);
}

DeviceEntry DeviceList::AppendLocked(const QString& address, const QString& mac, int kind)
{
    Unit unit;
    unit.Entry.Index = static_cast<int>(units_.size());
    unit.Entry.Name = QStringLiteral("Device") + QString::number(unit.Entry.Index);
    unit.Entry.Address = address;
    unit.Entry.Mac = mac;
    unit.Entry.Kind = kind;
    units_.append(unit);
    return unit.Entry;
}

int DeviceList::Count() const
{
    Lock lock(mutex_);
    return static_cast<int>(units_.size());
}

bool DeviceList::IsEmpty() const
{
    Lock lock(mutex_);
    return units_.isEmpty();
}

QStringList DeviceList::DeviceKeys() const
{
    Lock lock(mutex_);
    QStringList keys;
    keys.reserve(units_.size());
    for (const Unit& unit : units_)
        keys.append(unit.Entry.Address);
    return keys;
}

QVector<DeviceEntry> DeviceList::Devices() const
{
    Lock lock(mutex_);
    QVector<DeviceEntry> entries;
    entries.reserve(units_.size());
    for (const Unit& unit : units_)
        entries.append(unit.Entry);
    return entries;
}

QVector<int> DeviceList::SilenceCounters() const
{
    Lock lock(mutex_);
    QVector<int> counters;
    counters.reserve(units_.size());
    for (const Unit& unit : units_)
        counters.append(unit.Silence);
    return counters;
}

bool DeviceList::Contains(const QString& key) const
{
    Lock lock(mutex_);
    return FindLocked(key) >= 0;
}

int DeviceList::IndexOf(const QString& key) const
{
    Lock lock(mutex_);
    return FindLocked(key);
}

std::optional<DeviceEntry> DeviceList::EntryAt(int index) const
{
    Lock lock(mutex_);
    if (!ValidLocked(index))
        return std::nullopt;
    return units_[index].Entry;
}

int DeviceList::NewestIndex() const
{
    Lock lock(mutex_);
    return newestIndex_;
}

std::optional<DeviceEntry> DeviceList::NewestEntry() const
{
    Lock lock(mutex_);
    if (!ValidLocked(newestIndex_))
        return std::nullopt;
    return units_[newestIndex_].Entry;
}

bool DeviceList::ResetSilenceCounter(const QString& key)
{
    Lock lock(mutex_);
    const int index = FindLocked(key);
    if (index < 0)
        return false;
    units_[index].Silence = 0;
    return true;
}

std::optional<DeviceEntry> DeviceList::Remove(int index)
{
    Lock lock(mutex_);
    if (!ValidLocked(index))
        return std::nullopt;
    const DeviceEntry removed = units_[index].Entry;
    units_.remove(index);
    for (int i = index; i < static_cast<int>(units_.size()); ++i)
        units_[i].Entry.Index = i;
    // The unit still waiting for its tile keeps being the one DeviceTimer
    // builds, wherever the removal moved it.
    if (newestIndex_ == index)
        newestIndex_ = -1;
    else if (newestIndex_ > index)
        --newestIndex_;
    return removed;
}

bool DeviceList::SetName(int index, const QString& name)
{
    Lock lock(mutex_);
    if (!ValidLocked(index))
        return false;
    units_[index].Entry.Name = name;
    return true;
}

bool DeviceList::SetMac(int index, const QString& mac)
{
    Lock lock(mutex_);
    if (!ValidLocked(index))
        return false;
    units_[index].Entry.Mac = mac;
    return true;
}

std::optional<int> DeviceList::TickSilenceCounters()
{
    Lock lock(mutex_);
    for (Unit& unit : units_)
        ++unit.Silence;
    for (Unit& unit : units_) {
        if (!unit.Entry.IsSerial() && unit.Silence >= kSilentTicks) {
            unit.Silence = 0;
            return unit.Entry.Index;
        }
    }
    return std::nullopt;
}

std::optional<int> DeviceList::FirstSerialUnitMissingFrom(const QStringList& ports) const
{
    Lock lock(mutex_);
    for (const Unit& unit : units_) {
        if (unit.Entry.IsSerial() && !ports.contains(unit.Entry.Address, Qt::CaseInsensitive))
            return unit.Entry.Index;
    }
    return std::nullopt;
}

int DeviceList::FindLocked(const QString& key) const
{
    for (int i = 0; i < static_cast<int>(units_.size()); ++i) {
        if (units_[i].Entry.Address.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool DeviceList::ValidLocked(int index) const
{
    return index >= 0 && index < static_cast<int>(units_.size());
}

}  // namespace qireq
