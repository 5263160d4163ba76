// The file area as a list of lines: the lines playback sends.
#pragma once

#include <QString>
#include <string>
#include <vector>

class QPlainTextEdit;

// The lines of the area: an empty area has none, and an empty line after the last line end is
// not counted.
int LineCount(const QPlainTextEdit& area);
QString LineAt(const QPlainTextEdit& area, int index);

// Replaces the text with `lines`, each followed by a line end, so that an empty last line is
// kept as a line.
void SetLines(QPlainTextEdit& area, const std::vector<std::string>& lines);
