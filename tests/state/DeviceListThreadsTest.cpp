// Several discovery threads adding units and resetting counters while the
// GUI thread builds tiles, removes units and runs the presence watch. Meant
// to run under ThreadSanitizer as well as on its own.
#include "state/DeviceList.h"

#include <gtest/gtest.h>

#include <QSet>

#include <atomic>
#include <thread>
#include <vector>

namespace qireq {
namespace {

constexpr int kAdderThreads = 4;
constexpr int kUnitsPerThread = 40;

QString AddressOf(int thread, int unit)
{
    // Serial and LAN keys mixed; serial keys in a case the GUI thread will
    // look up differently.
    if (unit % 3 == 0)
        return QString("com%1").arg(thread * 100 + unit);
    return QString("10.0.%1.%2").arg(thread).arg(unit);
}

// The list as one snapshot: positions, indexes and keys agree, no key twice.
void ExpectConsistent(const DeviceList& list)
{
    const QVector<DeviceEntry> devices = list.Devices();
    QSet<QString> keys;
    for (int i = 0; i < devices.size(); ++i) {
        ASSERT_EQ(devices[i].Index, i);
        ASSERT_EQ(devices[i].Name.left(6), "Device");
        ASSERT_FALSE(keys.contains(devices[i].Address.toUpper())) << devices[i].Address.toStdString();
        keys.insert(devices[i].Address.toUpper());
    }
}

TEST(DeviceListThreads, ConcurrentAddsResetsAndRemovalsKeepTheListWhole)
{
    DeviceList list;
    std::atomic<int> reported{0};
    list.SetUnitAddedHandler([&](const DeviceEntry& added) {
        ++reported;
        // The handler runs outside the lock: calling back in is allowed.
        (void)list.EntryAt(added.Index);
    });

    std::atomic<int> added{0};
    std::atomic<int> addersDone{0};
    std::vector<std::thread> adders;
    for (int t = 0; t < kAdderThreads; ++t) {
        adders.emplace_back([&, t] {
            for (int u = 0; u < kUnitsPerThread; ++u) {
                const QString address = AddressOf(t, u);
                while (!list.AddFoundUnit(address, kUnknownMac, u % 3 == 0 ? kSerialUnit : kProbeUnit)) {
                    // Meanwhile hear the units already listed, as the LAN
                    // listeners do.
                    const QStringList keys = list.DeviceKeys();
                    if (!keys.isEmpty())
                        list.ResetSilenceCounter(keys[u % keys.size()]);
                    std::this_thread::yield();
                }
                ++added;
                // Heard again right after being listed.
                list.ResetSilenceCounter(address);
            }
            ++addersDone;
        });
    }

    // The GUI thread: build the pending tile, now and then remove a unit,
    // run the presence watch, and look units up.
    int removed = 0;
    int round = 0;
    while (addersDone.load() < kAdderThreads) {
        ++round;
        if (list.Flags().AddPending.load())
            list.Flags().AddPending.store(false);
        if (round % 7 == 0) {
            const int count = list.Count();
            if (count > 0 && list.Remove(round % count).has_value())
                ++removed;
        }
        if (round % 5 == 0)
            list.TickSilenceCounters();
        if (round % 11 == 0) {
            (void)list.IndexOf("COM0");
            (void)list.FirstSerialUnitMissingFrom({});
        }
        if (round % 13 == 0)
            ExpectConsistent(list);
        std::this_thread::yield();
    }
    for (std::thread& adder : adders)
        adder.join();

    EXPECT_EQ(added.load(), kAdderThreads * kUnitsPerThread);
    EXPECT_EQ(reported.load(), added.load());
    EXPECT_EQ(list.Count(), added.load() - removed);
    EXPECT_EQ(list.SilenceCounters().size(), list.Count());
    ExpectConsistent(list);
}

}  // namespace
}  // namespace qireq
