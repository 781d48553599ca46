// The connecting dialog as the user sees it: its title and buttons, the
// sweeping bar, Cancel, and that only the program can close it.
#include "dialogs/Progressform.h"

#include <gtest/gtest.h>

#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <vector>

using namespace qireq;

TEST(ProgressBarForm, IsAModelessConnectingBoxWithoutTitleBarButtons)
{
    TProgressBarForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Connecting"));
    EXPECT_FALSE(form.isModal());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinMaxButtonsHint));
    EXPECT_EQ(form.CancelBtn->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(form.ProgressBar1->minimum(), 0);
    EXPECT_EQ(form.ProgressBar1->maximum(), 100);
}

TEST(ProgressBarForm, BarSweepsByTenAndStartsAgainFromZero)
{
    TProgressBarForm form;
    form.show();
    std::vector<int> seen;
    QObject::connect(form.ProgressBar1, &QProgressBar::valueChanged,
                     [&](int value) { seen.push_back(value); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() >= 12; }, 3000));
    const std::vector<int> expected{10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 10, 20};
    EXPECT_EQ(std::vector<int>(seen.begin(), seen.begin() + 12), expected);

    form.StopAnimation();
    const int stoppedAt = form.ProgressBar1->value();
    QTest::qWait(3 * TProgressBarForm::kSweepIntervalMs);
    EXPECT_EQ(form.ProgressBar1->value(), stoppedAt);
}

TEST(ProgressBarForm, CancelIsReportedAndOnlyTheProgramClosesIt)
{
    TProgressBarForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QSignalSpy cancelled(&form, &TProgressBarForm::CancelClicked);

    QTest::mouseClick(form.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_TRUE(form.isVisible()) << "what Cancel does is the connection logic's";

    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());

    form.Dismiss();
    EXPECT_FALSE(form.isVisible());
}
