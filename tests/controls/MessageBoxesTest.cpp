// The message box service: each kind of box with its caption and English
// buttons, and recording in test mode.
#include "controls/MessageBoxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>


using namespace qireq;

namespace {

TEST(MessageBoxesTest, EachKindHasItsCaptionAndButtons)
{
    struct Expected {
        MessageBoxes::Kind kind;
        const char* caption;
        QStringList buttons;
        QMessageBox::Icon icon;
    };
    const Expected expected[] = {
        {MessageBoxes::Kind::Confirmation, "QIR-EQ", {"&Yes", "&No"}, QMessageBox::Question},
        {MessageBoxes::Kind::Information, "QIR-EQ_V4.7", {"&OK"}, QMessageBox::Information},
        {MessageBoxes::Kind::Message, "QIR-EQ_V4.7", {"&OK"}, QMessageBox::NoIcon},
        {MessageBoxes::Kind::Warning, "QIR-EQ_V4.7", {"&OK"}, QMessageBox::Warning},
        {MessageBoxes::Kind::Error, "QIR-EQ_V4.7", {"&OK"}, QMessageBox::Critical},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.caption);
        auto box = MessageBoxes::Build(e.kind, nullptr, QStringLiteral("<b>Invalid file</b>"));
        EXPECT_EQ(box->windowTitle(), QString::fromLatin1(e.caption));
        // Texts such as file names are shown as they are, never as markup.
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), e.icon);
        QStringList labels;
        for (QAbstractButton* button : box->buttons())
            labels << button->text();
        EXPECT_EQ(labels, e.buttons);
    }
}

TEST(MessageBoxesTest, TestModeRecordsInOrderAndNests)
{
    MessageBoxes::TestMode outer(MessageBoxes::Answer::Yes);
    MessageBoxes::Message(nullptr, QStringLiteral("Conenction failed"));
    {
        MessageBoxes::TestMode inner(MessageBoxes::Answer::No);
        EXPECT_EQ(MessageBoxes::AskYesNo(nullptr, QStringLiteral("?")), MessageBoxes::Answer::No);
        EXPECT_EQ(inner.Boxes().size(), 1);
    }
    EXPECT_EQ(MessageBoxes::AskYesNo(nullptr, QStringLiteral("?")), MessageBoxes::Answer::Yes);
    MessageBoxes::Warning(nullptr, QStringLiteral("Puerto COM no disponiable"));
    ASSERT_EQ(outer.Boxes().size(), 3);
    EXPECT_EQ(outer.Boxes()[0].text, QStringLiteral("Conenction failed"));
    EXPECT_EQ(outer.Boxes()[0].kind, MessageBoxes::Kind::Message);
    EXPECT_EQ(outer.Boxes()[1].kind, MessageBoxes::Kind::Confirmation);
    EXPECT_EQ(outer.Boxes()[2].text, QStringLiteral("Puerto COM no disponiable"));
}

}  // namespace
