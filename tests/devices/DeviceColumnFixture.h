#pragma once
// A device column as the main window has it: a 185-pixel scroll box with
// the countdown label and the hidden selection frame inside, the counter
// label, the timers, and the column wired to them, all in one shown window.
#include "controls/Devicepanel.h"
#include "controls/PaintBox.h"
#include "controls/TScrollBox.h"
#include "devices/DeviceTileColumn.h"
#include "state/DeviceList.h"
#include "state/MainState.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace qireq::test {

class DeviceColumnTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(240, 600);
        box = new TScrollBox(window.get());
        box->setGeometry(10, 40, 185, 500);
        // Sized for its first text and bold, as the window builds it.
        timeLabel = new QLabel(QStringLiteral("15"), box->Contents());
        QFont bold = timeLabel->font();
        bold.setBold(true);
        timeLabel->setFont(bold);
        timeLabel->adjustSize();
        timeLabel->move(80, 8);
        frame = new PaintBox(box->Contents());
        frame->resize(160, 89);
        frame->hide();
        countLabel = new QLabel(QStringLiteral("0"), window.get());
        countLabel->move(60, 550);

        deviceTimer = Timer(10, true);
        searchTimer = Timer(1000, false);
        closeTimer = Timer(20, true);
        disconnectTimer = Timer(3000, false);

        DeviceColumnControls controls;
        controls.DeviceBox = box;
        controls.TimeLabel = timeLabel;
        controls.DevicePaintBox = frame;
        controls.deviceCountLabel = countLabel;
        controls.DeviceTimer = deviceTimer;
        controls.SearchTimer = searchTimer;
        controls.CloseTimer = closeTimer;
        controls.DisconnectTimer = disconnectTimer;
        Configure(controls);
        column = std::make_unique<DeviceTileColumn>(state, list, controls);

        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        column.reset();
        window.reset();
    }

    // For fixtures that hand the column more of the window.
    virtual void Configure(DeviceColumnControls&) {}

    QTimer* Timer(int interval, bool singleShot)
    {
        auto* timer = new QTimer(window.get());
        timer->setInterval(interval);
        timer->setSingleShot(singleShot);
        return timer;
    }

    // A unit found by discovery, its tile built by the real DeviceTimer.
    TDevicePanel* Find(const QString& address, int kind, const QString& mac = kUnknownMac)
    {
        const qsizetype before = column->Tiles().size();
        if (!list.AddFoundUnit(address, mac, kind))
            return nullptr;
        if (!QTest::qWaitFor([&] { return column->Tiles().size() > before; }, 2000))
            return nullptr;
        return column->Tiles().back();
    }

    void FindThree()
    {
        ASSERT_NE(Find("COM3", kSerialUnit), nullptr);
        ASSERT_NE(Find("192.168.1.20", kProbeUnit, "001a2b3c4d5e"), nullptr);
        ASSERT_NE(Find("192.168.1.21", kSsdpUnit), nullptr);
    }

    // The point p of a widget, in the window's coordinates.
    QPoint At(QWidget* widget, QPoint p = {10, 10}) const { return widget->mapTo(window.get(), p); }
    QWindow* Handle() const { return window->windowHandle(); }

    MainState state;
    DeviceList list;
    std::unique_ptr<QWidget> window;
    TScrollBox* box = nullptr;
    QLabel* timeLabel = nullptr;
    PaintBox* frame = nullptr;
    QLabel* countLabel = nullptr;
    QTimer* deviceTimer = nullptr;
    QTimer* searchTimer = nullptr;
    QTimer* closeTimer = nullptr;
    QTimer* disconnectTimer = nullptr;
    std::unique_ptr<DeviceTileColumn> column;
};

}  // namespace qireq::test
