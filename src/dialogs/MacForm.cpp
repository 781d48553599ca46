#include "dialogs/MacForm.h"

#include "controls/Artwork.h"
#include "dialogs/DialogParts.h"
#include "dialogs/MacMaskEdit.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace qireq {

namespace {
constexpr int kMacFormWidth = 241;
constexpr int kMacFormHeight = 97;
constexpr int kMacEditFontPixels = 16;
}  // namespace

TMacForm::TMacForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("MacForm"));
    setWindowTitle(QStringLiteral("Modify MAC"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, kMacFormWidth, kMacFormHeight);

    Label1 = PlaceLabel(Panel1, QStringLiteral("Input Mac Address"), 56, 0, true);
    Label1->setObjectName(QStringLiteral("Label1"));

    MacEdit = new MacMaskEdit(Panel1);
    MacEdit->setObjectName(QStringLiteral("MacEdit"));
    MacEdit->setGeometry(24, 16, 177, 28);
    QFont large = MacEdit->font();
    large.setPixelSize(kMacEditFontPixels);
    MacEdit->setFont(large);
    MacEdit->installEventFilter(this);

    Label2 = PlaceLabel(Panel1, QStringLiteral("(0-9,a-f,A-F)"), 24, 64, false);
    Label2->setObjectName(QStringLiteral("Label2"));

    MacOkBtn = new QPushButton(QStringLiteral("Ok"), Panel1);
    MacOkBtn->setObjectName(QStringLiteral("MacOkBtn"));
    MacOkBtn->setGeometry(152, 64, 49, 17);
    MacOkBtn->setAutoDefault(false);
    connect(MacOkBtn, &QPushButton::clicked, this, &TMacForm::OkClicked);

    setFixedSize(kMacFormWidth, kMacFormHeight);
    setWindowIcon(ApplicationIcon());
}

bool TMacForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MacEdit && event->type() == QEvent::KeyPress &&
        MacEditKeyPress(static_cast<const QKeyEvent&>(*event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TMacForm::MacEditKeyPress(const QKeyEvent& key) const
{
    const QChar c = TypedPrintable(key);
    if (c.isNull())
        return false;
    // '0'..'F' also holds seven punctuation characters; the mask keeps
    // those out.
    const bool passes = (c >= QLatin1Char('0') && c <= QLatin1Char('F')) ||
                        (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    return !passes;
}

}  // namespace qireq
