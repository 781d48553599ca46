#pragma once
// The command-line style of both companion programs, qireq-ctl and
// qireq-sim: options may stand anywhere, a value follows its option as the
// next word or after '=' ("--tcp 10.0.0.5", "--tcp=10.0.0.5"), a value may
// begin with '-' ("--gain -3.5"), and a word that reads as a negative
// number is an argument, not an option ("eq trim -6"). The first problem
// found is the one reported. qireq-ctl needs the last two rules, which
// QCommandLineParser does not offer; qireq-sim reads its options the same way.
#include <QString>
#include <QStringList>

#include <optional>

namespace qireq::tools {

class ArgumentReader {
public:
    explicit ArgumentReader(QStringList words) : words_(std::move(words)) {}

    bool AtEnd() const { return next_ >= words_.size(); }
    // The next word; of "--name=value" the "--name" (the value is Value()'s).
    QString Next();
    // The value of the option Next() just gave: after its '=', else the next
    // word. Absent at the end, with the error "--name needs a value".
    std::optional<QString> Value();
    // Whether the word Next() just gave is an option: it begins with '-',
    // is more than "-" and is no number.
    bool IsOption() const;

    void Fail(const QString& message);
    const QString& Error() const { return error_; }

private:
    QStringList words_;
    qsizetype next_ = 0;
    QString current_;
    std::optional<QString> inlineValue_;
    QString error_;
};

}  // namespace qireq::tools
