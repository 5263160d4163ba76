// Text crosses between the program's 8-bit strings and Qt's strings byte for character: each
// byte is the character of the same code, so device and file names keep every byte.
#pragma once

#include <QString>
#include <string>

inline QString FromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A character beyond the 8-bit range has no byte of its own and becomes '?'.
inline std::string ToBytes(const QString& text) {
    return text.toLatin1().toStdString();
}
