#include "dialogs/Progressform.h"

#include <QCloseEvent>
#include <QFrame>
#include <QProgressBar>
#include <QPushButton>

namespace qireq {

namespace {
constexpr int kProgressFormWidth = 305;
constexpr int kProgressFormHeight = 49;
}  // namespace

TProgressBarForm::TProgressBarForm(QWidget* parent)
    // A title, but neither a close nor any other title-bar button.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ProgressBarForm"));
    setWindowTitle(QStringLiteral("Connecting"));
    setModal(false);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, kProgressFormWidth, kProgressFormHeight);

    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(17, 17, 193, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    CancelBtn = new QPushButton(QStringLiteral("Cancel"), Panel1);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(233, 16, 56, 18);
    CancelBtn->setAutoDefault(false);
    connect(CancelBtn, &QPushButton::clicked, this, &TProgressBarForm::CancelClicked);

    setFixedSize(kProgressFormWidth, kProgressFormHeight);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(kSweepIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &TProgressBarForm::Timer1Timer);
    Timer1.start();
}

TProgressBarForm::~TProgressBarForm()
{
    FormDestroy();
}

void TProgressBarForm::Timer1Timer()
{
    const int next = ProgressBar1->value() + kSweepStep;
    ProgressBar1->setValue(next >= ProgressBar1->maximum() ? ProgressBar1->minimum() : next);
}

void TProgressBarForm::FormDestroy()
{
    StopAnimation();
}

void TProgressBarForm::StopAnimation()
{
    Timer1.stop();
}

void TProgressBarForm::Dismiss()
{
    hide();
}

void TProgressBarForm::reject() {}

void TProgressBarForm::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous())
        event->ignore();
    else
        event->accept();
}

}  // namespace qireq
