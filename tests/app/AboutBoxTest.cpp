// The About box as Help > About shows it: made only when chosen, modal, with
// the version taken from the application title, and a link that opens the
// address it shows.
#include "app/MainWindowSeams.h"
#include "app/Unit1.h"
#include "controls/Unlurllabel.h"
#include "dialogs/About.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

using namespace qireq;

namespace {

// Receives the addresses the desktop would have opened.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

int AboutBoxesAlive()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<TfmAbout*>(widget) != nullptr;
    return count;
}

QStringList VisibleTexts(const QWidget* dialog)
{
    QStringList texts;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty())
            texts << label->text();
    return texts;
}

// Chooses Help > About and runs `inspect` on the box while it is up, then
// closes it with its window close button's action.
void WithAboutBox(TForm1& form, const std::function<void(TfmAbout&)>& inspect)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<TfmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr) << "the About box is modal";
        seen = true;
        inspect(*about);
        about->close();
    });
    form.AboutItem->trigger();
    EXPECT_TRUE(seen);
}

TEST(AboutBoxTest, IsMadeOnlyWhenChosenAndGoneWhenClosed)
{
    TForm1 form(MainWindowSeams::Isolated());
    form.show();
    EXPECT_EQ(AboutBoxesAlive(), 0);
    WithAboutBox(form, [](TfmAbout& about) {
        EXPECT_EQ(about.parentWidget(), nullptr) << "made without an owner";
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(AboutBoxesAlive(), 0);
}

TEST(AboutBoxTest, ShowsProductVersionAndMaker)
{
    TForm1 form(MainWindowSeams::Isolated());
    form.show();
    WithAboutBox(form, [](TfmAbout& about) {
        const QStringList texts = VisibleTexts(&about);
        EXPECT_TRUE(texts.contains(QStringLiteral("Product Name:")));
        EXPECT_TRUE(texts.contains(QStringLiteral("QIR-EQ")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Version:")));
        EXPECT_EQ(about.VersionLabel->text(), QStringLiteral("4.7"));
        EXPECT_TRUE(about.VersionLabel->font().bold());
        // The brand word, the old version pair and the OK button stay hidden.
        EXPECT_FALSE(texts.contains(QStringLiteral("Zelto")));
        EXPECT_FALSE(texts.contains(QStringLiteral("2.2")));
        for (const QPushButton* button : about.findChildren<QPushButton*>())
            EXPECT_FALSE(button->isVisible());
        // The logo is shown, at its place and size.
        EXPECT_TRUE(about.Image1->isVisible());
        EXPECT_EQ(about.Image1->geometry(), QRect(16, 8, 81, 57));
        EXPECT_FALSE(about.Image1->pixmap().isNull());
        // The link sits below the maker's lines, inside the box.
        EXPECT_TRUE(about.UnlURLLabel1->isVisible());
        EXPECT_FALSE(about.UnlURLLabel1->Caption().isEmpty());
        EXPECT_LE(about.UnlURLLabel1->geometry().right(), about.width());
        // Only the close button: no minimise, maximise or help buttons.
        const Qt::WindowFlags flags = about.windowFlags();
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    });
}

TEST(AboutBoxTest, ClickingTheLinkOpensTheAddressItShows)
{
    TForm1 form(MainWindowSeams::Isolated());
    form.show();
    UrlCatcher catcher;
    // The desktop hands https and http addresses to the catcher, not a browser.
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "Open");
    QString shown;
    WithAboutBox(form, [&](TfmAbout& about) {
        shown = about.UnlURLLabel1->Caption();
        QTest::mouseClick(about.UnlURLLabel1, Qt::LeftButton);
        EXPECT_EQ(about.UnlURLLabel1->URL(), shown);
    });
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], QUrl(shown));
}

}  // namespace

#include "AboutBoxTest.moc"
