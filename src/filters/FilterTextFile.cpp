#include "filters/FilterTextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <optional>

namespace qireq {

namespace {

FilterTextRead Failed(const QString& message)
{
    FilterTextRead read;
    read.Error = message;
    return read;
}

QString TooLarge(const QString& shown)
{
    return QStringLiteral("%1 is too large for a filter text").arg(shown);
}

}  // namespace

QString DecodeFilterText(const QByteArray& bytes)
{
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(marked.value_or(QStringConverter::Utf8));
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        text = QString::fromLatin1(bytes);
    return text;
}

FilterTextRead ReadFilterTextFile(const QString& fileName)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return Failed(QStringLiteral("Cannot open file %1").arg(shown));
    if (file.size() > kLargestFilterText)
        return Failed(TooLarge(shown));
    return ReadFilterText(file, shown);
}

FilterTextRead ReadFilterText(QIODevice& device, const QString& shown)
{
    // A pipe gives its bytes in pieces: read on to the end or past the limit.
    QByteArray bytes;
    while (bytes.size() <= kLargestFilterText) {
        const QByteArray piece = device.read(kLargestFilterText + 1 - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (bytes.size() > kLargestFilterText)
        return Failed(TooLarge(shown));
    FilterTextRead read;
    read.Text = DecodeFilterText(bytes);
    return read;
}

}  // namespace qireq
