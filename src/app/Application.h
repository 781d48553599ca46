#pragma once
// The application object. An exception that escapes an event handler ends
// the command that raised it and is reported in the error box, instead of
// unwinding through Qt's event loop (which does not allow it).
#include <QApplication>

#include <functional>

namespace qireq {

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs one delivery; an exception it throws is shown in the error box
    // and the delivery counts as not handled.
    static bool DeliverGuarded(const std::function<bool()>& deliver);
};

}  // namespace qireq
