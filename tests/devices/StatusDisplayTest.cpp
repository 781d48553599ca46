// The status row on real labels and lamps: the temperature table's edges,
// the four lamps, a short reply, showing and hiding with "More Info" and
// the status request timer.
#include "controls/TShape.h"
#include "devices/StatusDisplay.h"
#include "protocol/Frames.h"
#include "protocol/RequestSender.h"
#include "state/MainState.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

namespace qireq {
namespace {

using test::RecordingLink;

// A status reply: raw temperature at bytes 9-10, the flags at 17-20.
QByteArray StatusFrame(int raw, std::array<std::uint8_t, 4> flags)
{
    QByteArray payload(15, '\0');
    payload[3] = static_cast<char>(raw & 0xFF);
    payload[4] = static_cast<char>(raw >> 8);
    for (int i = 0; i < 4; ++i)
        payload[11 + i] = static_cast<char>(flags[static_cast<std::size_t>(i)]);
    return BuildFrame(Command::ReadStatus, payload);
}

class StatusDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        row = std::make_unique<QWidget>();
        auto* layout = new QHBoxLayout(row.get());
        tempLabel = Add(new QLabel(QStringLiteral("Temperature:0℃")), layout);
        for (TShape*& lamp : lamps) {
            Add(new QLabel(QStringLiteral("caption")), layout);
            lamp = new TShape(TShape::Form::Rectangle);
            lamp->setFixedSize(20, 20);
            Add(lamp, layout);
        }
        controls.TempLabel = tempLabel;
        controls.ProtectState = lamps[0];
        controls.TempState = lamps[1];
        controls.VoltageState = lamps[2];
        controls.StandbyState = lamps[3];
        controls.BurningItem = &burningItem;
        controls.ReadStateTimer = &readStateTimer;
        readStateTimer.setInterval(3000);
        burningItem.setVisible(false);
        row->show();
        for (QWidget* control : controls.Controls)
            control->hide();
        display = std::make_unique<StatusDisplay>(requests, controls);
    }

    // A reply as the receive path hands it on: read first, so one too short
    // for its fields never reaches the row.
    void Show(const QByteArray& frame)
    {
        if (const std::optional<StatusReading> status = ReadStatusReply(frame))
            display->ApplyStatusReply(*status);
    }

    template <class W>
    W* Add(W* widget, QHBoxLayout* layout)
    {
        layout->addWidget(widget);
        if (controls.Controls.size() < 9)
            controls.Controls << widget;
        return widget;
    }

    QColor LampPixel(TShape* lamp)
    {
        // Below the lamp's highlight, inside its outline.
        return lamp->grab().toImage().pixelColor(10, 15);
    }

    MainState state;
    RequestSender requests{state};
    std::unique_ptr<QWidget> row;
    QLabel* tempLabel = nullptr;
    std::array<TShape*, 4> lamps{};
    QAction burningItem{QStringLiteral("More Info")};
    QTimer readStateTimer;
    StatusRowControls controls;
    std::unique_ptr<StatusDisplay> display;
};

TEST_F(StatusDisplayTest, TemperatureTableEdges)
{
    const std::pair<int, QString> cases[] = {
        {244, "Temperature:80℃"},
        {245, "Temperature:70℃"},
        {919, "Temperature:0℃"},
        {920, "Temperature:-10℃"},
        {0xFFFF, "Temperature:-10℃"},
    };
    for (const auto& [raw, text] : cases) {
        Show(StatusFrame(raw, {0, 0, 0, 0}));
        EXPECT_EQ(tempLabel->text(), text) << raw;
    }
}

TEST_F(StatusDisplayTest, LampsGreenForNormalRedForAlarm)
{
    display->ShowStatusPanel(true);
    Show(StatusFrame(500, {0x00, 0x01, 0x00, 0x01}));
    const QColor green(0, 255, 0);
    const QColor red(255, 0, 0);
    EXPECT_EQ(lamps[0]->BrushColor(), green);  // protection
    EXPECT_EQ(lamps[1]->BrushColor(), red);    // temperature
    EXPECT_EQ(lamps[2]->BrushColor(), green);  // voltage
    EXPECT_EQ(lamps[3]->BrushColor(), red);    // standby
    // And so they look: the lamp's face is mostly its fill.
    EXPECT_GT(LampPixel(lamps[0]).green(), 200);
    EXPECT_LT(LampPixel(lamps[0]).red(), 60);
    EXPECT_GT(LampPixel(lamps[1]).red(), 200);
    EXPECT_LT(LampPixel(lamps[1]).green(), 60);

    // Any non-zero flag is an alarm.
    Show(StatusFrame(500, {0x80, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(lamps[0]->BrushColor(), red);
    EXPECT_EQ(lamps[1]->BrushColor(), green);
    EXPECT_EQ(lamps[2]->BrushColor(), red);
    EXPECT_EQ(lamps[3]->BrushColor(), green);
}

TEST_F(StatusDisplayTest, AReplyTooShortChangesNothing)
{
    Show(StatusFrame(700, {0, 1, 0, 1}));
    const QByteArray full = StatusFrame(244, {1, 0, 1, 0});
    Show(full.left(20));  // ends before the standby flag
    Show(full.left(6));
    Show({});
    EXPECT_EQ(tempLabel->text(), "Temperature:20℃");
    EXPECT_EQ(lamps[0]->BrushColor(), QColor(0, 255, 0));
    EXPECT_EQ(lamps[3]->BrushColor(), QColor(255, 0, 0));

    Show(full.left(21));  // just long enough
    EXPECT_EQ(tempLabel->text(), "Temperature:80℃");
}

TEST_F(StatusDisplayTest, RowMoreInfoAndTimerAreShownAndHiddenTogether)
{
    ASSERT_EQ(controls.Controls.size(), 9);
    display->ShowStatusPanel(true);
    for (QWidget* control : controls.Controls)
        EXPECT_TRUE(control->isVisible());
    EXPECT_TRUE(burningItem.isVisible());
    EXPECT_TRUE(readStateTimer.isActive());

    Show(StatusFrame(300, {1, 1, 1, 1}));
    display->ShowStatusPanel(false);
    for (QWidget* control : controls.Controls)
        EXPECT_FALSE(control->isVisible());
    EXPECT_FALSE(burningItem.isVisible());
    EXPECT_FALSE(readStateTimer.isActive());

    // Shown again, it keeps what it showed last.
    display->ShowStatusPanel(true);
    EXPECT_EQ(tempLabel->text(), "Temperature:70℃");
    EXPECT_EQ(lamps[2]->BrushColor(), QColor(255, 0, 0));
}

TEST_F(StatusDisplayTest, StatusRequestGoesOutOnlyWhileConnected)
{
    auto link = std::make_unique<RecordingLink>();
    RecordingLink* recorder = link.get();
    display->ReadStateTimerTimer();  // no link at all

    requests.ReplaceLink(std::move(link));
    display->ReadStateTimerTimer();  // a link, not connected
    EXPECT_TRUE(recorder->Frames.empty());

    state.Connected = true;
    display->ReadStateTimerTimer();
    ASSERT_EQ(recorder->Frames.size(), 1u);
    EXPECT_EQ(recorder->Frames[0], QByteArray::fromHex("012003400923010560"));
    EXPECT_FALSE(state.Heard);
}

TEST_F(StatusDisplayTest, TheRealTimerAsksEveryThreeSeconds)
{
    auto link = std::make_unique<RecordingLink>();
    RecordingLink* recorder = link.get();
    requests.ReplaceLink(std::move(link));
    state.Connected = true;
    display->ShowStatusPanel(true);
    QTest::qWait(2500);
    EXPECT_TRUE(recorder->Frames.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder->Frames.size() == 1; }, 1500));
    display->ShowStatusPanel(false);
}

}  // namespace
}  // namespace qireq
