#pragma once
// The band editor's display fields (frequency, Q, trim): text put in by the
// program, never read back.
#include <QString>

class QLineEdit;

namespace qireq {

// Shows text in the field, whole: "20160.0" is wider than a 49-pixel field
// in some fonts, and a scrolled "0160.0" would read as another value, so
// the field's font is condensed as far as the text needs, from its start.
void ShowFieldText(QLineEdit& field, const QString& text);

}  // namespace qireq
