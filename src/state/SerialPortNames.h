#pragma once
// SerialPortNames: the serial ports present, in the order the enumeration
// gave them. Replaced as a whole: by the serial prober at its start and by
// the GUI thread after every device arrival or removal. The prober takes a
// copy at the start of each pass, so a replacement never disturbs a pass in
// progress. Any thread.
#include <QStringList>

#include <mutex>

namespace qireq {

class SerialPortNames {
public:
    SerialPortNames() = default;
    SerialPortNames(const SerialPortNames&) = delete;
    SerialPortNames& operator=(const SerialPortNames&) = delete;

    void Replace(QStringList names);
    QStringList Snapshot() const;
    bool IsEmpty() const;

private:
    mutable std::mutex mutex_;
    QStringList names_;
};

}  // namespace qireq
