#pragma once
// Every message box of the program goes through here: the Yes/No
// confirmation, information, plain messages, warnings and the error box of
// the event loop. Each is a QMessageBox with explicit buttons and English
// labels ("&Yes", "&No", "&OK") whatever the system language.
//
// In test mode the boxes are built exactly as they would be shown, then
// recorded instead of shown, and a confirmation returns a preset answer, so
// tests can observe them without a modal loop.
// GUI thread only.
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

class QMessageBox;
class QWidget;

namespace qireq {

class MessageBoxes {
public:
    enum class Kind {
        Confirmation,  // AskYesNo: caption "QIR-EQ", buttons "&Yes" and "&No"
        Information,   // the "More Info" box: one "&OK" button
        Message,       // a plain message such as "Invalid file": one "&OK" button
        Warning,
        Error,         // an error that ended a command
        Notice,        // a hint the user can act on later: one "&OK" button, not modal
    };
    enum class Answer { Yes, No, Ok };

    struct Record {
        Kind kind;
        QString caption;
        QString text;
        QStringList buttons;  // button labels in the order shown
    };

    static Answer AskYesNo(QWidget* owner, const QString& text);
    static void Information(QWidget* owner, const QString& text);
    static void Message(QWidget* owner, const QString& text);
    static void Warning(QWidget* owner, const QString& text);
    static void Error(QWidget* owner, const QString& text);
    // Shown beside the window, which goes on working; it closes with its
    // button and deletes itself.
    static void Notice(QWidget* owner, const QString& text);

    // The box a call of that kind shows, built but not shown.
    static std::unique_ptr<QMessageBox> Build(Kind kind, QWidget* owner, const QString& text);

    // While one of these lives, boxes are recorded instead of shown. Guards
    // nest; the innermost one records.
    class TestMode {
    public:
        explicit TestMode(Answer answer = Answer::Yes);
        ~TestMode();
        TestMode(const TestMode&) = delete;
        TestMode& operator=(const TestMode&) = delete;

        void SetAnswer(Answer answer) { answer_ = answer; }
        const QVector<Record>& Boxes() const { return boxes_; }
        void Clear() { boxes_.clear(); }

    private:
        friend class MessageBoxes;
        Answer answer_;
        QVector<Record> boxes_;
        TestMode* previous_;
    };

private:
    static Answer Show(Kind kind, QWidget* owner, const QString& text);
    static TestMode* active_;
};

}  // namespace qireq
