#include "platform/SerialPortEnumeration.h"

#include <qt_windows.h>

#include <vector>

namespace qireq {

QStringList EnumerateSerialPorts()
{
    QStringList names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key)
        != ERROR_SUCCESS)
        return names;

    DWORD valueCount = 0;
    DWORD maxNameChars = 0;
    DWORD maxDataBytes = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
            &maxNameChars, &maxDataBytes, nullptr, nullptr)
        == ERROR_SUCCESS) {
        std::vector<wchar_t> valueName(maxNameChars + 1);
        // Room for a terminating zero the stored string may lack.
        std::vector<BYTE> data(maxDataBytes + 2 * sizeof(wchar_t));
        for (DWORD index = 0; index < valueCount; ++index) {
            DWORD nameChars = static_cast<DWORD>(valueName.size());
            DWORD dataBytes = static_cast<DWORD>(data.size() - 2 * sizeof(wchar_t));
            DWORD type = 0;
            const LONG result = RegEnumValueW(key, index, valueName.data(), &nameChars, nullptr,
                &type, data.data(), &dataBytes);
            if (result == ERROR_NO_MORE_ITEMS)
                break;
            if (result != ERROR_SUCCESS || type != REG_SZ)
                continue;
            const auto* text = reinterpret_cast<const wchar_t*>(data.data());
            qsizetype chars = static_cast<qsizetype>(dataBytes / sizeof(wchar_t));
            while (chars > 0 && text[chars - 1] == L'\0')
                --chars;
            names.append(QString::fromWCharArray(text, chars));
        }
    }
    RegCloseKey(key);
    return names;
}

}  // namespace qireq
