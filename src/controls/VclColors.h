#pragma once
// The named colours the controls and the windows use, with the values of
// the classic 16-colour Windows palette and the default system scheme.
#include <QColor>

namespace qireq {

inline const QColor clBlack{0, 0, 0};
inline const QColor clWhite{255, 255, 255};
inline const QColor clBlue{0, 0, 255};
inline const QColor clLime{0, 255, 0};
inline const QColor clGreen{0, 128, 0};
inline const QColor clSkyBlue{166, 202, 240};
// System colours of the default scheme.
inline const QColor clBtnHighlight{255, 255, 255};
inline const QColor clBtnFace{240, 240, 240};
inline const QColor clBtnShadow{160, 160, 160};

}  // namespace qireq
