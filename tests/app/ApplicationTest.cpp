// The application object: an exception that escapes an event handler ends
// the command that raised it and is shown in the error box.
#include "app/Application.h"
#include "controls/MessageBoxes.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qireq;

namespace {

TEST(ApplicationTest, AnEscapedExceptionEndsTheCommandInTheErrorBox)
{
    MessageBoxes::TestMode boxes;
    int stepsDone = 0;
    const bool handled = TApplication::DeliverGuarded([&]() -> bool {
        ++stepsDone;
        throw std::runtime_error("'0xZZ' is not a valid integer value");
    });
    EXPECT_FALSE(handled);
    EXPECT_EQ(stepsDone, 1);
    ASSERT_EQ(boxes.Boxes().size(), 1);
    EXPECT_EQ(boxes.Boxes()[0].kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("'0xZZ' is not a valid integer value"));

    EXPECT_TRUE(TApplication::DeliverGuarded([] { return true; }));
    EXPECT_EQ(boxes.Boxes().size(), 1) << "a delivery that does not throw shows nothing";
}

}  // namespace
