#include "tests/e2e/operator.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "app/text/qstring_bytes.h"
#include "app/widgets/delay_spin_edit.h"
#include "app/window/daxtest.h"

namespace e2e {

void SelectPort(TMainForm& window, int index) {
    QComboBox* chooser = window.ComPortCombo;
    chooser->setFocus();
    QTest::keyClick(chooser, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(chooser, Qt::Key_Down);
}

void OpenPort(TMainForm& window, int index) {
    SelectPort(window, index);
    Click(window.SetPortButton);
}

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

void DoubleClick(QAbstractScrollArea* area) {
    QTest::mouseDClick(area->viewport(), Qt::LeftButton);
}

void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Delete);
    } else {
        QTest::keyClicks(edit, text);
    }
}

void PressEnter(QLineEdit* edit) {
    QTest::keyClick(edit, Qt::Key_Return);
}

void Enter(QLineEdit* edit, const QString& text) {
    Type(edit, text);
    PressEnter(edit);
}

void LoadCommandFile(TMainForm& window, const std::string& path, const QByteArray& bytes) {
    WriteBytes(path, bytes);
    Enter(window.LoadEdit, QString::fromStdString(path));
}

void TypeDelay(TMainForm& window, int milliseconds) {
    window.DelaySpinEdit->setFocus();
    window.DelaySpinEdit->selectAll();
    QTest::keyClicks(window.DelaySpinEdit, QString::number(milliseconds));
}

QStringList LogLines(const TMainForm& window) {
    QStringList lines;
    for (std::size_t i = 0; i < window.SendLog->LineCount(); ++i) {
        const std::string_view line = window.SendLog->LineBytes(i);
        lines << FromBytes(line);
    }
    return lines;
}

QString SystemText(const QByteArray& bytes) {
    return FromBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QByteArray ReadBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path);
    return file.readAll();
}

void WriteBytes(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace e2e
