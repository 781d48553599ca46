#include "app/Application.h"

#include "controls/MessageBoxes.h"

#include <exception>

namespace qireq {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverGuarded([&] { return QApplication::notify(receiver, event); });
}

bool TApplication::DeliverGuarded(const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const std::exception& error) {
        MessageBoxes::Error(nullptr, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        MessageBoxes::Error(nullptr, QStringLiteral("Unknown error"));
    }
    return false;
}

}  // namespace qireq
