// The application's error box and the handler guard, the program's own message box, and the
// services that connect the code below the window to it: the message box handler and the
// hand-over of tasks to the window thread.
#ifdef _WIN32
#include <windows.h>
#endif

#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "app/boxes/error_box.h"
#include "app/boxes/handler_guard.h"
#include "app/boxes/program_message_box.h"
#include "app/services/application_title.h"
#include "app/services/window_services.h"
#include "app/window/daxtest.h"
#include "gui_support.h"
#include "platform/comm.h"
#include "platform/message_box.h"
#include "platform/window_dispatcher.h"
#include "playback/app_error.h"

class BoxesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void fullStopIsAddedAfterCharactersAboveIt_data();
    void fullStopIsAddedAfterCharactersAboveIt();
    void errorBoxHasTheTitleStopIconAndOk();
    void guardShowsTheExceptionAndTheProgramGoesOn();
    void guardShowsNothingWhenTheHandlerSucceeds();
    void guardShowsAnExceptionOfUnknownKind();
    void windowGuardShowsTheErrorBoxOverTheWindow();
    void programBoxHasOkAndNoIcon();
    void programBoxAddsTheSystemReasonOnlyForAnError();
    void accessDeniedAdviceNamesTheDialoutGroup();
    void servicesShowTheProgramBoxThroughTheWindow();
    void servicesPutBackWhatWasInstalledBefore();
    void postedTasksRunOnTheWindowThreadInOrder();
    void anExceptionFromAPostedTaskIsShownAndLaterTasksStillRun();
    void tasksStillQueuedWhenTheWindowGoesAreDropped();
};

void BoxesTest::fullStopIsAddedAfterCharactersAboveIt_data() {
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("letter") << QByteArray("Cannot open file x")
                            << QByteArray("Cannot open file x.");
    QTest::newRow("full stop") << QByteArray("Done.") << QByteArray("Done.");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
    QTest::newRow("closing bracket sorts below") << QByteArray("List index out of bounds (-1)")
                                                 << QByteArray("List index out of bounds (-1)");
    QTest::newRow("comma sorts below") << QByteArray("a,") << QByteArray("a,");
    QTest::newRow("hyphen sorts below") << QByteArray("a-") << QByteArray("a-");
    QTest::newRow("exclamation sorts below") << QByteArray("Stop!") << QByteArray("Stop!");
    QTest::newRow("space sorts below") << QByteArray("a ") << QByteArray("a ");
    QTest::newRow("line feed sorts below") << QByteArray("a\n") << QByteArray("a\n");
    QTest::newRow("slash sorts above") << QByteArray("a/") << QByteArray("a/.");
    QTest::newRow("digit") << QByteArray("COM1") << QByteArray("COM1.");
    QTest::newRow("question mark sorts above") << QByteArray("Why?") << QByteArray("Why?.");
    QTest::newRow("8-bit character") << QByteArray("caf\xe9") << QByteArray("caf\xe9.");
}

void BoxesTest::fullStopIsAddedAfterCharactersAboveIt() {
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, shown);
    QCOMPARE(QByteArray::fromStdString(ErrorBoxText(message.toStdString())), shown);
}

void BoxesTest::errorBoxHasTheTitleStopIconAndOk() {
#ifdef _WIN32
    if (::GetACP() != 1252) QSKIP("the system's code page is not 1252");
    const char* const message = "Cannot create file \xe9<b>";
#else
    const char* const message = "Cannot create file \xc3\xa9<b>";
#endif
    QMessageBox box;
    // A file name as the system spells it (UTF-8 on Linux, the ANSI code page on Windows), shown
    // as typed; markup stays plain text.
    ConfigureErrorBox(box, message);
    QCOMPARE(box.windowTitle(), QString("Q-Dax Communications Test Program"));
    QCOMPARE(box.icon(), QMessageBox::Critical);
    QCOMPARE(box.standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.textFormat(), Qt::PlainText);
    QCOMPARE(box.text(), QString::fromUtf16(u"Cannot create file \u00e9<b>."));
}

void BoxesTest::guardShowsTheExceptionAndTheProgramGoesOn() {
    RecordingModalRunner runner;
    int reached = 0;
    RunGuarded(runner, nullptr, [&] {
        reached = 1;
        throw AppError("Cannot open file missing.txt");
    });
    RunGuarded(runner, nullptr, [&] { reached = 2; });

    QCOMPARE(reached, 2);
    QCOMPARE(runner.boxes.size(), std::size_t{1});
    QCOMPARE(runner.boxes[0].text, QString("Cannot open file missing.txt."));
    QCOMPARE(runner.boxes[0].caption, QString("Q-Dax Communications Test Program"));
    QCOMPARE(runner.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(runner.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void BoxesTest::guardShowsNothingWhenTheHandlerSucceeds() {
    RecordingModalRunner runner;
    bool ran = false;
    RunGuarded(runner, nullptr, [&] { ran = true; });
    QVERIFY(ran);
    QVERIFY(runner.boxes.empty());
}

void BoxesTest::guardShowsAnExceptionOfUnknownKind() {
    RecordingModalRunner runner;
    RunGuarded(runner, nullptr, [] { throw 42; });
    QCOMPARE(runner.boxes.size(), std::size_t{1});
    QCOMPARE(runner.boxes[0].icon, QMessageBox::Critical);
    QVERIFY(!runner.boxes[0].text.isEmpty());
}

void BoxesTest::windowGuardShowsTheErrorBoxOverTheWindow() {
    TestWindow test;
    TMainForm& window = *test.form;
    RecordingModalRunner& runner = test.runner;

    window.Guard([] { throw std::out_of_range("List index out of bounds (-1)"); });

    QCOMPARE(runner.boxes.size(), std::size_t{1});
    QCOMPARE(runner.boxes[0].text, QString("List index out of bounds (-1)"));
    QCOMPARE(runner.boxes[0].parent, &window);
}

void BoxesTest::programBoxHasOkAndNoIcon() {
    QMessageBox box;
    ConfigureProgramMessageBox(box, "No File Selected", "Can't Load File", 0);
    QCOMPARE(box.windowTitle(), QString("Can't Load File"));
    QCOMPARE(box.text(), QString("No File Selected"));
    QCOMPARE(box.icon(), QMessageBox::NoIcon);
    QCOMPARE(box.standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.windowModality(), Qt::ApplicationModal);
    QVERIFY(box.informativeText().isEmpty());
}

void BoxesTest::programBoxAddsTheSystemReasonOnlyForAnError() {
    char* buffer = nullptr;
    const DWORD length = platform::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    QVERIFY(length > 0);
    const QString systemText = QString::fromLatin1(buffer, length).trimmed();
    platform::LocalFree(buffer);

    QMessageBox box;
    ConfigureProgramMessageBox(box, "Unable to open serial port", "Error", ERROR_FILE_NOT_FOUND);
    QCOMPARE(box.text(), QString("Unable to open serial port"));
    QVERIFY(box.informativeText().startsWith(systemText));
    QVERIFY(!box.informativeText().contains("dialout"));
#ifndef _WIN32
    QVERIFY(box.informativeText().contains("adapter is not plugged in"));
#endif
}

void BoxesTest::accessDeniedAdviceNamesTheDialoutGroup() {
    const QString reason = SystemErrorReason(ERROR_ACCESS_DENIED);
    QVERIFY(!reason.endsWith(u'\n'));
#ifndef _WIN32
    QVERIFY(reason.contains("open in another program"));
    QVERIFY(reason.contains("sudo usermod -aG dialout $USER"));
    QVERIFY(reason.contains("log out and in again"));
#endif
}

void BoxesTest::servicesShowTheProgramBoxThroughTheWindow() {
    TestWindow test;
    TMainForm& window = *test.form;
    RecordingModalRunner& runner = test.runner;

    platform::ShowMessageBox("Unable to open serial port", "Error", ERROR_ACCESS_DENIED);

    QCOMPARE(runner.boxes.size(), std::size_t{1});
    const RecordedBox& box = runner.boxes[0];
    QCOMPARE(box.caption, QString("Error"));
    QCOMPARE(box.text, QString("Unable to open serial port"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.informativeText, SystemErrorReason(ERROR_ACCESS_DENIED));
    QCOMPARE(box.parent, &window);
}

// A dispatcher that only counts; stands for whatever was installed before.
class CountingDispatcher : public platform::WindowDispatcher {
public:
    void Post(std::function<void()>) override { ++posts; }
    int posts = 0;
};

void BoxesTest::servicesPutBackWhatWasInstalledBefore() {
    CountingDispatcher before;
    platform::WindowDispatcher* const original = platform::InstallWindowDispatcher(&before);
    std::vector<std::string> earlierBoxes;
    platform::MessageBoxHandler originalBox = platform::SetMessageBoxHandler(
        [&](const std::string& text, const std::string&, DWORD) { earlierBoxes.push_back(text); });
    {
        platform::InMemoryRegistry registry;
        FillDeviceTree(registry, {});
        TMainForm window(registry);
        RecordingModalRunner runner;
        window.SetModalRunner(runner);
        WindowServices services(window);
        QVERIFY(&platform::ActiveWindowDispatcher() != &before);
        platform::ShowMessageBox("inside", "Error");
        QCOMPARE(runner.boxes.size(), std::size_t{1});
    }
    platform::ShowMessageBox("after", "Error");
    QCOMPARE(&platform::ActiveWindowDispatcher(), &before);
    QCOMPARE(earlierBoxes, std::vector<std::string>{"after"});

    platform::SetMessageBoxHandler(std::move(originalBox));
    platform::InstallWindowDispatcher(original);
}

void BoxesTest::postedTasksRunOnTheWindowThreadInOrder() {
    TestWindow test;
    TMainForm& window = *test.form;
    QtWindowDispatcher dispatcher(window);
    std::vector<int> order;
    std::atomic<int> offThread{0};

    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) {
            dispatcher.Post([&, i] {
                offThread += QThread::currentThread() != window.thread();
                order.push_back(i);
            });
        }
    });
    worker.join();
    QVERIFY(order.empty());  // queued, not run by the posting thread

    QTRY_COMPARE(order.size(), std::size_t{3});
    QCOMPARE(order, (std::vector<int>{0, 1, 2}));
    QCOMPARE(offThread.load(), 0);
}

void BoxesTest::anExceptionFromAPostedTaskIsShownAndLaterTasksStillRun() {
    TestWindow test;
    TMainForm& window = *test.form;
    RecordingModalRunner& runner = test.runner;
    QtWindowDispatcher dispatcher(window);
    bool laterRan = false;

    dispatcher.Post([] { throw AppError("Line callback failed"); });
    dispatcher.Post([&] { laterRan = true; });

    QTRY_VERIFY(laterRan);
    QCOMPARE(runner.boxes.size(), std::size_t{1});
    QCOMPARE(runner.boxes[0].text, QString("Line callback failed."));
    QCOMPARE(runner.boxes[0].icon, QMessageBox::Critical);
}

void BoxesTest::tasksStillQueuedWhenTheWindowGoesAreDropped() {
    platform::InMemoryRegistry registry;
    FillDeviceTree(registry, {});
    bool ran = false;
    {
        TMainForm window(registry);
        QtWindowDispatcher dispatcher(window);
        dispatcher.Post([&] { ran = true; });
    }
    // A task posted afterwards proves the queue has been served past the dropped one.
    bool served = false;
    QMetaObject::invokeMethod(
        qApp, [&] { served = true; }, Qt::QueuedConnection);
    QTRY_VERIFY(served);
    QVERIFY(!ran);
}

QTEST_MAIN(BoxesTest)
#include "boxes_test.moc"
