// The window as the program starts it: the port and baud choosers, the file area, the fields and
// the initial states of the controls.
#ifdef _WIN32
#include <windows.h>
#endif

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/services/application_title.h"
#include "app/widgets/delay_spin_edit.h"
#include "app/window/daxtest.h"
#include "app/window/text_area_lines.h"
#include "gui_support.h"

Q_DECLARE_METATYPE(std::vector<std::string>)

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void discoveredPortsFillTheChooserAndTheFileArea_data();
    void discoveredPortsFillTheChooserAndTheFileArea();
    void portsFoundBeforeADiscoveryFailureStayListed();
    void mainFormPointsAtTheWindowWhileDiscoveryRuns();
    void baudChooserHoldsTheEightRatesWith19200Selected();
    void windowStateStartsEmpty();
    void controlsStartEnabledExceptManualEntryAndPlayback();
    void delayFieldStartsAt50Within0To5000();
    void windowHasItsCaptionAndClientSize();
    void windowIsCentredWhenFirstShown();
    void closingTheWindowEndsTheEventLoopWithStatusZero_data();
    void closingTheWindowEndsTheEventLoopWithStatusZero();
};

void StartupTest::discoveredPortsFillTheChooserAndTheFileArea_data() {
    QTest::addColumn<std::vector<TestPort>>("ports");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("selected");
    QTest::addColumn<std::vector<std::string>>("portNames");
    QTest::addColumn<QStringList>("fileLines");

    QTest::newRow("no port") << std::vector<TestPort>{} << QStringList{} << -1
                             << std::vector<std::string>{} << QStringList{};
    QTest::newRow("one port is listed, not selected")
        << std::vector<TestPort>{{"COM1", "Communications Port (COM1)"}}
        << QStringList{"Communications Port (COM1)"} << -1 << std::vector<std::string>{"COM1"}
        << QStringList{"COM1"};
    QTest::newRow("three ports, the second selected")
        << std::vector<TestPort>{{"COM1", "Communications Port (COM1)"},
                                 {"COM3", "USB Serial Port (COM3)"},
                                 {"COM4", "Bluetooth Link (COM4)"}}
        << QStringList{"Communications Port (COM1)", "USB Serial Port (COM3)",
                       "Bluetooth Link (COM4)"}
        << 1 << std::vector<std::string>{"COM1", "COM3", "COM4"}
        << QStringList{"COM1", "COM3", "COM4"};
    // Every byte of a port name is kept; friendly names show in the system's encoding: UTF-8 on
    // Linux, the ANSI code page (1252 in a Western European system) on Windows.
#ifdef _WIN32
    const std::vector<TestPort> eightBitPorts{{"COM1", "Port \xe9"}, {"COM\xb2", "Port \x80"}};
#else
    const std::vector<TestPort> eightBitPorts{{"COM1", "Port \xc3\xa9"},
                                              {"COM\xb2", "Port \xe2\x82\xac"}};
#endif
    QTest::newRow("8-bit names") << eightBitPorts
                                 << QStringList{QString::fromUtf16(u"Port \u00e9"),
                                                QString::fromUtf16(u"Port \u20ac")}
                                 << 1 << std::vector<std::string>{"COM1", "COM\xb2"}
                                 << QStringList{"COM1", QString::fromUtf16(u"COM\u00b2")};
}

void StartupTest::discoveredPortsFillTheChooserAndTheFileArea() {
    QFETCH(std::vector<TestPort>, ports);
    QFETCH(QStringList, items);
    QFETCH(int, selected);
    QFETCH(std::vector<std::string>, portNames);
    QFETCH(QStringList, fileLines);
#ifdef _WIN32
    if (::GetACP() != 1252) QSKIP("the system's code page is not 1252");
#endif

    TestWindow test(ports);
    TMainForm& window = *test.form;

    QStringList shown;
    for (int i = 0; i < window.ComPortCombo->count(); ++i) {
        shown.append(window.ComPortCombo->itemText(i));
    }
    QCOMPARE(shown, items);
    QCOMPARE(window.ComPortCombo->currentIndex(), selected);
    QCOMPARE(window.ComPortCombo->currentText(), selected < 0 ? QString() : items.at(selected));
    QCOMPARE(window.PortNames, portNames);
    // One device name per line, each line ended, as a loaded file shows.
    QCOMPARE(LineCount(*window.UploadFile), fileLines.size());
    for (int i = 0; i < fileLines.size(); ++i) {
        QCOMPARE(LineAt(*window.UploadFile, i), fileLines.at(i));
    }
    QString text;
    for (const QString& line : fileLines) {
        text += line + u'\n';
    }
    QCOMPARE(window.UploadFile->toPlainText(), text);
}

void StartupTest::portsFoundBeforeADiscoveryFailureStayListed() {
    platform::InMemoryRegistry registry;
    FillDeviceTree(registry, {{"COM1", "First"}, {"COM2", "Second"}, {"COM5", "Third"}});
    registry.RefuseOpen(PortInstanceKey(1), ERROR_ACCESS_DENIED);

    TMainForm window(registry);

    QCOMPARE(window.ComPortCombo->count(), 1);
    QCOMPARE(window.ComPortCombo->itemText(0), QString("First"));
    QCOMPARE(window.PortNames, std::vector<std::string>{"COM1"});
    QCOMPARE(window.UploadFile->toPlainText(), QString("COM1\n"));
    QCOMPARE(window.BaudRateCombo->count(), 8);
}

// A registry that looks at MainForm when the walk asks for the version, which it does first.
class ObservingRegistry : public platform::InMemoryRegistry {
public:
    BOOL GetVersionExA(OSVERSIONINFOA* info) override {
        mainFormDuringDiscovery = MainForm;
        return InMemoryRegistry::GetVersionExA(info);
    }
    TMainForm* mainFormDuringDiscovery = nullptr;
};

void StartupTest::mainFormPointsAtTheWindowWhileDiscoveryRuns() {
    ObservingRegistry registry;
    FillDeviceTree(registry, {{"COM1", "One"}});
    {
        TMainForm window(registry);
        QCOMPARE(registry.mainFormDuringDiscovery, &window);
        QCOMPARE(MainForm, &window);
    }
    QCOMPARE(MainForm, nullptr);
}

void StartupTest::baudChooserHoldsTheEightRatesWith19200Selected() {
    TestWindow test;
    TMainForm& window = *test.form;

    QStringList labels;
    for (int i = 0; i < window.BaudRateCombo->count(); ++i) {
        labels.append(window.BaudRateCombo->itemText(i));
    }
    QCOMPARE(labels, (QStringList{"9600", "19200", "38400", "57600", "115.2k", "230.4k", "460.8k",
                                  "921.6k"}));
    QCOMPARE(window.BaudRateCombo->currentIndex(), 1);
    QCOMPARE(window.BaudRateCombo->currentText(), QString("19200"));
    QVERIFY(!window.BaudRateCombo->isEditable());
    QVERIFY(!window.ComPortCombo->isEditable());
}

void StartupTest::windowStateStartsEmpty() {
    TestWindow test(std::vector<TestPort>{{"COM1", "One"}, {"COM2", "Two"}});
    TMainForm& window = *test.form;

    QCOMPARE(window.Port, nullptr);
    QCOMPARE(window.NextLine, 0);
    QCOMPARE(window.Playing, false);
    QVERIFY(window.SendLog->toPlainText().isEmpty());
    QVERIFY(window.LoadEdit->text().isEmpty());
    QVERIFY(window.SaveEdit->text().isEmpty());
    QVERIFY(window.ManualEntry->text().isEmpty());
}

void StartupTest::controlsStartEnabledExceptManualEntryAndPlayback() {
    TestWindow test(std::vector<TestPort>{{"COM1", "One"}, {"COM2", "Two"}});
    TMainForm& window = *test.form;
    window.show();

    QVERIFY(!window.ManualEntry->isEnabled());
    QVERIFY(!window.ButtonPanel->isEnabled());
    for (QWidget* playback :
         std::initializer_list<QWidget*>{window.PlayButton, window.PauseButton, window.StepButton,
                                         window.StopButton, window.DelaySpinEdit}) {
        QVERIFY2(!playback->isEnabled(), qPrintable(playback->objectName()));
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             window.GoButton, window.CloseButton, window.SetPortButton, window.LoadEdit,
             window.SaveEdit, window.PickLoadButton, window.PickSaveButton, window.ComPortCombo,
             window.BaudRateCombo, window.UploadFile, window.SendLog}) {
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    }
}

void StartupTest::delayFieldStartsAt50Within0To5000() {
    TestWindow test;
    TMainForm& window = *test.form;

    QCOMPARE(window.DelaySpinEdit->value(), 50);
    QCOMPARE(window.DelaySpinEdit->minimum(), 0);
    QCOMPARE(window.DelaySpinEdit->maximum(), 5000);
    QCOMPARE(window.DelaySpinEdit->singleStep(), 1);
}

void StartupTest::windowHasItsCaptionAndClientSize() {
    TestWindow test;
    TMainForm& window = *test.form;
    window.show();

    QCOMPARE(window.windowTitle(), QString("Q-Dax Serial Loader"));
    QCOMPARE(window.size(), QSize(486, 409));
    QCOMPARE(window.minimumSize(), QSize(470, 409));
}

void StartupTest::windowIsCentredWhenFirstShown() {
    TestWindow test;
    TMainForm& window = *test.form;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QPoint screenCentre = window.screen()->availableGeometry().center();
    const QPoint offCentre = window.frameGeometry().center() - screenCentre;
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void StartupTest::closingTheWindowEndsTheEventLoopWithStatusZero_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("Close button") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("close box") << 2;
}

void StartupTest::closingTheWindowEndsTheEventLoopWithStatusZero() {
    QFETCH(int, way);
    TestWindow test;
    TMainForm& window = *test.form;
    QVERIFY(ShowActive(window));
    window.LoadEdit->setFocus();
    QTimer::singleShot(0, &window, [&window, way] {
        switch (way) {
            case 0:
                window.CloseButton->click();
                break;
            case 1:
                // With no focus, the loop's own time-out below fails the test.
                if (QWidget* focus = FocusOnceActive(window))
                    QTest::keyClick(focus, Qt::Key_Escape);
                break;
            default:
                window.close();  // what the window system's close box asks for
                break;
        }
    });
    // Should closing fail to end the loop, the test ends it with a status of its own.
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(99); });

    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
