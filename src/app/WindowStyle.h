#pragma once
// The look of the main window: a dark blue-grey control panel with light
// captions, given as one style sheet and a matching palette so that widgets
// the sheet does not name still fit in.
#include <QPalette>
#include <QString>

namespace qireq {

QString MainWindowStyleSheet();
QPalette MainWindowPalette();

}  // namespace qireq
