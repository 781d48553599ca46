#pragma once
// The three byte sources of the receive path: the receive event shared by
// both serial ports (ComPort1RxChar) and the TCP client's read event
// (ClientSocket1Read). Each event reads at most kReadChunk bytes into the
// reply dispatcher; what is left stays in the component and is read by a
// follow-up event posted at once, so a burst larger than one chunk is never
// left waiting for the unit's next frame. Socket errors are silenced
// (ClientSocket1Error): a lost unit shows through the connection timers.
//
// GUI thread only.
#include <QObject>

namespace qireq {

class ReplyDispatcher;
class TClientSocket;
class TComPort;
enum class TErrorEvent;

class ReceivePath : public QObject {
    Q_OBJECT
public:
    static constexpr int kReadChunk = 1024;

    explicit ReceivePath(ReplyDispatcher& dispatcher, QObject* parent = nullptr);

    // Reads from the port that raised the event; its bytes are credited to
    // that port's name as it stands now.
    void ComPort1RxChar(TComPort* sender, int count);
    void ClientSocket1Read(TClientSocket* sender);
    static void ClientSocket1Error(TClientSocket* sender, TErrorEvent errorEvent, int& errorCode);

private:
    // Reads one chunk; true when the component may hold more.
    bool ReadSerialChunk(TComPort& port, int wanted);
    bool ReadSocketChunk(TClientSocket& socket);

    ReplyDispatcher& dispatcher_;
};

}  // namespace qireq
