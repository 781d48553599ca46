#include "dialogs/RenameForm.h"

#include "controls/Artwork.h"
#include "dialogs/DialogParts.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qireq {

namespace {
constexpr int kRenameFormWidth = 209;
constexpr int kRenameFormHeight = 73;
}  // namespace

TRenameFm::TRenameFm(QWidget* parent) : QDialog(parent, CloseButtonOnlyFlags())
{
    setObjectName(QStringLiteral("RenameFm"));
    setWindowTitle(QStringLiteral("Rename"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, kRenameFormWidth, kRenameFormHeight);

    Label1 = PlaceLabel(Panel1, QStringLiteral("Input a name"), 48, 8, true);
    Label1->setObjectName(QStringLiteral("Label1"));

    NameEdit = new QLineEdit(Panel1);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setGeometry(16, 32, 121, 21);
    NameEdit->installEventFilter(this);

    OKBtn = new QPushButton(QStringLiteral("OK"), Panel1);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(152, 32, 41, 17);
    // Enter reaches OK through the name box only, and only once.
    OKBtn->setAutoDefault(false);
    connect(OKBtn, &QPushButton::clicked, this, &TRenameFm::OkClicked);

    setFixedSize(kRenameFormWidth, kRenameFormHeight);
    setWindowIcon(ApplicationIcon());
}

bool TRenameFm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == NameEdit && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (NameEditKeyDown(key) || NameEditKeyPress(key))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TRenameFm::NameEditKeyDown(const QKeyEvent& key)
{
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    emit OkClicked();
    return true;
}

bool TRenameFm::NameEditKeyPress(const QKeyEvent& key)
{
    return NameEdit->text().size() == kTypedNameLimit && !TypedPrintable(key).isNull();
}

}  // namespace qireq
