#pragma once
// Frames written the way the protocol describes them: "01 20 03 40 09 0B ..."
#include <QByteArray>

namespace qireq::test {

// Hexadecimal pairs, spaces allowed between them.
inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

}  // namespace qireq::test
