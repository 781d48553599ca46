#pragma once
// The program's own pictures, drawn with QPainter instead of stored bitmaps:
// the picture lists of the band controls, the top bar's buttons and flags,
// the slider's thumb and channel, the plot background, the logo and the icon.
//
// Every picture is drawn at the device pixel ratio it is asked for (pass the
// widget's devicePixelRatioF()), so it stays sharp at 100 % and 200 % scale;
// its logical size is the size named below whatever the ratio. Lists are
// drawn once per ratio and kept, so asking again is cheap.
// GUI thread only (QPixmap).
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QVector>

namespace qireq {

using PictureList = QVector<QPixmap>;

namespace artwork {

// Logical sizes of the pictures of each list.
inline constexpr QSize kTypeSize{41, 17};          // TypeImageList
inline constexpr QSize kBandSwitchSize{36, 20};    // EQImageList
inline constexpr QSize kTrimButtonSize{17, 17};    // ADImageList
inline constexpr QSize kBypassSize{43, 20};        // BPImageList
inline constexpr QSize kResetSize{41, 17};         // RstImageList
inline constexpr QSize kConnFlagSize{44, 20};      // ConnFlagList
inline constexpr QSize kConnectSize{41, 17};       // ConnectImageList
inline constexpr QSize kSliderThumbSize{15, 9};
inline constexpr QSize kSliderChannelSize{15, 167};
inline constexpr QSize kLogoSize{81, 57};

// Indexes into the lists, as the band controls and the top bar use them.
enum TrimButtonPicture : int { kPlusUp = 0, kPlusPressed = 1, kMinusUp = 2, kMinusPressed = 3 };
enum BypassPicture : int {
    kNotBypassedApplied = 0,  // shown when a block is applied
    kNotBypassedSwitched = 1, // shown when the user switches bypass
    kBypassedApplied = 2,
    kBypassedSwitched = 3,
};
enum ResetPicture : int { kResetUp = 0, kResetPressed = 1 };
enum ConnFlagPicture : int { kFlagConnected = 0, kFlagDisconnected = 1 };
enum ConnectPicture : int { kConnectPressed = 0, kConnectUp = 1 };

}  // namespace artwork

// Single pictures. Out-of-range arguments give a null pixmap.
// typeIndex 0 "High Shelf", 1 "Peak", 2 "Low Shelf".
QPixmap TypePicture(int typeIndex, qreal dpr);
// bandNumber 1..5, on or off.
QPixmap BandSwitchPicture(int bandNumber, bool off, qreal dpr);

// The picture lists, index for index as the band controls count them:
// TypeImageList: 0 "High Shelf", 1 "Peak", 2 "Low Shelf" (index = BandType).
PictureList TypeImageList(qreal dpr);
// EQImageList: 10 pictures, n - 1 band n switched on, n + 4 band n switched off.
PictureList EQImageList(qreal dpr);
// ADImageList: 0 "+" up, 1 "+" pressed, 2 "-" up, 3 "-" pressed.
PictureList ADImageList(qreal dpr);
// BPImageList: 0 and 1 not bypassed, 2 and 3 bypassed. The two pictures of
// one state look alike: whether a block or a click set it changes nothing
// the user needs to see.
PictureList BPImageList(qreal dpr);
// RstImageList: 0 up, 1 pressed.
PictureList RstImageList(qreal dpr);
// ConnFlagList (connectflagImage): 0 connected, 1 not connected.
PictureList ConnFlagList(qreal dpr);
// ConnectImageList (the cosmetic connect picture): 0 pressed, 1 up.
PictureList ConnectImageList(qreal dpr);

// The gain slider's pictures: the thumb drawn in place of the handle and the
// channel drawn in place of the groove.
QPixmap SliderThumbPicture(qreal dpr);
QPixmap SliderChannelPicture(qreal dpr);

// Background of the plot panel (Image11), any size: the dark panel with a
// light display inset at `display`, where the plot and its scales sit.
QPixmap PlotBackgroundPicture(const QSize& size, const QRect& display, qreal dpr);
// The product logo of the About box.
QPixmap ProductLogoPicture(qreal dpr);
// The application icon, drawn at the usual icon sizes.
QIcon ApplicationIcon();

// Colours of the window's look, shared by the main window's style sheet and
// the pictures so that they match.
namespace palette {
inline constexpr unsigned kWindow = 0x151c28;      // window background
inline constexpr unsigned kPanel = 0x1e2838;       // panels
inline constexpr unsigned kPanelRaised = 0x2a3850; // buttons, raised faces
inline constexpr unsigned kEdge = 0x3a4a66;        // panel edges
inline constexpr unsigned kText = 0xd9e3f0;        // captions
inline constexpr unsigned kTextDim = 0x8593a8;     // secondary text
inline constexpr unsigned kAccent = 0x46b4ff;      // curves, highlights
inline constexpr unsigned kOn = 0x3ddc84;          // lit LED: band on, connected
inline constexpr unsigned kOff = 0x5a6478;         // dark LED
inline constexpr unsigned kWarn = 0xffb23f;        // bypass lit
inline constexpr unsigned kDisplay = 0xe6ecf4;     // the plot's light display
inline constexpr unsigned kDisplayText = 0x1e2838; // scales on the display
}  // namespace palette

}  // namespace qireq
