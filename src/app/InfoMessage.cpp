#include "app/InfoMessage.h"

#include <QCoreApplication>

namespace qireq {

void PostInfoMessage(QObject* window, int burnCount, int totalMinutes)
{
    QCoreApplication::postEvent(window, new InfoMessageEvent(burnCount, totalMinutes));
}

}  // namespace qireq
