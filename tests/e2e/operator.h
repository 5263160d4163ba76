// What an operator does with the window, through its controls, and what the scenarios read back
// from it: the log as shown, and files and wire bytes as 8-bit text.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>

class QAbstractButton;
class QLineEdit;
class QAbstractScrollArea;
class TMainForm;

namespace e2e {

// Picks item `index` of the port chooser with the keyboard (Home, then Down).
void SelectPort(TMainForm& window, int index);
// Picks the port at `index` and presses "Reset Port".
void OpenPort(TMainForm& window, int index);

void Click(QAbstractButton* button);
void DoubleClick(QAbstractScrollArea* area);

// Replaces the text of `edit` by selecting it all and typing `text`.
void Type(QLineEdit* edit, const QString& text);
void PressEnter(QLineEdit* edit);
// Types `text` into `edit` and presses Enter.
void Enter(QLineEdit* edit, const QString& text);
// Writes `bytes` as the file at `path` and loads it by typing its name and Enter in LoadEdit.
void LoadCommandFile(TMainForm& window, const std::string& path, const QByteArray& bytes);
// Types the command delay into its field, as not yet confirmed text.
void TypeDelay(TMainForm& window, int milliseconds);

// The lines of the log, each character as shown (no conversion of special spaces).
QStringList LogLines(const TMainForm& window);

// Bytes as the window shows them: through the system's 8-bit character set.
QString SystemText(const QByteArray& bytes);
QByteArray ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const QByteArray& bytes);

}  // namespace e2e
