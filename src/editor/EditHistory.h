#pragma once
// Undo and redo of the changes made to the EQ in the window. Each change is
// one step on a QUndoStack, named for what it changed ("Band 3 Gain"); a
// change that lasts (a drag, a held trim button, a slider pulled) is begun
// when the hand goes down and ended when it comes up, however many writes it
// sent. What the unit reports by itself is never a step.
//
// Undo and redo bring the whole EQ back to the step's other side. Connected,
// the writes that differ go out through the one request sender one at a
// time, each after the unit answered the one before (the controls follow the
// echoes as for a hand edit); not connected, the editor shows the EQ at once.
//
// GUI thread only.
#include "history/EqSnapshot.h"
#include "history/RestoreQueue.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUndoStack>

#include <optional>

namespace qireq {

class BandEditor;
class RequestSender;
struct MainState;

// A step's name for a change of one band: "Band 3 Gain".
QString BandStepText(int bandNumber, const QString& what);

class EditHistory : public QObject {
    Q_OBJECT
public:
    EditHistory(MainState& state, RequestSender& requests, BandEditor& editor,
                QObject* parent = nullptr);
    ~EditHistory() override;

    QUndoStack& Stack() { return stack_; }
    // The EQ as the editor holds it now, with the block it last applied.
    EqSnapshot Current() const;

    // A change made by hand: Begin before it touches the EQ, End after. A
    // Begin while a step is open is part of that step. A step that changed
    // nothing is not kept.
    void Begin(const QString& text);
    void End();
    // For a connected change the editor shows only when the unit echoes it
    // (bypass, reset): the EQ the change asked for.
    void End(const EqSnapshot& expected);
    bool StepOpen() const { return before_.has_value(); }
    // A whole change at once (Open, an import, a compare switch).
    void Record(const QString& text, const EqSnapshot& before, const EqSnapshot& after);

    // Brings the EQ to target: connected through the queue, otherwise shown.
    void Restore(const EqSnapshot& target);
    // The steps and the waiting writes go: another unit is connected.
    void Clear();

    const RestoreQueue& Queue() const { return queue_; }

public slots:
    // An echo or block reply reached the editor: the next write may go.
    void Pump();

private:
    void DropWaitingWrites();
    void Send(const RestoreWrite& write);
    void Show(const EqSnapshot& target);

    MainState& state_;
    RequestSender& requests_;
    BandEditor& editor_;
    QUndoStack stack_;
    RestoreQueue queue_;
    QTimer waitEnds_;  // the next write goes when the unit stays silent
    std::optional<EqSnapshot> before_;
    QString text_;
};

}  // namespace qireq
