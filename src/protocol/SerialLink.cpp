#include "protocol/SerialLink.h"

#include "platform/TComPort.h"

namespace qireq {

void SerialLink::SetAddress(const QString& address)
{
    port_.SetPort(address);
}

QString SerialLink::GetAddress() const
{
    return port_.Port();
}

void SerialLink::Open()
{
    if (!port_.Connected())
        port_.Open();
}

void SerialLink::Close()
{
    if (port_.Connected())
        port_.Close();
}

int SerialLink::Write(const char* data, int size)
{
    int written = -1;
    try {
        written = port_.Write(data, size);
    } catch (const EComPort&) {
        return -1;
    }
    if (written < 0)
        return -1;
    pause_(kWritePauseMs);
    return written;
}

int SerialLink::Read(char* buffer, int capacity)
{
    try {
        const int taken = port_.Read(buffer, capacity);
        return taken > 0 ? taken : 0;
    } catch (const EComPort&) {
        return 0;
    }
}

bool SerialLink::IsOpen() const
{
    return port_.Connected();
}

}  // namespace qireq
