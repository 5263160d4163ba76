// "Reset Port": creating and re-opening the window's one port object with the chosen device and
// baud rate, and what the operator is told when that cannot be done.
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/services/application_title.h"
#include "app/services/window_services.h"
#include "app/window/daxtest.h"
#include "fake_device.h"
#include "gui_support.h"
#include "serial/serial_port_info.h"

class PortTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void resetWithoutASelectedPortShowsTheIndexError_data();
    void resetWithoutASelectedPortShowsTheIndexError();
    void firstResetOpensTheChosenPortAtTheChosenRate_data();
    void firstResetOpensTheChosenPortAtTheChosenRate();
    void laterResetsReopenTheSameObject();
    void aPortThatCannotBeOpenedIsReportedAndTheControlsStillOpen();
    void changingThePortMovesTheObjectAndKeepsTheLog();
};

void PortTest::resetWithoutASelectedPortShowsTheIndexError_data() {
    QTest::addColumn<std::vector<TestPort>>("ports");
    QTest::newRow("no port") << std::vector<TestPort>{};
    QTest::newRow("one port, not selected") << std::vector<TestPort>{{"COM1", "One"}};
}

void PortTest::resetWithoutASelectedPortShowsTheIndexError() {
    QFETCH(std::vector<TestPort>, ports);
    TestWindow test(ports);
    TMainForm& window = *test.form;
    RecordingModalRunner& runner = test.runner;

    window.SetPortButton->click();

    QCOMPARE(runner.boxes.size(), std::size_t{1});
    QCOMPARE(runner.boxes[0].text, QString("List index out of bounds (-1)"));
    QCOMPARE(runner.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(window.Port, nullptr);
    QVERIFY(!window.ManualEntry->isEnabled());
    QVERIFY(!window.ButtonPanel->isEnabled());
}

void PortTest::firstResetOpensTheChosenPortAtTheChosenRate_data() {
    QTest::addColumn<int>("baudIndex");
    QTest::addColumn<int>("baud");
    const int rates[] = {9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
    for (int i = 0; i < 8; ++i) {
        QTest::newRow(qPrintable(QString::number(rates[i]))) << i << rates[i];
    }
}

void PortTest::firstResetOpensTheChosenPortAtTheChosenRate() {
    QFETCH(int, baudIndex);
    QFETCH(int, baud);
    PortsDirectory ports;
    FakeDevice device(ports, 7);
    TestWindow test(std::vector<TestPort>{{"COM1", "One"}, {device.ComName(), "Device"}});
    TMainForm& window = *test.form;
    RecordingModalRunner& runner = test.runner;
    window.BaudRateCombo->setCurrentIndex(baudIndex);

    window.SetPortButton->click();

    QVERIFY(runner.boxes.empty());
    QVERIFY(window.Port != nullptr);
    QVERIFY(window.Port->IsOpen());
    QCOMPARE(window.Port->BaudRate(), baud);
    QCOMPARE(window.Port->Parity(), ParityNone);
    QCOMPARE(window.Port->StopBits(), StopBitsOne);
    QCOMPARE(window.Port->ReadIntervalTimeout(), 50);
    QVERIFY(window.Port->Reader() != nullptr);
    QVERIFY(window.ManualEntry->isEnabled());
    QVERIFY(window.ButtonPanel->isEnabled());
}

void PortTest::laterResetsReopenTheSameObject() {
    PortsDirectory ports;
    FakeDevice device(ports, 7);
    TestWindow test(std::vector<TestPort>{{"COM1", "One"}, {device.ComName(), "Device"}});
    TMainForm& window = *test.form;
    RecordingModalRunner& runner = test.runner;
    window.SetPortButton->click();
    SerialPortInfo* const first = window.Port;
    const ReadSerialThread* const reader = first->Reader();

    window.BaudRateCombo->setCurrentIndex(4);
    window.SetPortButton->click();

    QCOMPARE(window.Port, first);
    QCOMPARE(window.Port->Reader(), reader);
    QVERIFY(window.Port->IsOpen());
    QCOMPARE(window.Port->BaudRate(), 115200);
    QVERIFY(runner.boxes.empty());

    // The re-opened port still delivers what the device sends.
    device.Send("OK\r");
    QTRY_COMPARE(window.SendLog->toPlainText(), QString("<-- OK"));
}

void PortTest::aPortThatCannotBeOpenedIsReportedAndTheControlsStillOpen() {
    PortsDirectory ports;
    FakeDevice device(ports, 7);
    TestWindow test(std::vector<TestPort>{{"COM1", "One"}, {"COM8", "Nothing behind it"}});
    TMainForm& window = *test.form;
    RecordingModalRunner& runner = test.runner;

    window.SetPortButton->click();

    QCOMPARE(runner.boxes.size(), std::size_t{1});
    QCOMPARE(runner.boxes[0].text, QString("Unable to open serial port"));
    QCOMPARE(runner.boxes[0].caption, QString("Error"));
    QCOMPARE(runner.boxes[0].icon, QMessageBox::NoIcon);
    QCOMPARE(runner.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(window.Port != nullptr);
    QVERIFY(!window.Port->IsOpen());
    QVERIFY(window.ManualEntry->isEnabled());
    QVERIFY(window.ButtonPanel->isEnabled());

    // Commands are logged all the same.
    window.ManualEntry->setText("VER");
    QTest::keyClick(window.ManualEntry, Qt::Key_Return);
    QCOMPARE(window.SendLog->toPlainText(), QString("--> VER"));
}

void PortTest::changingThePortMovesTheObjectAndKeepsTheLog() {
    PortsDirectory ports;
    FakeDevice first(ports, 7);
    FakeDevice second(ports, 9);
    TestWindow test(
        std::vector<TestPort>{{first.ComName(), "First"}, {second.ComName(), "Second"}});
    TMainForm& window = *test.form;
    RecordingModalRunner& runner = test.runner;
    window.SetPortButton->click();  // the second port is selected at start
    SerialPortInfo* const port = window.Port;
    window.SendCommand("A");
    QVERIFY(second.WaitForBytes(2));

    window.ComPortCombo->setCurrentIndex(0);
    window.SetPortButton->click();
    window.SendCommand("B");

    QVERIFY(first.WaitForBytes(2));
    QCOMPARE(first.Received(), std::string("B\r"));
    QCOMPARE(second.Received(), std::string("A\r"));
    QCOMPARE(window.Port, port);
    QVERIFY(runner.boxes.empty());
    QCOMPARE(window.SendLog->toPlainText(), QString("--> A\n--> B"));
    first.Send("FROM FIRST\r");
    QTRY_COMPARE(window.SendLog->toPlainText(), QString("--> A\n--> B\n<-- FROM FIRST"));
}

QTEST_MAIN(PortTest)
#include "port_test.moc"
