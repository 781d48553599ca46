#pragma once
// Reading a filter text: the window's "Import Filter Text..." and
// `qireq-ctl import` read files alike, so one text gives the same filters in
// both. Tools write these texts in UTF-8, in UTF-16 with a byte order mark
// (Windows Notepad's "Unicode") or in the system's 8-bit code page.
#include <QByteArray>
#include <QString>

class QIODevice;

namespace qireq {

// Filter texts are a few kilobytes; anything far larger is not one.
inline constexpr qint64 kLargestFilterText = 1 << 20;

struct FilterTextRead {
    QString Text;
    QString Error;  // not empty: nothing was read; the message to show
    bool ok() const { return Error.isEmpty(); }
};

// A regular file only (a FIFO would block the reader on its first read), of
// at most kLargestFilterText bytes. Messages name the file as the platform
// writes it: "Cannot open file %1", "%1 is too large for a filter text".
FilterTextRead ReadFilterTextFile(const QString& fileName);

// The same from a device already open (a pipe, standard input); `shown`
// names it in the message.
FilterTextRead ReadFilterText(QIODevice& device, const QString& shown);

// The text as its byte order mark says, else UTF-8, else Latin-1, which
// takes any byte (Windows tools writing in the system's code page).
QString DecodeFilterText(const QByteArray& bytes);

}  // namespace qireq
