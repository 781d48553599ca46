#pragma once
// A window with the plot panel, the EQ panel and the top bar as the main
// window lays them out, the editor and the plot interaction on top, and a
// link that records every frame written to it.
#include "controls/CSpinButton.h"
#include "controls/Fftdraw.h"
#include "controls/PaintBox.h"
#include "controls/PictureButton.h"
#include "controls/Ptrackbar.h"
#include "editor/BandEditor.h"
#include "editor/PlotInteraction.h"
#include "eq/EqDisplay.h"
#include "eq/ResponseCurves.h"
#include "protocol/Frames.h"
#include "protocol/ReplyFields.h"
#include "protocol/RequestSender.h"
#include "state/MainState.h"
#include "support/RecordingLink.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace qireq::test {

// The bounding box of what is drawn inside `area` of a picture: the pixels
// that stand clearly apart from `background`. Empty when nothing is there.
inline QRect InkIn(const QImage& image, QRect area, const QColor& background)
{
    QRect ink;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                                 std::abs(c.blue() - background.blue());
            if (distance > 96)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

inline int Byte(const QByteArray& frame, int offset)
{
    return static_cast<std::uint8_t>(frame.at(offset));
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<QWidget>();
        window_->resize(849, 640);
        topBar_ = new QWidget(window_.get());
        topBar_->setGeometry(0, 0, 849, 32);
        resetImg_ = new PictureButton(topBar_);
        resetImg_->setObjectName("ResetImg");
        resetImg_->setGeometry(16, 8, 41, 17);
        for (int i = 0; i < 3; ++i) {
            labels_[i] = new QLabel(topBar_);
            labels_[i]->setGeometry(632 + 64 * i, 8, 64, 16);
        }
        plotPanel_ = new QWidget(window_.get());
        plotPanel_->setGeometry(0, 32, 849, 241);
        plot_ = new TFFTDraw(plotPanel_);
        plot_->setObjectName("FFTDraw1");
        plot_->setGeometry(32, 16, 809, 201);
        auto* eqHolder = new QWidget(window_.get());  // Panel3
        eqHolder->setGeometry(0, 273, 849, 367);
        eqPanel_ = new QWidget(eqHolder);  // Panel4
        eqPanel_->setGeometry(176, 8, 505, 353);

        SetUpPlot(*plot_);
        editor_ = std::make_unique<BandEditor>(state_, requests_, curves_, *plot_, eqPanel_,
                                               TopBarControls{resetImg_, labels_[0], labels_[1], labels_[2]});
        editor_->SetBlockPause(0);
        interaction_ = std::make_unique<PlotInteraction>(state_, *editor_, *plot_, plotPanel_);
        editor_->RefreshAllBands();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    void TearDown() override
    {
        interaction_.reset();
        editor_.reset();
        window_.reset();
    }

    void Connect()
    {
        auto link = std::make_unique<RecordingLink>();
        link_ = link.get();
        requests_.ReplaceLink(std::move(link));
        state_.Connected = true;
        state_.SendGate = 3;
    }

    EqBand& Model(int n) { return state_.Eq.Bands[static_cast<std::size_t>(n - 1)]; }
    const BandControls& Band(int n) const { return editor_->Band(n); }

    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
    static void ClickUp(TCSpinButton* spin) { QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(8, 4)); }
    static void ClickDown(TCSpinButton* spin) { QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(8, 20)); }

    // The band write the unit echoes for what the model holds now.
    QByteArray BandEcho(int n) { return SetBandFrame(n).Fill(Model(n)); }

    // A frame from the unit as the receive path hands it on: read and checked
    // first, so a frame too short for its fields never reaches the editor.
    void EchoBand(const QByteArray& frame)
    {
        if (const std::optional<qireq::BandEcho> echo = ReadBandEcho(frame))
            editor_->ApplyBandEcho(*echo);
    }
    void EchoBypass(const QByteArray& frame)
    {
        if (const std::optional<bool> bypass = ReadBypassEcho(frame))
            editor_->ApplyBypassEcho(*bypass);
    }
    void EchoTrim(const QByteArray& frame)
    {
        if (const std::optional<std::uint8_t> code = ReadTrimEcho(frame))
            editor_->ApplyTrimEcho(DecodeTrim(*code));
    }

    MainState state_;
    RequestSender requests_{state_};
    ResponseCurves curves_;
    std::unique_ptr<QWidget> window_;
    QWidget* topBar_ = nullptr;
    QWidget* plotPanel_ = nullptr;
    QWidget* eqPanel_ = nullptr;
    PictureButton* resetImg_ = nullptr;
    QLabel* labels_[3] = {};
    TFFTDraw* plot_ = nullptr;
    std::unique_ptr<BandEditor> editor_;
    std::unique_ptr<PlotInteraction> interaction_;
    RecordingLink* link_ = nullptr;
};

}  // namespace qireq::test
