#include "dialogs/About.h"

#include "dialogs/DialogParts.h"

#include "controls/Artwork.h"
#include "controls/Unlurllabel.h"
#include "state/ApplicationTitle.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace qireq {

namespace {

// The maker's lines and address.
const char* const kMakerLine1 = "Copyright (C) 2024";
const char* const kMakerLine2 = "QIR Audio";
const char* const kMakerAddress = "https://www.example.com/";

// About's captions are all bold.
QLabel* Caption(QWidget* parent, const QString& text, int x, int y)
{
    return PlaceLabel(parent, text, x, y, true);
}

}  // namespace

TfmAbout::TfmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("fmAbout"));
    setAttribute(Qt::WA_DeleteOnClose, false);  // the caller owns the box

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(16, 8, artwork::kLogoSize.width(), artwork::kLogoSize.height());
    Image1->setScaledContents(true);
    Image1->hide();

    Caption(this, QStringLiteral("Product Name:"), 112, 8);
    Caption(this, QStringLiteral("QIR-EQ"), 200, 8)->setObjectName(QStringLiteral("ProductLabel"));
    Caption(this, QStringLiteral("Version:"), 112, 32);
    VersionLabel = Caption(this, QStringLiteral("1.1"), 171, 32);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    Caption(this, QString::fromLatin1(kMakerLine1), 112, 56);
    Caption(this, QString::fromLatin1(kMakerLine2), 112, 72);

    UnlURLLabel1 = new TUnlURLLabel(this);
    UnlURLLabel1->setObjectName(QStringLiteral("UnlURLLabel1"));
    UnlURLLabel1->SetCaption(QString::fromLatin1(kMakerAddress));
    UnlURLLabel1->adjustSize();
    UnlURLLabel1->move(110, 100);
    connect(UnlURLLabel1, &TUnlURLLabel::OnClick, this, &TfmAbout::UnlURLLabel1Click);

    brandLabel_ = Caption(this, QStringLiteral("Zelto"), 88, 24);
    oldVersionCaption_ = Caption(this, QStringLiteral("Version:"), 88, 48);
    oldVersionLabel_ = Caption(this, QStringLiteral("2.2"), 131, 48);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->move(200, 100);

    setFixedSize(std::max(300, UnlURLLabel1->geometry().right() + 24), 128);
    FormCreate();
}

void TfmAbout::FormCreate()
{
    setWindowTitle(QStringLiteral("About"));
    okButton_->hide();
    brandLabel_->hide();
    oldVersionCaption_->hide();
    oldVersionLabel_->hide();
    Image1->setPixmap(ProductLogoPicture(devicePixelRatioF()));
    Image1->show();
    setWindowIcon(ApplicationIcon());
}

void TfmAbout::FormShow()
{
    VersionLabel->setText(ApplicationVersion());
    VersionLabel->adjustSize();
}

void TfmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// The link opens the address it shows.
void TfmAbout::UnlURLLabel1Click() { UnlURLLabel1->SetURL(UnlURLLabel1->Caption()); }

}  // namespace qireq
