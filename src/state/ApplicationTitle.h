#pragma once
// The application's title: the main window's caption, the start of the
// caption after a preset is opened or saved, and the source of the version
// the About box and qireq-ctl --version show.
#include <QString>

namespace qireq {

inline constexpr char kApplicationTitle[] = "QIR-EQ_V4.7";

inline QString ApplicationTitle() { return QString::fromLatin1(kApplicationTitle); }

// The release: the title's last three characters ("QIR-EQ_V4.7" reads 4.7).
inline QString ApplicationVersion() { return ApplicationTitle().right(3); }

}  // namespace qireq
