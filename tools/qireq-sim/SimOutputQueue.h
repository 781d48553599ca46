#pragma once
// Outgoing bytes of one connection, written in order with the delays and
// pauses the fault switches ask for. Lives on the thread of its connection.
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

namespace qireq::sim {

class SimOutputQueue : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray&)>;

    struct Item {
        QByteArray bytes;            // may be empty: an action only
        qint64 notBeforeMs = 0;      // on the queue's clock (NowMs)
        int gapMs = 0;               // least time after the previous item's write
        std::function<void()> onSend;  // runs just before the bytes are written
    };

    explicit SimOutputQueue(Writer write, QObject* parent = nullptr);

    void Push(Item item);
    qint64 NowMs() const { return clock_.elapsed(); }
    bool IsEmpty() const { return items_.empty(); }
    // Forgets everything not yet written.
    void Clear();

private:
    void Pump();

    Writer write_;
    QElapsedTimer clock_;
    QTimer timer_;
    std::deque<Item> items_;
    qint64 lastWriteMs_ = 0;
    bool written_ = false;
};

}  // namespace qireq::sim
