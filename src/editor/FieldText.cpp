#include "editor/FieldText.h"

#include "editor/ScalePainting.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace qireq {

namespace {

// QLineEdit keeps this many pixels beside its text inside its contents.
constexpr int kLineEditTextMargin = 2;

// The pixels a field has for its text.
int TextRoom(const QLineEdit& field)
{
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.rect = field.rect();
    option.lineWidth =
        field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = field.style()->subElementRect(QStyle::SE_LineEditContents, &option, &field);
    const QMargins margins = field.textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * kLineEditTextMargin;
}

// A display field shows its whole value: "20160.0" is wider than a 49-pixel

}  // namespace

void ShowFieldText(QLineEdit& field, const QString& text)
{
    if (field.text() == text)
        return;
    field.ensurePolished();
    QFont font = field.font();
    font.setStretch(QFont::AnyStretch);
    field.setFont(CondensedToFit(font, {text}, TextRoom(field)));
    field.setText(text);
    field.setCursorPosition(0);
}

}  // namespace qireq
