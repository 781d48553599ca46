// On Windows a port refused to this user is one held by another program.
#include "platform/SerialPortAccess.h"

namespace qireq {

std::optional<QString> SerialPortGroupNeeded(const QString&)
{
    return std::nullopt;
}

}  // namespace qireq
