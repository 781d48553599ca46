// The rename, MAC and new-device dialogs as the user meets them: their
// captions and places, and what typing, pasting, Enter and OK do.
#include "controls/Artwork.h"
#include "controls/IpAddressBox.h"
#include "dialogs/MacForm.h"
#include "dialogs/MacMaskEdit.h"
#include "dialogs/NewDeviceForm.h"
#include "dialogs/RenameForm.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace qireq;

namespace {

// Shown as the active window, so keys typed go where its focus is.
void ShowActive(QDialog& dialog)
{
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// Types each character into whichever widget has the focus at that moment.
void TypeIntoFocus(const QString& keys)
{
    for (const QChar c : keys)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

void ExpectCaption(const QLabel* label, const char* text, QPoint at, bool bold)
{
    EXPECT_EQ(label->text(), QString::fromUtf8(text));
    EXPECT_EQ(label->pos(), at) << text;
    EXPECT_EQ(label->font().bold(), bold) << text;
}

TEST(InputDialogs, CaptionsPlacesTitleBarsAndIcon)
{
    TRenameFm rename;
    EXPECT_EQ(rename.windowTitle(), QStringLiteral("Rename"));
    EXPECT_EQ(rename.size(), QSize(209, 73));
    ExpectCaption(rename.Label1, "Input a name", {48, 8}, true);
    EXPECT_EQ(rename.NameEdit->geometry(), QRect(16, 32, 121, 21));
    EXPECT_EQ(rename.OKBtn->text(), QStringLiteral("OK"));
    EXPECT_EQ(rename.OKBtn->geometry(), QRect(152, 32, 41, 17));

    TMacForm mac;
    EXPECT_EQ(mac.windowTitle(), QStringLiteral("Modify MAC"));
    EXPECT_EQ(mac.size(), QSize(241, 97));
    ExpectCaption(mac.Label1, "Input Mac Address", {56, 0}, true);
    ExpectCaption(mac.Label2, "(0-9,a-f,A-F)", {24, 64}, false);
    EXPECT_EQ(mac.MacEdit->geometry(), QRect(24, 16, 177, 28));
    EXPECT_EQ(mac.MacEdit->font().pixelSize(), 16);
    EXPECT_EQ(mac.MacOkBtn->text(), QStringLiteral("Ok"));
    EXPECT_EQ(mac.MacOkBtn->geometry(), QRect(152, 64, 49, 17));
    EXPECT_TRUE(mac.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));

    TIPCfgForm ip(nullptr, [] { return QStringLiteral("192.168.1.20"); });
    EXPECT_EQ(ip.windowTitle(), QStringLiteral("New Device"));
    EXPECT_EQ(ip.size(), QSize(281, 105));
    ExpectCaption(ip.Label1, "Input Host IP", {72, 16}, true);
    EXPECT_EQ(ip.AddressBox->parentWidget(), ip.Panel1);
    EXPECT_EQ(ip.AddressBox->geometry(), QRect(30, 38, 121, 24));
    EXPECT_EQ(ip.IPOKBtn->text(), QStringLiteral("OK"));
    EXPECT_EQ(ip.IPOKBtn->geometry(), QRect(184, 40, 49, 25));

    for (const QDialog* closeOnly : {static_cast<QDialog*>(&rename), static_cast<QDialog*>(&ip)}) {
        EXPECT_TRUE(closeOnly->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(closeOnly->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(closeOnly->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    }
    for (const QDialog* dialog :
         {static_cast<QDialog*>(&rename), static_cast<QDialog*>(&mac), static_cast<QDialog*>(&ip)})
        EXPECT_EQ(dialog->windowIcon().cacheKey(), ApplicationIcon().cacheKey());
}

TEST(RenameDialog, TypingStopsAtTwelveButBackspaceAndEnterWork)
{
    TRenameFm form;
    ShowActive(form);
    QSignalSpy ok(&form, &TRenameFm::OkClicked);

    QTest::keyClicks(form.NameEdit, QStringLiteral("Main Hall 12XYZ"));
    EXPECT_EQ(form.NameEdit->text(), QStringLiteral("Main Hall 12"));
    QTest::keyClick(form.NameEdit, Qt::Key_Backspace);
    QTest::keyClicks(form.NameEdit, QStringLiteral("AB"));
    EXPECT_EQ(form.NameEdit->text(), QStringLiteral("Main Hall 1A"));
    QTest::keyClick(form.NameEdit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form.NameEdit->selectedText(), form.NameEdit->text()) << "shortcuts still work";

    QTest::keyClick(form.NameEdit, Qt::Key_Return);
    EXPECT_EQ(ok.count(), 1) << "Enter at twelve characters, once";
    form.NameEdit->setText(QStringLiteral("Hall"));
    QTest::keyClick(form.NameEdit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(ok.count(), 2);
    QTest::mouseClick(form.OKBtn, Qt::LeftButton);
    EXPECT_EQ(ok.count(), 3);
    EXPECT_TRUE(form.isVisible()) << "closing is the handler's";
}

TEST(RenameDialog, PastedLongNameStaysAndTypingGoesOn)
{
    TRenameFm form;
    ShowActive(form);
    const QString twenty = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    QApplication::clipboard()->setText(twenty);
    QTest::keyClick(form.NameEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.NameEdit->text(), twenty);

    QTest::keyClick(form.NameEdit, Qt::Key_U);
    EXPECT_EQ(form.NameEdit->text(), twenty + QLatin1Char('u'));
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(form.NameEdit, Qt::Key_Backspace);
    QTest::keyClick(form.NameEdit, Qt::Key_X);
    EXPECT_EQ(form.NameEdit->text(), twenty.left(12)) << "back at twelve, typing stops again";
}

TEST(MacDialog, TakesHexDigitsOnlyAndYieldsWhatWasTyped)
{
    TMacForm form;
    form.MacEdit->SetTypedText(QStringLiteral("ffee01"));
    EXPECT_EQ(form.MacEdit->TypedText(), QStringLiteral("FFEE01"));
    ShowActive(form);
    ASSERT_EQ(QApplication::focusWidget(), form.MacEdit);

    // Entering the box selects the prefilled value, so typing replaces it.
    QTest::keyClicks(form.MacEdit, QStringLiteral("1gG:@a2b3c"));
    EXPECT_EQ(form.MacEdit->displayText(),
              QStringLiteral("00\uFF1AA1\uFF1AB0\uFF1A1A\uFF1A2B\uFF1A3C"));
    EXPECT_EQ(form.MacEdit->TypedText(), QStringLiteral("1A2B3C"));

    // A click into the fixed start still types into the pairs, also the
    // characters the fixed start holds.
    form.MacEdit->SetTypedText(QString());
    QTest::mouseClick(form.MacEdit, Qt::LeftButton, {}, QPoint(4, form.MacEdit->height() / 2));
    QTest::keyClicks(form.MacEdit, QStringLiteral("0a1"));
    EXPECT_EQ(form.MacEdit->TypedText(), QStringLiteral("0A1")) << "a short entry is short";
    QTest::keyClick(form.MacEdit, Qt::Key_Backspace);
    EXPECT_EQ(form.MacEdit->TypedText(), QStringLiteral("0A"));

    // A paste passes no key filter: the mask itself takes hexadecimal
    // digits only, and so does the prefill.
    QApplication::clipboard()->setText(QStringLiteral("ghijkl"));
    form.MacEdit->SetTypedText(QString());
    QTest::keyClick(form.MacEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.MacEdit->TypedText(), QString()) << "no letter beyond F gets in";
    QApplication::clipboard()->setText(QStringLiteral("0f9E"));
    QTest::keyClick(form.MacEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.MacEdit->TypedText(), QStringLiteral("0F9E"));
    form.MacEdit->SetTypedText(QStringLiteral("zz12ab"));
    EXPECT_EQ(form.MacEdit->TypedText(), QStringLiteral("12AB"));

    QSignalSpy ok(&form, &TMacForm::OkClicked);
    QTest::keyClick(form.MacEdit, Qt::Key_Return);
    EXPECT_EQ(ok.count(), 0) << "Enter is not OK here";
    QTest::mouseClick(form.MacOkBtn, Qt::LeftButton);
    EXPECT_EQ(ok.count(), 1);
}

TEST(IpAddressBox, SetGetAndTypingLikeTheSystemControl)
{
    TIPCfgForm form(nullptr, [] { return QStringLiteral("10.1.2.3"); });
    IpAddressBox& box = *form.AddressBox;
    box.SetAddress(QStringLiteral("192.168.010.7"));
    EXPECT_EQ(box.Address(), QStringLiteral("192.168.10.7"));
    box.SetAddress(QStringLiteral("300.x.5"));
    EXPECT_EQ(box.Address(), QStringLiteral("255.0.5.0"));
    box.Clear();
    EXPECT_EQ(box.Address(), QStringLiteral("0.0.0.0"));

    ShowActive(form);
    box.Clear();
    box.Field(0)->setFocus();
    TypeIntoFocus(QStringLiteral("10.0.0.7"));
    EXPECT_EQ(box.Address(), QStringLiteral("10.0.0.7"));

    // Three digits move on, so the dot after them is not a second step; a
    // number above 255 becomes 255.
    box.Clear();
    box.Field(0)->setFocus();
    TypeIntoFocus(QStringLiteral("192.168.1.999"));
    EXPECT_EQ(box.Address(), QStringLiteral("192.168.1.255"));

    // Backspace in an empty field goes back and deletes there.
    box.Clear();
    box.Field(0)->setFocus();
    TypeIntoFocus(QStringLiteral("10."));
    EXPECT_EQ(QApplication::focusWidget(), box.Field(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(box.Address(), QStringLiteral("1.0.0.0"));
}

TEST(NewDeviceDialog, OffersTheOwnAddressAndStaysOpenAfterOk)
{
    TIPCfgForm form(nullptr, [] { return QStringLiteral("192.168.1.20"); });
    QStringList offered;
    QObject::connect(&form, &TIPCfgForm::OkClicked, [&] { offered << form.AddressBox->Address(); });
    ShowActive(form);
    EXPECT_EQ(form.AddressBox->Address(), QStringLiteral("192.168.1.20"));

    QTest::mouseClick(form.IPOKBtn, Qt::LeftButton);
    form.AddressBox->Clear();
    QTest::mouseClick(form.IPOKBtn, Qt::LeftButton);
    EXPECT_EQ(offered, QStringList({QStringLiteral("192.168.1.20"), QStringLiteral("0.0.0.0")}));
    EXPECT_TRUE(form.isVisible());
}

// Without an injected source the dialog asks the system: the address of a
// live network interface, where there is one, rather than the host name's
// loopback one.
TEST(NewDeviceDialog, AsksTheSystemForTheOwnAddress)
{
    bool hasLiveInterface = false;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack))
            for (const QNetworkAddressEntry& entry : iface.addressEntries())
                hasLiveInterface |= entry.ip().protocol() == QAbstractSocket::IPv4Protocol;
    }
    TIPCfgForm form;
    form.show();
    const QHostAddress offered(form.AddressBox->Address());
    EXPECT_EQ(offered.protocol(), QAbstractSocket::IPv4Protocol);
    EXPECT_NE(offered, QHostAddress(QHostAddress::AnyIPv4));
    if (hasLiveInterface) {
        EXPECT_FALSE(offered.isLoopback()) << offered.toString().toStdString();
    }
}

}  // namespace
