#include "ArgumentReader.h"

#include <QRegularExpression>

#include <utility>

namespace qireq::tools {

QString ArgumentReader::Next()
{
    current_ = words_.value(next_++);
    inlineValue_.reset();
    if (current_.startsWith(QLatin1String("--")) && current_.contains(QLatin1Char('='))) {
        const qsizetype eq = current_.indexOf(QLatin1Char('='));
        inlineValue_ = current_.mid(eq + 1);
        current_ = current_.left(eq);
    }
    return current_;
}

std::optional<QString> ArgumentReader::Value()
{
    if (inlineValue_)
        return std::exchange(inlineValue_, std::nullopt);
    if (AtEnd()) {
        Fail(QStringLiteral("%1 needs a value").arg(current_));
        return std::nullopt;
    }
    return words_.at(next_++);
}

bool ArgumentReader::IsOption() const
{
    static const QRegularExpression number(QStringLiteral(R"(^[-+]?(\d+\.?\d*|\.\d+)$)"));
    return current_.startsWith(QLatin1Char('-')) && current_.size() > 1 && !number.match(current_).hasMatch();
}

void ArgumentReader::Fail(const QString& message)
{
    if (error_.isEmpty())
        error_ = message;
}

}  // namespace qireq::tools
