#include "controls/IpAddressBox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace qireq {

namespace {
constexpr int kFieldDigits = 3;
constexpr unsigned kFieldMax = 255;
}  // namespace

IpAddressBox::IpAddressBox(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);
    auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (int i = 0; i < kFieldCount; ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            row->addWidget(dot);
        }
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("Field%1").arg(i + 1));
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(kFieldDigits);
        field->setValidator(digits);
        field->setMinimumWidth(0);
        // Tab reaches only the first field and leaves from any of them.
        field->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { FieldEdited(i); });
        row->addWidget(field, 1);
        fields_.append(field);
    }
    setFocusProxy(fields_[0]);
}

void IpAddressBox::SetAddress(const QString& dotted)
{
    const QStringList parts = dotted.split(QLatin1Char('.'));
    for (int i = 0; i < kFieldCount; ++i) {
        bool ok = false;
        const unsigned value = parts.value(i).trimmed().toUInt(&ok);
        fields_[i]->setText(QString::number(ok ? std::min(value, kFieldMax) : 0U));
    }
}

QString IpAddressBox::Address() const
{
    QStringList parts;
    for (const QLineEdit* field : fields_)
        parts << QString::number(field->text().toUInt());
    return parts.join(QLatin1Char('.'));
}

void IpAddressBox::Clear()
{
    for (QLineEdit* field : fields_)
        field->clear();
}

int IpAddressBox::IndexOf(QObject* field) const
{
    return static_cast<int>(fields_.indexOf(qobject_cast<QLineEdit*>(field)));
}

void IpAddressBox::FieldEdited(int index)
{
    QLineEdit* field = fields_[index];
    if (field->text().toUInt() > kFieldMax)
        field->setText(QString::number(kFieldMax));
    if (field->text().size() == kFieldDigits && field->cursorPosition() == kFieldDigits &&
        index + 1 < kFieldCount)
        EnterField(index + 1, Entry::SelectAll);
}

void IpAddressBox::EnterField(int index, Entry entry)
{
    QLineEdit* field = fields_[index];
    field->setFocus(Qt::OtherFocusReason);
    switch (entry) {
    case Entry::SelectAll:
        field->selectAll();
        break;
    case Entry::AtStart:
        field->home(false);
        break;
    case Entry::AtEnd:
        field->end(false);
        break;
    }
}

bool IpAddressBox::eventFilter(QObject* watched, QEvent* event)
{
    const int index = IndexOf(watched);
    if (index < 0 || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QLineEdit* field = fields_[index];
    const bool atStart = field->cursorPosition() == 0 && !field->hasSelectedText();
    const bool atEnd = field->cursorPosition() == field->text().size() && !field->hasSelectedText();
    switch (key->key()) {
    case Qt::Key_Period:
        // A dot never enters a field; it moves on from one that holds a number.
        if (!field->text().isEmpty() && index + 1 < kFieldCount)
            EnterField(index + 1, Entry::SelectAll);
        return true;
    case Qt::Key_Backspace:
    case Qt::Key_Left:
        if (atStart && index > 0) {
            EnterField(index - 1, Entry::AtEnd);
            return true;
        }
        break;
    case Qt::Key_Right:
        if (atEnd && index + 1 < kFieldCount) {
            EnterField(index + 1, Entry::AtStart);
            return true;
        }
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace qireq
