// The main window as a user and the other parts meet it: title, menus and
// shortcuts, the named controls and their start state, the timer inventory,
// the confirmation box, the posted "More Info" message, device changes and
// closing.
#include "app/InfoMessage.h"
#include "app/MainWindowParts.h"
#include "app/MainWindowSeams.h"
#include "app/Unit1.h"
#include "controls/MessageBoxes.h"
#include "controls/PaintBox.h"
#include "controls/PictureButton.h"
#include "controls/TScrollBox.h"
#include "controls/TShape.h"
#include "platform/DeviceChange.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <memory>
#include <thread>

using namespace qireq;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm1>(MainWindowSeams::Isolated());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    template <typename T = QWidget>
    T* Find(const char* name) const
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<TForm1> form;
};

TEST_F(MainWindowTest, ShowsTheApplicationTitleAndIcon)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("QIR-EQ_V4.7"));
    EXPECT_EQ(form->objectName(), QStringLiteral("Form1"));
    EXPECT_FALSE(form->windowIcon().isNull());
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndShortcuts)
{
    const QList<QAction*> top = form->menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(top[1]->text(), QStringLiteral("&Edit"));
    EXPECT_EQ(top[2]->text(), QStringLiteral("View"));
    EXPECT_FALSE(top[2]->isVisible()) << "the View menu is never shown";
    EXPECT_EQ(top[3]->text(), QStringLiteral("&Help"));

    struct Item {
        QAction* action;
        const char* text;
        QKeySequence shortcut;
    };
    const Item items[] = {
        {form->OpenItem, "&Open", QKeySequence(QStringLiteral("Ctrl+O"))},
        {form->SaveItem, "&Save As", QKeySequence(QStringLiteral("Ctrl+S"))},
        {form->ExitItem, "&Exit", QKeySequence(QStringLiteral("Ctrl+Q"))},
        {form->AboutItem, "&About", QKeySequence()},
        {form->FactoryUSBItem, "Factory(USB)", QKeySequence()},
        {form->FactoryIPItem, "Factory(IP)", QKeySequence()},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.text);
        EXPECT_EQ(item.action->text(), QString::fromUtf8(item.text));
        EXPECT_EQ(item.action->shortcut(), item.shortcut);
    }
    EXPECT_TRUE(form->FactoryIPItem->isVisible()) << "made visible at creation, inside a hidden menu";
    // Nothing to undo yet: the items carry their bare names, disabled.
    EXPECT_EQ(form->UndoItem->text(), QStringLiteral("Undo"));
    EXPECT_FALSE(form->UndoItem->isEnabled());
    EXPECT_EQ(form->UndoItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(form->RedoItem->text(), QStringLiteral("Redo"));
    EXPECT_EQ(form->RedoItem->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))}));
    EXPECT_EQ(form->EditMenu->actions(), (QList<QAction*>{form->UndoItem, form->RedoItem}));
    EXPECT_TRUE(form->FileMenu->actions().contains(form->OpenItem));
    EXPECT_TRUE(form->HelpMenu->actions().contains(form->AboutItem));
}

TEST_F(MainWindowTest, ShortcutsReachTheirCommands)
{
    // The preset commands run for real: no question is answered Yes and no
    // file is chosen, so both end without touching anything.
    MessageBoxes::TestMode boxes(MessageBoxes::Answer::No);
    struct NoFile : PresetFileChooser {
        QString ChooseSaveName() override { return {}; }
        QString ChooseOpenName() override { return {}; }
    };
    form->Parts().Presets->SetFileChooser(std::make_unique<NoFile>());
    QSignalSpy opened(form->OpenItem, &QAction::triggered);
    QSignalSpy saved(form->SaveItem, &QAction::triggered);
    QSignalSpy closed(form.get(), &TForm1::Closed);
    form->activateWindow();
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(closed.count(), 0);
    QTest::keyClick(form.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(closed.count(), 1) << "Ctrl+Q is Exit, which closes the window";
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindowTest, EveryNamedControlIsPresent)
{
    const char* names[] = {
        "RefreshBtn",    "TimeLabel",    "DeviceBox",        "deviceCountLabel", "DevicePaintBox",
        "Panel1",        "ResetImg",     "connectflagImage", "ConnectShape",     "Label1",
        "Label2",        "Label3",       "Panel2",           "Image11",          "Label5",
        "Panel3",        "Panel4",       "TempLabel",        "ProtectedLabel",   "ProtectState",
        "TempOverLabel", "TempState",    "VoltageLabel",     "VoltageState",     "StandbyLabel",
        "StandbyState",  "Memo1",        "Button1",
    };
    for (const char* name : names)
        EXPECT_NE(Find(name), nullptr) << name;
}

TEST_F(MainWindowTest, ControlsStartAsTheFormDescribes)
{
    EXPECT_EQ(form->RefreshBtn->text(), QStringLiteral("Refresh"));
    EXPECT_EQ(form->TimeLabel->text(), QStringLiteral("15"));
    EXPECT_TRUE(form->TimeLabel->font().bold());
    EXPECT_EQ(form->CountCaption->text(), QStringLiteral("Count:"));
    EXPECT_EQ(form->deviceCountLabel->text(), QStringLiteral("0"));
    EXPECT_EQ(form->DeviceBox->width(), TForm1::kDeviceBoxWidth);
    // The selection frame lives in the box with the tiles, hidden, 160 x 89.
    EXPECT_EQ(form->DevicePaintBox->parentWidget(), form->DeviceBox->Contents());
    EXPECT_EQ(form->TimeLabel->parentWidget(), form->DeviceBox->Contents());
    EXPECT_EQ(form->DevicePaintBox->size(), QSize(160, 89));
    EXPECT_FALSE(form->DevicePaintBox->isVisible());

    EXPECT_EQ(form->Panel2->size(), QSize(849, 241));
    EXPECT_EQ(form->Panel4->parentWidget(), form->Panel3);
    EXPECT_EQ(form->Panel4->geometry(), QRect(176, 16, 505, 353));
    EXPECT_EQ(form->Label5->text(), QStringLiteral("(dB)"));
    for (QLabel* hint : {form->Label1, form->Label2, form->Label3}) {
        EXPECT_EQ(hint->parentWidget(), form->Panel1);
        EXPECT_TRUE(hint->text().isEmpty());
    }
    EXPECT_EQ(form->Label1->x(), 632);
    EXPECT_EQ(form->Label2->x(), 696);
    EXPECT_EQ(form->Label3->x(), 768);
    EXPECT_EQ(form->ResetImg->parentWidget(), form->Panel1);
    EXPECT_EQ(form->connectflagImage->parentWidget(), form->Panel1);

    EXPECT_FALSE(form->Memo1->isVisible());
    EXPECT_FALSE(form->Button1->isVisible());
    EXPECT_EQ(form->Button1->text(), QStringLiteral("Clear"));
}

TEST_F(MainWindowTest, StatusRowStartsHiddenWithGreyLamps)
{
    EXPECT_EQ(form->TempLabel->text(), QStringLiteral("Temperature:0℃"));
    EXPECT_EQ(form->ProtectedLabel->text(), QStringLiteral("Protected State"));
    EXPECT_EQ(form->TempOverLabel->text(), QStringLiteral("Temperature State"));
    EXPECT_EQ(form->VoltageLabel->text(), QStringLiteral("Voltage State"));
    EXPECT_EQ(form->StandbyLabel->text(), QStringLiteral("Standby"));
    const QVector<QWidget*> row = form->StatusControls();
    ASSERT_EQ(row.size(), 9);
    for (QWidget* control : row)
        EXPECT_FALSE(control->isVisible()) << control->objectName().toStdString();
    for (TShape* lamp : {form->ProtectState, form->TempState, form->VoltageState, form->StandbyState}) {
        EXPECT_EQ(lamp->size(), QSize(20, 20));
        EXPECT_EQ(lamp->BrushColor(), QColor(128, 128, 128));
    }
    // Shown together, the row fits its panel without moving the window.
    const QSize before = form->size();
    for (QWidget* control : row)
        control->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->size(), before);
    EXPECT_LE(form->StandbyState->geometry().right(), form->StatusRow->width());
}

TEST_F(MainWindowTest, TimerInventory)
{
    struct Expected {
        const char* name;
        int intervalMs;
        bool singleShot;
        bool running;
    };
    const Expected expected[] = {
        {"RecallTimer", 20, true, false},      {"DeviceTimer", 10, true, false},
        {"DisconnectTimer", 3000, false, true}, {"ConnectTimer", 1000, false, false},
        {"CloseTimer", 20, true, false},       {"RequestTimer", 300, false, false},
        {"CheckTimer", 6000, false, false},    {"ReconnectTimer", 3000, false, false},
        {"InputDecTimer", 150, false, false},  {"InputAddTimer", 150, false, false},
        {"SearchTimer", 1000, false, true},    {"ReadStateTimer", 3000, false, false},
    };
    EXPECT_EQ(form->Timers().size(), 12);
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        auto* timer = form->findChild<QTimer*>(QString::fromLatin1(e.name));
        ASSERT_NE(timer, nullptr);
        EXPECT_TRUE(form->Timers().contains(timer));
        EXPECT_EQ(timer->interval(), e.intervalMs);
        EXPECT_EQ(timer->isSingleShot(), e.singleShot);
        EXPECT_EQ(timer->isActive(), e.running);
    }
}

TEST_F(MainWindowTest, AskYesNoIsTheFixedConfirmation)
{
    MessageBoxes::TestMode boxes(MessageBoxes::Answer::No);
    EXPECT_EQ(form->AskYesNo(QStringLiteral("Do you want to save present preset?")),
              MessageBoxes::Answer::No);
    boxes.SetAnswer(MessageBoxes::Answer::Yes);
    EXPECT_EQ(form->AskYesNo(QStringLiteral("File has already existed, override?")),
              MessageBoxes::Answer::Yes);
    ASSERT_EQ(boxes.Boxes().size(), 2);
    const MessageBoxes::Record& shown = boxes.Boxes()[1];
    EXPECT_EQ(shown.kind, MessageBoxes::Kind::Confirmation);
    EXPECT_EQ(shown.caption, QStringLiteral("QIR-EQ"));
    EXPECT_EQ(shown.text, QStringLiteral("File has already existed, override?"));
    EXPECT_EQ(shown.buttons, (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No")}));
}

// The real modal box: clicked with the mouse, it returns the button's answer.
// Only Yes counts as yes; closing the box counts as no.
TEST_F(MainWindowTest, AskYesNoAnswersWhatTheUserClicks)
{
    auto clickButton = [](const QString& label) {
        QTimer::singleShot(0, [label] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons())
                if (button->text() == label)
                    QTest::mouseClick(button, Qt::LeftButton);
        });
    };
    clickButton(QStringLiteral("&No"));
    EXPECT_EQ(form->AskYesNo(QStringLiteral("Question?")), MessageBoxes::Answer::No);
    clickButton(QStringLiteral("&Yes"));
    EXPECT_EQ(form->AskYesNo(QStringLiteral("Question?")), MessageBoxes::Answer::Yes);
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    EXPECT_EQ(form->AskYesNo(QStringLiteral("Question?")), MessageBoxes::Answer::No);
}

TEST_F(MainWindowTest, AskYesNoStaysEnglishUnderAnotherLanguage)
{
    QTranslator german;
    if (!german.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        GTEST_SKIP() << "no German Qt translation installed";
    QCoreApplication::installTranslator(&german);
    // Qt's own Yes button now reads German, ours does not.
    QMessageBox standard;
    QAbstractButton* standardYes = standard.addButton(QMessageBox::Yes);
    const QString translatedYes = standardYes->text();
    std::unique_ptr<QMessageBox> ours =
        MessageBoxes::Build(MessageBoxes::Kind::Confirmation, form.get(), QStringLiteral("?"));
    QStringList labels;
    for (QAbstractButton* button : ours->buttons())
        labels << button->text();
    QCoreApplication::removeTranslator(&german);
    EXPECT_NE(translatedYes, QStringLiteral("&Yes"));
    EXPECT_EQ(labels, (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No")}));
}

// The "More Info" reply is posted from the receive path; the box appears
// only once that handler has returned and the event loop delivers it.
TEST_F(MainWindowTest, InfoMessageIsShownFromTheEventLoop)
{
    MessageBoxes::TestMode boxes;
    auto receiveHandler = [&] {
        PostInfoMessage(form.get(), 3, 1441);
        EXPECT_TRUE(boxes.Boxes().isEmpty()) << "not shown inside the receive handler";
    };
    receiveHandler();
    EXPECT_TRUE(boxes.Boxes().isEmpty());
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.Boxes().size(), 1);
    const MessageBoxes::Record& shown = boxes.Boxes()[0];
    EXPECT_EQ(shown.kind, MessageBoxes::Kind::Information);
    EXPECT_EQ(shown.text, QStringLiteral("Burning success times:3\nTime:1 day, 0 hour, 1 minute"));
    EXPECT_EQ(shown.buttons, QStringList{QStringLiteral("&OK")});
}

TEST_F(MainWindowTest, InfoMessageMayBePostedFromAnotherThread)
{
    MessageBoxes::TestMode boxes;
    std::thread worker([&] { PostInfoMessage(form.get(), 0, 2880); });
    worker.join();
    QTRY_COMPARE(boxes.Boxes().size(), 1);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("Burning success times:0\nTime:2 days, 0 hour, 0 minute"));
    // Other events pass MyOnMessage untouched.
    QEvent other(QEvent::User);
    EXPECT_FALSE(form->MyOnMessage(&other));
}

TEST_F(MainWindowTest, DeviceChangesReachTheirHandlersOnTheGuiThread)
{
    QThread* guiThread = QThread::currentThread();
    int arrived = 0;
    int removed = 0;
    bool onGuiThread = true;
    QObject::connect(form.get(), &TForm1::DeviceArrived, [&] {
        ++arrived;
        onGuiThread = onGuiThread && QThread::currentThread() == guiThread;
    });
    QObject::connect(form.get(), &TForm1::DeviceRemoved, [&] {
        ++removed;
        onGuiThread = onGuiThread && QThread::currentThread() == guiThread;
    });
    // A notification source on its own thread hands the events over queued.
    std::thread source([&] {
        for (DeviceChange change : {DeviceChange::Arrived, DeviceChange::Other, DeviceChange::Removed,
                                    DeviceChange::Arrived})
            QMetaObject::invokeMethod(form.get(), "DeviceChgMsg", Qt::QueuedConnection,
                                      Q_ARG(qireq::DeviceChange, change));
    });
    source.join();
    QTRY_COMPARE(arrived + removed, 3);
    EXPECT_EQ(arrived, 2);
    EXPECT_EQ(removed, 1);
    EXPECT_TRUE(onGuiThread);
}

TEST_F(MainWindowTest, DiagnosticLinesReachTheHiddenMemoFromAnyThread)
{
    std::thread prober([&] { form->AppendDiagnostic(QStringLiteral("3")); });
    prober.join();
    form->AppendDiagnostic(QStringLiteral("4"));
    // The GUI thread's line goes in at once, the prober's through the loop.
    QTRY_COMPARE(form->Memo1->toPlainText(), QStringLiteral("4\n3"));
    // The hidden Clear button does nothing.
    form->Button1->click();
    EXPECT_FALSE(form->Memo1->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndAsksForTheProcessEnd)
{
    MessageBoxes::TestMode boxes;
    QSignalSpy closed(form.get(), &TForm1::Closed);
    form->ExitItem->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(boxes.Boxes().isEmpty()) << "closing asks nothing";
}

TEST_F(MainWindowTest, DeviceBoxScrollsToTilesBelowTheFold)
{
    QWidget* inside = form->DeviceBox->Contents();
    auto* tile = new QWidget(inside);
    tile->setGeometry(7, 91 * 12 + 10, 150, 81);
    tile->show();
    QTRY_VERIFY(form->DeviceBox->verticalScrollBar()->maximum() > 0);
    form->DeviceBox->ensureWidgetVisible(tile);
    QTRY_VERIFY(tile->visibleRegion().boundingRect().height() > 0);
    delete tile;
    QTRY_COMPARE(form->DeviceBox->verticalScrollBar()->maximum(), 0);
}

}  // namespace
