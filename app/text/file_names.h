// File names cross to the system in its own encoding of names (UTF-8 on Linux, the ANSI code
// page on Windows), so that a name chosen in a dialog or typed opens the file it shows.
#pragma once

#include <QFile>
#include <QString>
#include <string>

inline std::string ToFileName(const QString& name) {
    return QFile::encodeName(name).toStdString();
}
