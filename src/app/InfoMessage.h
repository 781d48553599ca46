#pragma once
// InfoMessage: the "More Info" reply carried from the receive path to the
// message loop as a posted event, so that the information box is shown by
// the main window's MyOnMessage after the receive handler has returned,
// never from inside it.
#include <QEvent>

class QObject;

namespace qireq {

class InfoMessageEvent : public QEvent {
public:
    // The window message WM_USER + 100 (1124), as an event number.
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 100);

    InfoMessageEvent(int burnCount, int totalMinutes)
        : QEvent(kType), BurnCount(burnCount), TotalMinutes(totalMinutes)
    {
    }

    const int BurnCount;
    const int TotalMinutes;
};

// Posts an InfoMessage to the window; callable from any thread.
void PostInfoMessage(QObject* window, int burnCount, int totalMinutes);

}  // namespace qireq
