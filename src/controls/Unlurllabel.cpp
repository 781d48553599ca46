#include "controls/Unlurllabel.h"

#include "controls/VclColors.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace qireq {

TUnlURLLabel::TUnlURLLabel(QWidget* parent) : QLabel(parent)
{
    // An address is shown as it is, never interpreted as markup.
    setTextFormat(Qt::PlainText);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, clBlue);
    setPalette(colours);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
}

void TUnlURLLabel::SetURL(const QString& url)
{
    url_ = url;
    setText(url);
}

void TUnlURLLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TUnlURLLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        Click();
}

void TUnlURLLabel::Click()
{
    emit OnClick();
    // "www.example.com" and the like open as web addresses; nothing is shown
    // when there is no handler or the address is empty.
    QDesktopServices::openUrl(QUrl::fromUserInput(url_.trimmed()));
}

}  // namespace qireq
