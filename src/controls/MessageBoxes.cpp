#include "controls/MessageBoxes.h"

#include "state/ApplicationTitle.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace qireq {

MessageBoxes::TestMode* MessageBoxes::active_ = nullptr;

MessageBoxes::TestMode::TestMode(Answer answer) : answer_(answer), previous_(active_)
{
    active_ = this;
}

MessageBoxes::TestMode::~TestMode() { active_ = previous_; }

MessageBoxes::Answer MessageBoxes::AskYesNo(QWidget* owner, const QString& text)
{
    return Show(Kind::Confirmation, owner, text);
}

void MessageBoxes::Information(QWidget* owner, const QString& text)
{
    Show(Kind::Information, owner, text);
}

void MessageBoxes::Message(QWidget* owner, const QString& text) { Show(Kind::Message, owner, text); }

void MessageBoxes::Warning(QWidget* owner, const QString& text) { Show(Kind::Warning, owner, text); }

void MessageBoxes::Error(QWidget* owner, const QString& text) { Show(Kind::Error, owner, text); }

void MessageBoxes::Notice(QWidget* owner, const QString& text) { Show(Kind::Notice, owner, text); }

std::unique_ptr<QMessageBox> MessageBoxes::Build(Kind kind, QWidget* owner, const QString& text)
{
    auto box = std::make_unique<QMessageBox>(owner);
    box->setText(text);
    box->setTextFormat(Qt::PlainText);  // texts may hold file names: never markup
    if (kind == Kind::Confirmation) {
        // The confirmation keeps its own caption; labels are set explicitly
        // so they read in English on every system.
        box->setWindowTitle(QStringLiteral("QIR-EQ"));
        box->setIcon(QMessageBox::Question);
        QPushButton* yes = box->addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
        QPushButton* no = box->addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box->setDefaultButton(yes);
        box->setEscapeButton(no);
        return box;
    }
    box->setWindowTitle(ApplicationTitle());
    switch (kind) {
    case Kind::Information: box->setIcon(QMessageBox::Information); break;
    case Kind::Warning: box->setIcon(QMessageBox::Warning); break;
    case Kind::Error: box->setIcon(QMessageBox::Critical); break;
    case Kind::Notice: box->setIcon(QMessageBox::Information); break;
    default: box->setIcon(QMessageBox::NoIcon); break;
    }
    QPushButton* ok = box->addButton(QStringLiteral("&OK"), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    return box;
}

MessageBoxes::Answer MessageBoxes::Show(Kind kind, QWidget* owner, const QString& text)
{
    std::unique_ptr<QMessageBox> box = Build(kind, owner, text);
    if (active_) {
        Record record{kind, box->windowTitle(), box->text(), {}};
        for (QAbstractButton* button : box->buttons())
            record.buttons.append(button->text());
        active_->boxes_.append(record);
        if (kind != Kind::Confirmation)
            return Answer::Ok;
        return active_->answer_ == Answer::Yes ? Answer::Yes : Answer::No;
    }
    if (kind == Kind::Notice) {
        box->setWindowModality(Qt::NonModal);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box.release()->show();
        return Answer::Ok;
    }
    box->exec();
    if (kind != Kind::Confirmation)
        return Answer::Ok;
    // Only the Yes button counts as yes; closing the box counts as no.
    QAbstractButton* clicked = box->clickedButton();
    return clicked && box->buttonRole(clicked) == QMessageBox::YesRole
               ? Answer::Yes
               : Answer::No;
}

}  // namespace qireq
