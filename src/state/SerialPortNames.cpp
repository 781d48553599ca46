#include "state/SerialPortNames.h"

#include <utility>

namespace qireq {

void SerialPortNames::Replace(QStringList names)
{
    std::lock_guard<std::mutex> lock(mutex_);
    names_ = std::move(names);
}

QStringList SerialPortNames::Snapshot() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return names_;
}

bool SerialPortNames::IsEmpty() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return names_.isEmpty();
}

}  // namespace qireq
