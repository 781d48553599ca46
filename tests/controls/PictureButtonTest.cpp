// A picture button under real mouse events: every mouse button presses and
// releases it, only the left one clicks it, and each press is paired with
// exactly one release of the same button.
#include "controls/PictureButton.h"

#include "support/QtPrinters.h"

#include <QTest>

#include <gtest/gtest.h>

namespace qireq {
namespace {

class PictureButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(100, 60);
        button = new PictureButton(&window);
        button->setGeometry(10, 10, 40, 20);
        QObject::connect(button, &PictureButton::MouseDown,
                         [this](Qt::MouseButton b) { log << "down " + Name(b); });
        QObject::connect(button, &PictureButton::MouseUp,
                         [this](Qt::MouseButton b) { log << "up " + Name(b); });
        QObject::connect(button, &PictureButton::Clicked, [this] { log << "click"; });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    static QString Name(Qt::MouseButton b)
    {
        return b == Qt::LeftButton     ? "left"
               : b == Qt::RightButton  ? "right"
               : b == Qt::MiddleButton ? "middle"
                                       : "other";
    }

    void Press(Qt::MouseButton b) { QTest::mousePress(button, b, {}, inside); }
    void Release(Qt::MouseButton b, QPoint at = inside) { QTest::mouseRelease(button, b, {}, at); }

    static constexpr QPoint inside{20, 10};
    QWidget window;
    PictureButton* button = nullptr;
    QStringList log;
};

TEST_F(PictureButtonTest, EveryButtonPressesAndReleasesButOnlyTheLeftClicks)
{
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
        Press(b);
        EXPECT_TRUE(button->IsPressed());
        Release(b);
    }
    Press(Qt::LeftButton);
    Release(Qt::LeftButton);
    Press(Qt::LeftButton);
    Release(Qt::LeftButton, QPoint(60, 10));  // let go outside: no click
    EXPECT_EQ(log, QStringList({"down right", "up right", "down middle", "up middle", "down left",
                                "up left", "click", "down left", "up left"}));
    EXPECT_FALSE(button->IsPressed());
}

TEST_F(PictureButtonTest, EachReleaseEndsThePressOfItsOwnButton)
{
    Press(Qt::LeftButton);
    Press(Qt::RightButton);
    Release(Qt::RightButton);
    EXPECT_TRUE(button->IsPressed()) << "the left button is still held";
    Release(Qt::LeftButton);
    EXPECT_EQ(log, QStringList({"down left", "down right", "up right", "up left", "click"}));
    EXPECT_FALSE(button->IsPressed());

    // A release that never arrived is reported before the next press.
    log.clear();
    Press(Qt::RightButton);
    Press(Qt::RightButton);
    Release(Qt::RightButton);
    Release(Qt::RightButton);
    EXPECT_EQ(log, QStringList({"down right", "up right", "down right", "up right"}));
}

TEST_F(PictureButtonTest, ButtonsHeldWhenThePictureIsDisabledOrHiddenAreReleasedThenAndOnlyThen)
{
    Press(Qt::LeftButton);
    Press(Qt::RightButton);
    button->setEnabled(false);
    EXPECT_EQ(log, QStringList({"down left", "down right", "up left", "up right"}));
    EXPECT_FALSE(button->IsPressed());
    button->setEnabled(true);
    Release(Qt::RightButton);  // the real releases come later: nothing more
    Release(Qt::LeftButton);
    EXPECT_EQ(log.size(), 4);

    log.clear();
    Press(Qt::RightButton);
    button->hide();
    EXPECT_EQ(log, QStringList({"down right", "up right"}));
    button->show();
    Release(Qt::RightButton);
    EXPECT_EQ(log.size(), 2);
}

}  // namespace
}  // namespace qireq
