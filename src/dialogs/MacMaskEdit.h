#pragma once
// The MAC dialog's masked edit. It shows the fixed start 00：A1：B0：
// followed by three pairs of hexadecimal digits, the pairs separated by
// full-width colons (U+FF1A) and turned to upper case; unfilled places show
// as blanks. Any other character is refused however it comes in. What counts is only what was typed into the pairs: a complete
// entry reads as six characters ("1A2B3C"), a short one as fewer.
//
// Typing goes into the pairs, over what is there. Typing over a selection
// first blanks it; entering the edit by keyboard selects everything, so a
// prefilled value is typed over from its first place.
#include <QLineEdit>

namespace qireq {

class MacMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kTypedLength = 6;

    explicit MacMaskEdit(QWidget* parent = nullptr);

    // The letters and digits in the pairs, in order, blanks left out.
    QString TypedText() const;
    // Fills the pairs from the start with the hexadecimal digits of typed
    // (at most six; upper-cased), leaving the rest blank; the cursor goes
    // to the first blank.
    void SetTypedText(const QString& typed);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace qireq
