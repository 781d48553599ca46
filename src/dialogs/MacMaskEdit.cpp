#include "dialogs/MacMaskEdit.h"

#include "dialogs/DialogParts.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace qireq {

namespace {

constexpr QChar kWideColon(0xFF1A);

// The fixed start, then three required pairs of hexadecimal digits in upper
// case; blanks are spaces. The mask checks whatever comes in (typed keys,
// a paste, a drop), so no other letter can reach the pairs.
QString Mask()
{
    return QStringLiteral("\\0\\0\uFF1A\\A\\1\uFF1A\\B\\0\uFF1A>HH\uFF1AHH\uFF1AHH; ");
}

bool IsHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

QString FixedStart()
{
    return QStringLiteral("00\uFF1AA1\uFF1AB0\uFF1A");
}
constexpr int kFixedLength = 9;  // of FixedStart()

}  // namespace

MacMaskEdit::MacMaskEdit(QWidget* parent) : QLineEdit(parent)
{
    setInputMask(Mask());
}

QString MacMaskEdit::TypedText() const
{
    // text() keeps the fixed characters and drops the blanks.
    return text().mid(kFixedLength).remove(kWideColon);
}

void MacMaskEdit::SetTypedText(const QString& typed)
{
    QString pairs;
    for (const QChar c : typed)
        if (IsHexDigit(c) && pairs.size() < kTypedLength)
            pairs += c;
    // Given the fixed start first, the mask steps over it character by
    // character and puts the rest into the pairs.
    setText(FixedStart() + pairs);
    // Typing goes on after what was filled in.
    const auto blank = displayText().indexOf(QLatin1Char(' '), kFixedLength);
    setCursorPosition(static_cast<int>(blank < 0 ? displayText().size() : blank));
}

void MacMaskEdit::keyPressEvent(QKeyEvent* event)
{
    const bool typing = !TypedPrintable(*event).isNull() || event->matches(QKeySequence::Paste);
    if (typing) {
        if (hasSelectedText())
            del();
        // Inserted before the pairs, a '0', 'A', '1' or 'B' would be taken
        // as stepping over that fixed character and lost.
        if (cursorPosition() < kFixedLength)
            setCursorPosition(kFixedLength);
    }
    QLineEdit::keyPressEvent(event);
}

void MacMaskEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // A click places the cursor where it lands; a closing context menu
    // leaves it where it was.
    if (event->reason() != Qt::MouseFocusReason && event->reason() != Qt::PopupFocusReason)
        selectAll();
}

}  // namespace qireq
