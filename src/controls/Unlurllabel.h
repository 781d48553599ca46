#pragma once
// TUnlURLLabel: a label showing a web address in blue, underlined, with the
// pointing-hand cursor. A click (press and release over the label with the
// left button) first fires OnClick, then opens URL with the desktop's
// default handler; whether that succeeds is not reported. Because OnClick
// comes first, a handler may still set the URL that is then opened.
// The caption is plain text, never rich text.
#include <QLabel>
#include <QString>

namespace qireq {

class TUnlURLLabel : public QLabel {
    Q_OBJECT
public:
    explicit TUnlURLLabel(QWidget* parent = nullptr);

    QString URL() const { return url_; }
    // Stores the address and shows it as the caption too.
    void SetURL(const QString& url);
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }

signals:
    void OnClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Click();

    QString url_;
    bool pressed_ = false;
};

}  // namespace qireq
