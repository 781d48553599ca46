#pragma once
// The platform error numbers the components report. Qt hides the operating
// system's own numbers behind its error enums, so both components report
// the Windows numbers for those errors on every platform: the program's
// rules ("5 means the port is in use elsewhere") then read the same on
// Linux and on Windows.
#include <QAbstractSocket>
#include <QSerialPort>

namespace qireq {

inline constexpr int kErrorAccessDenied = 5;          // ERROR_ACCESS_DENIED: a port held or refused
inline constexpr int kErrorFileNotFound = 2;          // ERROR_FILE_NOT_FOUND: no such serial port
inline constexpr int kErrorConnectionRefused = 10061; // WSAECONNREFUSED
inline constexpr int kErrorHostNotFound = 11001;      // WSAHOST_NOT_FOUND
inline constexpr int kErrorNetworkUnreachable = 10051; // WSAENETUNREACH
inline constexpr int kErrorTimedOut = 10060;          // WSAETIMEDOUT

int SerialErrorNumber(QSerialPort::SerialPortError error);
int SocketErrorNumber(QAbstractSocket::SocketError error);

}  // namespace qireq
