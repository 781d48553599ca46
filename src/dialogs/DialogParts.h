#pragma once
// What the small input dialogs share: their title bar, their captions, and
// the character a key press types.
#include <QChar>
#include <QString>
#include <Qt>

class QKeyEvent;
class QLabel;
class QWidget;

namespace qireq {

// A dialog whose title bar holds only the close button.
Qt::WindowFlags CloseButtonOnlyFlags();

// A label at x, y, as wide as its text, bold where asked.
QLabel* PlaceLabel(QWidget* parent, const QString& text, int x, int y, bool bold);

// The printable character a key press types; a null QChar for keys that
// type nothing or a control character (Backspace, Enter, Escape, Tab,
// shortcuts), which the dialogs' input rules let through.
QChar TypedPrintable(const QKeyEvent& event);

}  // namespace qireq
