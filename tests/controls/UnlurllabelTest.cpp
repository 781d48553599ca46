// The link label: its look, the URL/caption rule and what a click does.
#include "controls/Unlurllabel.h"

#include <QDesktopServices>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace qireq {
namespace {

// Stands in for the browser: records what the desktop was asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened.append(url); }
};

class LinkLabel : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
        label.resize(200, 20);
        label.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    UrlCatcher catcher;
    TUnlURLLabel label;
};

TEST_F(LinkLabel, LooksLikeALink)
{
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(label.URL().isEmpty());

    label.SetURL(QStringLiteral("<b>https://example.com</b>"));
    EXPECT_EQ(label.Caption(), QStringLiteral("<b>https://example.com</b>"));
    EXPECT_EQ(label.textFormat(), Qt::PlainText);  // shown as typed, not as markup

    // The text is painted blue.
    label.SetURL(QStringLiteral("WWWWWWWW"));
    const QImage image = label.grab().toImage();
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            blue += (c.blue() > 200 && c.red() < 100 && c.green() < 100) ? 1 : 0;
        }
    EXPECT_GT(blue, 10);
}

TEST_F(LinkLabel, ClickFiresOnClickThenOpensTheUrl)
{
    label.SetCaption(QStringLiteral("https://www.example.com/"));
    // The dialog's handler sets the URL from the caption: it runs first.
    QStringList order;
    QObject::connect(&label, &TUnlURLLabel::OnClick, [&] {
        order << QStringLiteral("click");
        label.SetURL(label.Caption());
    });
    QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_EQ(catcher.Opened.size(), 1);
    EXPECT_EQ(catcher.Opened.at(0), QUrl(QStringLiteral("https://www.example.com/")));
    EXPECT_EQ(order, QStringList{QStringLiteral("click")});

    // A bare web address opens as one.
    label.SetURL(QStringLiteral("www.example.com"));
    QObject::disconnect(&label, &TUnlURLLabel::OnClick, nullptr, nullptr);
    QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_EQ(catcher.Opened.size(), 2);
    EXPECT_EQ(catcher.Opened.at(1).host(), QStringLiteral("www.example.com"));
}

TEST_F(LinkLabel, OnlyAFullClickCounts)
{
    QSignalSpy clicks(&label, &TUnlURLLabel::OnClick);
    label.SetURL(QStringLiteral("https://example.com"));
    // Released outside the label: no click.
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 300));
    QTest::mouseClick(&label, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(catcher.Opened.isEmpty());

    // An empty address: the click still fires, nothing opens, nothing shown.
    label.SetURL(QString());
    QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(catcher.Opened.isEmpty());
}

}  // namespace
}  // namespace qireq

#include "UnlurllabelTest.moc"
