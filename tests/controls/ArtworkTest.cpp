// The painted pictures: every list holds the pictures its users index, each
// state looks different from the others, nothing is blank, and a 200 %
// picture is drawn at its own resolution rather than blown up.
#include "controls/Artwork.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSet>

#include <functional>

using namespace qireq;

namespace {

struct ListCase {
    const char* name;
    std::function<PictureList(qreal)> make;
    int count;
    QSize size;
};

std::vector<ListCase> Lists()
{
    return {
        {"TypeImageList", TypeImageList, 3, artwork::kTypeSize},
        {"EQImageList", EQImageList, 10, artwork::kBandSwitchSize},
        {"ADImageList", ADImageList, 4, artwork::kTrimButtonSize},
        {"BPImageList", BPImageList, 4, artwork::kBypassSize},
        {"RstImageList", RstImageList, 2, artwork::kResetSize},
        {"ConnFlagList", ConnFlagList, 2, artwork::kConnFlagSize},
        {"ConnectImageList", ConnectImageList, 2, artwork::kConnectSize},
    };
}

QImage Pixels(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }

int OpaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

TEST(ArtworkTest, ListsHoldTheirPicturesAtEveryScale)
{
    for (const ListCase& list : Lists()) {
        for (qreal dpr : {1.0, 2.0}) {
            SCOPED_TRACE(std::string(list.name) + " at " + std::to_string(dpr));
            const PictureList pictures = list.make(dpr);
            ASSERT_EQ(pictures.size(), list.count);
            for (const QPixmap& picture : pictures) {
                EXPECT_EQ(picture.deviceIndependentSize().toSize(), list.size);
                EXPECT_EQ(picture.size(), list.size * dpr);
                EXPECT_DOUBLE_EQ(picture.devicePixelRatio(), dpr);
                const QImage image = Pixels(picture);
                EXPECT_GT(OpaquePixels(image), image.width() * image.height() / 3) << "not blank";
            }
        }
    }
}

// Each state the band controls and the top bar show has its own look. The
// two bypass pictures of one state (block applied, switched by a click) may
// look alike; the two states may not.
TEST(ArtworkTest, EveryStateLooksDifferent)
{
    for (const ListCase& list : Lists()) {
        SCOPED_TRACE(list.name);
        const PictureList pictures = list.make(1.0);
        QVector<QImage> images;
        for (const QPixmap& picture : pictures)
            images.append(Pixels(picture));
        for (int a = 0; a < images.size(); ++a) {
            for (int b = a + 1; b < images.size(); ++b) {
                const bool sameState = QStringLiteral("BPImageList") == QLatin1String(list.name) &&
                                       a / 2 == b / 2;
                if (!sameState) {
                    EXPECT_NE(images[a], images[b]) << "pictures " << a << " and " << b;
                }
            }
        }
    }
    const PictureList bypass = BPImageList(1.0);
    EXPECT_EQ(Pixels(bypass[artwork::kNotBypassedApplied]), Pixels(bypass[artwork::kNotBypassedSwitched]));
    EXPECT_EQ(Pixels(bypass[artwork::kBypassedApplied]), Pixels(bypass[artwork::kBypassedSwitched]));
}

TEST(ArtworkTest, DoubleScalePicturesAreDrawnNotEnlarged)
{
    for (const ListCase& list : Lists()) {
        SCOPED_TRACE(list.name);
        const QImage single = Pixels(list.make(1.0).front());
        const QImage twice = Pixels(list.make(2.0).front());
        const QImage enlarged = single.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        EXPECT_NE(twice, enlarged);
        // Finer drawing shows as more distinct colours than the small picture has.
        QSet<QRgb> coloursSingle, coloursTwice;
        for (int y = 0; y < single.height(); ++y)
            for (int x = 0; x < single.width(); ++x)
                coloursSingle.insert(single.pixel(x, y));
        for (int y = 0; y < twice.height(); ++y)
            for (int x = 0; x < twice.width(); ++x)
                coloursTwice.insert(twice.pixel(x, y));
        EXPECT_GT(coloursTwice.size(), coloursSingle.size());
    }
}

TEST(ArtworkTest, SinglePicturesMatchTheirListsAndRefuseBadIndexes)
{
    const PictureList types = TypeImageList(1.0);
    for (int type = 0; type < 3; ++type)
        EXPECT_EQ(Pixels(TypePicture(type, 1.0)), Pixels(types[type]));
    EXPECT_TRUE(TypePicture(3, 1.0).isNull());
    EXPECT_TRUE(TypePicture(-1, 1.0).isNull());

    const PictureList bands = EQImageList(1.0);
    for (int band = 1; band <= 5; ++band) {
        EXPECT_EQ(Pixels(BandSwitchPicture(band, false, 1.0)), Pixels(bands[band - 1]));
        EXPECT_EQ(Pixels(BandSwitchPicture(band, true, 1.0)), Pixels(bands[band + 4]));
    }
    EXPECT_TRUE(BandSwitchPicture(0, false, 1.0).isNull());
    EXPECT_TRUE(BandSwitchPicture(6, true, 1.0).isNull());

    // A list asked for again is the same drawing, not a new one: the editor
    // asks on every refresh.
    EXPECT_EQ(TypeImageList(1.0).front().cacheKey(), types.front().cacheKey());
}

TEST(ArtworkTest, SliderLogoBackgroundAndIcon)
{
    for (qreal dpr : {1.0, 2.0}) {
        EXPECT_EQ(SliderThumbPicture(dpr).deviceIndependentSize().toSize(), artwork::kSliderThumbSize);
        EXPECT_EQ(SliderChannelPicture(dpr).deviceIndependentSize().toSize(),
                  artwork::kSliderChannelSize);
        EXPECT_EQ(ProductLogoPicture(dpr).deviceIndependentSize().toSize(), artwork::kLogoSize);
        const QPixmap background = PlotBackgroundPicture(QSize(849, 241), QRect(28, 3, 817, 235), dpr);
        EXPECT_EQ(background.deviceIndependentSize().toSize(), QSize(849, 241));
        EXPECT_EQ(OpaquePixels(Pixels(background)), background.width() * background.height())
            << "the background covers the whole panel";
    }
    const QIcon icon = ApplicationIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_FALSE(icon.pixmap(16, 16).isNull());
    EXPECT_FALSE(icon.pixmap(256, 256).isNull());
}

}  // namespace
