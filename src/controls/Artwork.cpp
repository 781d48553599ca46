#include "controls/Artwork.h"

#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace qireq {

namespace {

QColor Rgb(unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

// A transparent pixmap of the given logical size at the given ratio, and a
// painter on it that draws in logical pixels.
QPixmap Canvas(const QSize& size, qreal dpr)
{
    const qreal ratio = dpr > 0 ? dpr : 1.0;
    QPixmap pixmap(static_cast<int>(std::ceil(size.width() * ratio)),
                   static_cast<int>(std::ceil(size.height() * ratio)));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont SmallFont(qreal pixelSize, bool bold = true)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(pixelSize)));
    font.setBold(bold);
    return font;
}

// A rounded button face: gradient fill, thin edge, a highlight line on top.
// Pressed faces are darker, lit from below and drawn one pixel lower.
void ButtonFace(QPainter& p, const QRectF& area, bool pressed, const QColor& tint = QColor())
{
    const QRectF r = area.adjusted(0.5, 0.5, -0.5, -0.5);
    QColor top = Rgb(palette::kPanelRaised).lighter(pressed ? 85 : 135);
    QColor bottom = Rgb(palette::kPanelRaised).darker(pressed ? 105 : 130);
    if (tint.isValid()) {
        top = QColor::fromRgbF((top.redF() + tint.redF()) / 2, (top.greenF() + tint.greenF()) / 2,
                               (top.blueF() + tint.blueF()) / 2);
    }
    if (pressed)
        std::swap(top, bottom);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(pressed ? Rgb(palette::kAccent) : Rgb(palette::kEdge).lighter(120), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 3, 3);
    if (!pressed) {
        p.setPen(QPen(QColor(255, 255, 255, 40), 1));
        p.drawLine(QPointF(r.left() + 3, r.top() + 1), QPointF(r.right() - 3, r.top() + 1));
    }
}

void Led(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour, bool lit)
{
    if (lit) {
        QRadialGradient glow(centre, radius * 2.2);
        QColor halo = colour;
        halo.setAlpha(90);
        glow.setColorAt(0, halo);
        glow.setColorAt(1, Qt::transparent);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(centre, radius * 2.2, radius * 2.2);
    }
    QRadialGradient body(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    const QColor base = lit ? colour : Rgb(palette::kOff).darker(130);
    body.setColorAt(0, base.lighter(lit ? 160 : 130));
    body.setColorAt(1, base.darker(lit ? 110 : 140));
    p.setPen(QPen(QColor(0, 0, 0, 120), 0.8));
    p.setBrush(body);
    p.drawEllipse(centre, radius, radius);
}

void CentredText(QPainter& p, const QRectF& area, const QString& text, const QColor& colour,
                 const QFont& font)
{
    p.setFont(font);
    p.setPen(colour);
    p.drawText(area, Qt::AlignCenter, text);
}

// The small response glyph of a type picture, drawn across `area`.
QPainterPath TypeGlyph(int typeIndex, const QRectF& area)
{
    const qreal l = area.left(), r = area.right(), t = area.top(), b = area.bottom();
    const qreal mid = (t + b) / 2;
    const qreal w = area.width();
    QPainterPath path;
    switch (typeIndex) {
    case 0:  // High Shelf: flat low, rising to a flat high
        path.moveTo(l, b);
        path.lineTo(l + w * 0.30, b);
        path.cubicTo(l + w * 0.55, b, l + w * 0.45, t, l + w * 0.70, t);
        path.lineTo(r, t);
        break;
    case 1:  // Peak: a bell around the middle
        path.moveTo(l, mid + (b - mid) * 0.6);
        path.lineTo(l + w * 0.22, mid + (b - mid) * 0.6);
        path.cubicTo(l + w * 0.40, mid + (b - mid) * 0.6, l + w * 0.40, t, l + w * 0.5, t);
        path.cubicTo(l + w * 0.60, t, l + w * 0.60, mid + (b - mid) * 0.6, l + w * 0.78,
                     mid + (b - mid) * 0.6);
        path.lineTo(r, mid + (b - mid) * 0.6);
        break;
    default:  // Low Shelf: flat high, falling to a flat low
        path.moveTo(l, t);
        path.lineTo(l + w * 0.30, t);
        path.cubicTo(l + w * 0.55, t, l + w * 0.45, b, l + w * 0.70, b);
        path.lineTo(r, b);
        break;
    }
    return path;
}

QString TypeTag(int typeIndex)
{
    switch (typeIndex) {
    case 0: return QStringLiteral("HS");
    case 1: return QStringLiteral("PK");
    default: return QStringLiteral("LS");
    }
}

QPixmap DrawTypePicture(int typeIndex, qreal dpr)
{
    QPixmap pixmap = Canvas(artwork::kTypeSize, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF face(0, 0, artwork::kTypeSize.width(), artwork::kTypeSize.height());
    ButtonFace(p, face, false);
    // Tag on the left, glyph on the right: readable even at 100 %.
    CentredText(p, QRectF(2, 0, 15, face.height()), TypeTag(typeIndex), Rgb(palette::kText),
                SmallFont(7.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Rgb(palette::kAccent), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(TypeGlyph(typeIndex, QRectF(18, 4.5, 19, 8)));
    return pixmap;
}

QPixmap DrawBandSwitch(int bandNumber, bool off, qreal dpr)
{
    QPixmap pixmap = Canvas(artwork::kBandSwitchSize, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF face(0, 0, artwork::kBandSwitchSize.width(), artwork::kBandSwitchSize.height());
    ButtonFace(p, face, off);
    Led(p, QPointF(9, face.height() / 2), 3.6, Rgb(palette::kOn), !off);
    CentredText(p, QRectF(15, 0, 19, face.height()), QString::number(bandNumber),
                off ? Rgb(palette::kTextDim) : Rgb(palette::kText), SmallFont(11));
    if (off) {  // a strike across the number: "off" reads without colour too
        p.setPen(QPen(Rgb(palette::kTextDim), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 14.5), QPointF(30, 5.5));
    }
    return pixmap;
}

QPixmap DrawTrimButton(int index, qreal dpr)
{
    const bool plus = index == artwork::kPlusUp || index == artwork::kPlusPressed;
    const bool pressed = index == artwork::kPlusPressed || index == artwork::kMinusPressed;
    QPixmap pixmap = Canvas(artwork::kTrimButtonSize, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF face(0, 0, artwork::kTrimButtonSize.width(), artwork::kTrimButtonSize.height());
    ButtonFace(p, face, pressed);
    const QPointF c = face.center() + QPointF(0, pressed ? 0.6 : 0);
    p.setPen(QPen(pressed ? Rgb(palette::kAccent) : Rgb(palette::kText), 1.8, Qt::SolidLine,
                  Qt::RoundCap));
    p.drawLine(c - QPointF(4, 0), c + QPointF(4, 0));
    if (plus)
        p.drawLine(c - QPointF(0, 4), c + QPointF(0, 4));
    return pixmap;
}

QPixmap DrawBypass(bool bypassed, qreal dpr)
{
    QPixmap pixmap = Canvas(artwork::kBypassSize, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF face(0, 0, artwork::kBypassSize.width(), artwork::kBypassSize.height());
    ButtonFace(p, face, bypassed);
    Led(p, QPointF(7, face.height() / 2), 2.8, Rgb(palette::kWarn), bypassed);
    CentredText(p, QRectF(11, 0, 31, face.height()), QStringLiteral("BYPASS"),
                bypassed ? Rgb(palette::kWarn) : Rgb(palette::kText), SmallFont(6.5));
    return pixmap;
}

QPixmap DrawLabelledButton(const QSize& size, const QString& text, bool pressed, qreal dpr)
{
    QPixmap pixmap = Canvas(size, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF face(0, 0, size.width(), size.height());
    ButtonFace(p, face, pressed);
    CentredText(p, face.translated(0, pressed ? 0.6 : 0), text,
                pressed ? Rgb(palette::kAccent) : Rgb(palette::kText), SmallFont(7.5));
    return pixmap;
}

// A plug and a socket: joined and green when connected, apart and grey when not.
QPixmap DrawConnFlag(bool connected, qreal dpr)
{
    QPixmap pixmap = Canvas(artwork::kConnFlagSize, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QSize s = artwork::kConnFlagSize;
    const qreal mid = s.height() / 2.0;
    const QColor colour = connected ? Rgb(palette::kOn) : Rgb(palette::kTextDim);
    const qreal gap = connected ? 0 : 5;
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    // Cable and body on the left.
    p.drawLine(QPointF(2, mid), QPointF(10, mid));
    p.setBrush(colour.darker(connected ? 160 : 200));
    p.drawRoundedRect(QRectF(10, mid - 5, 8, 10), 1.5, 1.5);
    // Two pins.
    p.drawLine(QPointF(18, mid - 2.5), QPointF(22 - gap / 2, mid - 2.5));
    p.drawLine(QPointF(18, mid + 2.5), QPointF(22 - gap / 2, mid + 2.5));
    // Socket and cable on the right.
    const qreal right = 22 + gap / 2;
    p.drawRoundedRect(QRectF(right, mid - 6, 9, 12), 1.5, 1.5);
    p.drawLine(QPointF(right + 9, mid), QPointF(s.width() - 2.0, mid));
    if (!connected) {  // a small cross in the gap
        p.setPen(QPen(Rgb(0xe05a5a), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 2.5), QPointF(24, 6.5));
        p.drawLine(QPointF(24, 2.5), QPointF(20, 6.5));
    } else {
        Led(p, QPointF(s.width() - 5.0, 4.5), 2.2, Rgb(palette::kOn), true);
    }
    return pixmap;
}

using ListDrawer = std::function<PictureList(qreal)>;

// Lists are drawn once per ratio; the key keeps the ratio to 1/100.
const PictureList& CachedList(int listId, qreal dpr, const ListDrawer& draw)
{
    // Kept for the whole run (never destroyed, so no pixmap outlives the
    // application object at exit).
    static auto* cache = new QHash<quint64, PictureList>;
    const qreal ratio = dpr > 0 ? dpr : 1.0;
    const quint64 key = (static_cast<quint64>(listId) << 32) |
                        static_cast<quint32>(std::lround(ratio * 100));
    auto it = cache->find(key);
    if (it == cache->end())
        it = cache->insert(key, draw(ratio));
    return it.value();
}

enum ListId : int { kTypeList, kEqList, kAdList, kBpList, kRstList, kFlagList, kConnectList };

}  // namespace

QPixmap TypePicture(int typeIndex, qreal dpr)
{
    const PictureList& list = TypeImageList(dpr);
    return typeIndex >= 0 && typeIndex < list.size() ? list.at(typeIndex) : QPixmap();
}

QPixmap BandSwitchPicture(int bandNumber, bool off, qreal dpr)
{
    if (bandNumber < 1 || bandNumber > 5)
        return QPixmap();
    return EQImageList(dpr).at(off ? bandNumber + 4 : bandNumber - 1);
}

PictureList TypeImageList(qreal dpr)
{
    return CachedList(kTypeList, dpr, [](qreal r) {
        return PictureList{DrawTypePicture(0, r), DrawTypePicture(1, r), DrawTypePicture(2, r)};
    });
}

PictureList EQImageList(qreal dpr)
{
    return CachedList(kEqList, dpr, [](qreal r) {
        PictureList list;
        for (int off = 0; off < 2; ++off)
            for (int band = 1; band <= 5; ++band)
                list.append(DrawBandSwitch(band, off != 0, r));
        return list;
    });
}

PictureList ADImageList(qreal dpr)
{
    return CachedList(kAdList, dpr, [](qreal r) {
        PictureList list;
        for (int i = 0; i < 4; ++i)
            list.append(DrawTrimButton(i, r));
        return list;
    });
}

PictureList BPImageList(qreal dpr)
{
    return CachedList(kBpList, dpr, [](qreal r) {
        const QPixmap through = DrawBypass(false, r);
        const QPixmap bypassed = DrawBypass(true, r);
        return PictureList{through, through, bypassed, bypassed};
    });
}

PictureList RstImageList(qreal dpr)
{
    return CachedList(kRstList, dpr, [](qreal r) {
        return PictureList{DrawLabelledButton(artwork::kResetSize, QStringLiteral("RESET"), false, r),
                           DrawLabelledButton(artwork::kResetSize, QStringLiteral("RESET"), true, r)};
    });
}

PictureList ConnFlagList(qreal dpr)
{
    return CachedList(kFlagList, dpr, [](qreal r) {
        return PictureList{DrawConnFlag(true, r), DrawConnFlag(false, r)};
    });
}

PictureList ConnectImageList(qreal dpr)
{
    return CachedList(kConnectList, dpr, [](qreal r) {
        return PictureList{
            DrawLabelledButton(artwork::kConnectSize, QStringLiteral("LINK"), true, r),
            DrawLabelledButton(artwork::kConnectSize, QStringLiteral("LINK"), false, r)};
    });
}

QPixmap SliderThumbPicture(qreal dpr)
{
    QPixmap pixmap = Canvas(artwork::kSliderThumbSize, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF r(0.5, 0.5, artwork::kSliderThumbSize.width() - 1.0,
                   artwork::kSliderThumbSize.height() - 1.0);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(0xe8, 0xee, 0xf6));
    fill.setColorAt(1, QColor(0x90, 0x9c, 0xb0));
    p.setPen(QPen(QColor(0x20, 0x28, 0x38), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 2, 2);
    p.setPen(QPen(Rgb(palette::kAccent), 1.2));
    p.drawLine(QPointF(2.5, r.center().y()), QPointF(r.right() - 2, r.center().y()));
    return pixmap;
}

QPixmap SliderChannelPicture(qreal dpr)
{
    QPixmap pixmap = Canvas(artwork::kSliderChannelSize, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const qreal w = artwork::kSliderChannelSize.width();
    const qreal h = artwork::kSliderChannelSize.height();
    const QRectF groove(w / 2 - 2, 2, 4, h - 4);
    QLinearGradient fill(groove.topLeft(), groove.topRight());
    fill.setColorAt(0, QColor(0x05, 0x08, 0x10));
    fill.setColorAt(1, QColor(0x2c, 0x38, 0x4c));
    p.setPen(QPen(QColor(0x0a, 0x0e, 0x16), 1));
    p.setBrush(fill);
    p.drawRoundedRect(groove, 2, 2);
    // A faint centre mark at 0 dB.
    p.setPen(QPen(QColor(0x46, 0xb4, 0xff, 140), 1));
    p.drawLine(QPointF(1, h / 2), QPointF(w - 1, h / 2));
    return pixmap;
}

QPixmap PlotBackgroundPicture(const QSize& size, const QRect& display, qreal dpr)
{
    QPixmap pixmap = Canvas(size, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF r(0, 0, size.width(), size.height());
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, Rgb(palette::kPanel).lighter(115));
    fill.setColorAt(1, Rgb(palette::kPanel));
    p.fillRect(r, fill);
    p.setPen(QPen(Rgb(palette::kEdge), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    // The display: a light screen set into the panel with a thin dark bezel.
    const QRectF screen = QRectF(display).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(QColor(0x0a, 0x0e, 0x16), 2));
    p.setBrush(Rgb(palette::kDisplay));
    p.drawRoundedRect(screen, 4, 4);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawLine(QPointF(screen.left() + 4, screen.bottom() + 1.5),
               QPointF(screen.right() - 4, screen.bottom() + 1.5));
    return pixmap;
}

QPixmap ProductLogoPicture(qreal dpr)
{
    QPixmap pixmap = Canvas(artwork::kLogoSize, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF r(0.5, 0.5, artwork::kLogoSize.width() - 1.0, artwork::kLogoSize.height() - 1.0);
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0, QColor(0x23, 0x4d, 0x8c));
    fill.setColorAt(1, QColor(0x10, 0x1a, 0x2c));
    p.setPen(QPen(Rgb(palette::kAccent), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 8, 8);
    // Five bars of an equaliser and a response curve over them.
    const qreal heights[5] = {10, 17, 24, 15, 8};
    for (int i = 0; i < 5; ++i) {
        const qreal x = 12 + i * 12;
        QLinearGradient bar(QPointF(x, 48), QPointF(x, 48 - heights[i]));
        bar.setColorAt(0, QColor(0x46, 0xb4, 0xff, 90));
        bar.setColorAt(1, QColor(0x46, 0xb4, 0xff, 200));
        p.setPen(Qt::NoPen);
        p.setBrush(bar);
        p.drawRoundedRect(QRectF(x, 48 - heights[i], 8, heights[i]), 1.5, 1.5);
    }
    QPainterPath curve;
    curve.moveTo(8, 34);
    curve.cubicTo(24, 34, 30, 14, 40, 14);
    curve.cubicTo(52, 14, 56, 38, 73, 38);
    p.setPen(QPen(QColor(0xff, 0xff, 0xff, 230), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    CentredText(p, QRectF(0, 2, r.width(), 12), QStringLiteral("QIR-EQ"), Rgb(palette::kText),
                SmallFont(9));
    return pixmap;
}

QIcon ApplicationIcon()
{
    static const QIcon* icon = new QIcon([] {
        QIcon built;
        for (int side : {16, 24, 32, 48, 64, 128, 256}) {
            QPixmap pixmap(side, side);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            Prepare(p);
            const qreal s = side;
            const QRectF r(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
            QLinearGradient fill(r.topLeft(), r.bottomRight());
            fill.setColorAt(0, QColor(0x2a, 0x5c, 0xa8));
            fill.setColorAt(1, QColor(0x12, 0x1c, 0x30));
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawRoundedRect(r, s * 0.2, s * 0.2);
            QPainterPath curve;
            curve.moveTo(s * 0.14, s * 0.62);
            curve.cubicTo(s * 0.34, s * 0.62, s * 0.38, s * 0.26, s * 0.5, s * 0.26);
            curve.cubicTo(s * 0.62, s * 0.26, s * 0.66, s * 0.72, s * 0.86, s * 0.72);
            p.setPen(QPen(Rgb(palette::kAccent), std::max(1.0, s * 0.09), Qt::SolidLine,
                          Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawPath(curve);
            p.end();
            built.addPixmap(pixmap);
        }
        return built;
    }());
    return *icon;
}

}  // namespace qireq
