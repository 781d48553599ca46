#include "dialogs/DialogParts.h"

#include <QKeyEvent>
#include <QLabel>

namespace qireq {

Qt::WindowFlags CloseButtonOnlyFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
}

QLabel* PlaceLabel(QWidget* parent, const QString& text, int x, int y, bool bold)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QChar TypedPrintable(const QKeyEvent& event)
{
    // Ctrl and Ctrl+Shift make shortcuts; AltGr (Ctrl+Alt on some systems)
    // still types.
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return {};
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint())
        return {};
    return text.front();
}

}  // namespace qireq
