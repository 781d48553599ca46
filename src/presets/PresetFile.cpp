#include "presets/PresetFile.h"

#include "presets/IntegerText.h"
#include "presets/PresetRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qireq {
namespace {

// No integer line is longer than this; reading stops there so a huge file
// without line ends cannot exhaust memory.
constexpr qint64 kMaxPresetFileBytes = 1 << 20;

// The offending line as the message shows it: a binary file's first "line"
// may be a megabyte of control bytes, so it is cut and made printable.
constexpr qsizetype kShownLineLength = 40;

QString ShownLine(const QByteArray& line)
{
    QString shown;
    for (const char c : line.left(kShownLineLength))
        shown += (c >= 0x20 && c < 0x7F) ? QLatin1Char(c) : QLatin1Char('?');
    if (line.size() > kShownLineLength)
        shown += QStringLiteral("...");
    return shown;
}

QString NotAnIntegerMessage(const QByteArray& line)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(ShownLine(line));
}

// Splits off the next line at CR LF, LF or CR; pos moves past its line end.
QByteArray NextLine(const QByteArray& text, qsizetype& pos)
{
    const qsizetype start = pos;
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n')
        ++pos;
    QByteArray line = text.mid(start, pos - start);
    if (pos < text.size()) {
        if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
            ++pos;
        ++pos;
    }
    return line;
}

QString CannotCreateMessage(const QString& path)
{
    return QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path));
}

}  // namespace

QByteArray PresetFileText(const EqBlock& record)
{
    static const char kHex[] = "0123456789ABCDEF";
    QByteArray text;
    text.reserve(kPresetFileSize);
    for (std::uint8_t byte : record) {
        text.append("0x");
        text.append(kHex[byte >> 4]);
        text.append(kHex[byte & 0x0F]);
        text.append("\r\n");
    }
    return text;
}

QString WritePresetFile(const QString& path, const EqBlock& record)
{
    QSaveFile file(path);
    const QByteArray text = PresetFileText(record);
    // QSaveFile buffers the bytes, and commit() alone replaces the old file
    // even when writing them out failed (a full disk leaves a truncated
    // preset). Flushing first lets a failed write cancel the save instead.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(text) == text.size()
                         && file.flush() && file.error() == QFileDevice::NoError;
    if (!written) {
        file.cancelWriting();
        return CannotCreateMessage(path);
    }
    if (!file.commit())
        return CannotCreateMessage(path);
    return {};
}

PresetLoad ParsePresetText(const QByteArray& text)
{
    PresetLoad load;
    load.record = NewLoadRecord();
    qsizetype pos = 0;
    for (int line = 0; line < kPresetLineCount && pos < text.size(); ++line) {
        const QByteArray lineText = NextLine(text, pos);
        const std::optional<std::int32_t> value = ParseIntegerText(lineText);
        if (!value) {
            load.outcome = PresetLoad::Outcome::NotAnInteger;
            load.message = NotAnIntegerMessage(lineText);
            return load;
        }
        load.record[static_cast<std::size_t>(line)] = static_cast<std::uint8_t>(*value & 0xFF);
    }
    load.record[kPresetLengthOffset] = kEqBlockSize;
    if (!HasPresetSignature(load.record)) {
        load.outcome = PresetLoad::Outcome::InvalidFile;
        load.message = QStringLiteral("Invalid file");
    }
    return load;
}

PresetLoad ReadPresetFile(const QString& path)
{
    QFile file(path);
    // Only a regular file: a directory is no preset, and opening a named
    // pipe or a device would wait for a writer that never comes.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        PresetLoad load;
        load.outcome = PresetLoad::Outcome::CannotOpen;
        load.message = QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path));
        return load;
    }
    return ParsePresetText(file.read(kMaxPresetFileBytes));
}

}  // namespace qireq
