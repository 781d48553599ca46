#include "platform/PlatformErrors.h"

namespace qireq {

int SerialErrorNumber(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError: return 0;
    // On Linux the lock file, EBUSY, EACCES and EPERM all end up here: the
    // port is held by someone else or may not be opened by this user.
    case QSerialPort::PermissionError: return kErrorAccessDenied;
    case QSerialPort::DeviceNotFoundError: return kErrorFileNotFound;
    case QSerialPort::OpenError: return 170;              // ERROR_BUSY
    case QSerialPort::NotOpenError: return 6;             // ERROR_INVALID_HANDLE
    case QSerialPort::WriteError: return 29;              // ERROR_WRITE_FAULT
    case QSerialPort::ReadError: return 30;               // ERROR_READ_FAULT
    case QSerialPort::ResourceError: return 1167;         // ERROR_DEVICE_NOT_CONNECTED
    case QSerialPort::UnsupportedOperationError: return 50;  // ERROR_NOT_SUPPORTED
    case QSerialPort::TimeoutError: return 1460;          // ERROR_TIMEOUT
    case QSerialPort::UnknownError: break;
    }
    return 31;  // ERROR_GEN_FAILURE
}

int SocketErrorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return kErrorConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError: return 10054;       // WSAECONNRESET
    case QAbstractSocket::HostNotFoundError: return kErrorHostNotFound;
    case QAbstractSocket::SocketAccessError: return 10013;           // WSAEACCES
    case QAbstractSocket::SocketResourceError: return 10055;         // WSAENOBUFS
    case QAbstractSocket::SocketTimeoutError: return kErrorTimedOut;
    case QAbstractSocket::DatagramTooLargeError: return 10040;       // WSAEMSGSIZE
    case QAbstractSocket::NetworkError: return kErrorNetworkUnreachable;
    case QAbstractSocket::AddressInUseError: return 10048;           // WSAEADDRINUSE
    case QAbstractSocket::SocketAddressNotAvailableError: return 10049;  // WSAEADDRNOTAVAIL
    case QAbstractSocket::UnsupportedSocketOperationError: return 10045; // WSAEOPNOTSUPP
    case QAbstractSocket::UnfinishedSocketOperationError: return 10036;  // WSAEINPROGRESS
    case QAbstractSocket::TemporaryError: return 10035;              // WSAEWOULDBLOCK
    default: break;
    }
    return 10022;  // WSAEINVAL: proxy, TLS and unknown errors have no closer match
}

}  // namespace qireq
