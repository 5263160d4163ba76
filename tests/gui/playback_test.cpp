// Playback: the file area sent line by line, each further line after an answer from the device
// and the command delay; Play, Pause, Step and Stop.
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/services/application_title.h"
#include "app/services/window_services.h"
#include "app/widgets/delay_spin_edit.h"
#include "app/window/daxtest.h"
#include "app/window/text_area_lines.h"
#include "fake_device.h"
#include "gui_support.h"

class PlaybackTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }
    void init();
    void cleanup();

    void eachAnswerSendsTheNextLineUntilTheEnd();
    void aDeviceAnsweringEveryCommandPlaysTheWholeFile();
    void emptyLinesFromTheDeviceDoNotAdvance();
    void playOnAnEmptyAreaStopsAtOnce();
    void stepSendsOneLineAndTheFourthRewinds();
    void stepDoesNothingWhilePlaying();
    void pauseStepStepPauseResumesAtTheNextLine();
    void pauseWhileIdleStartsPlayback();
    void playTwiceSendsTwoLinesAtOnce();
    void stopRewindsAndEnablesManualEntry();
    void playbackSendsWhatTheAreaHoldsNow();
    void aFileLoadedWhilePausedContinuesAtTheSameIndex();
    void resetDuringPlaybackKeepsItRunning();
    void aLongLineIsSentCutTo4096Characters();
    void theDelayIsWaitedAfterEachAnswer();
    void aDelayThatDoesNotReadAsPositiveIsNotWaited_data();
    void aDelayThatDoesNotReadAsPositiveIsNotWaited();
    void aTypedDelayBeyondTheRangeIsUsedAsItReads();

private:
    void SetArea(const std::vector<std::string>& lines);
    // Puts text into the delay field's edit, as typed and not yet confirmed.
    void SetDelayText(const QString& text);
    // Everything the device has received, with nothing more arriving for a moment.
    std::string Sent();

    QTemporaryDir files_;
    std::unique_ptr<PortsDirectory> ports_;
    std::unique_ptr<FakeDevice> device_;
    std::unique_ptr<TestWindow> test_;
    TMainForm* window_ = nullptr;
};

void PlaybackTest::init() {
    ports_ = std::make_unique<PortsDirectory>();
    device_ = std::make_unique<FakeDevice>(*ports_, 4);
    test_ = std::make_unique<TestWindow>(
        std::vector<TestPort>{{"COM1", "One"}, {device_->ComName(), "Device"}});
    window_ = test_->form.get();
    window_->SetPortButton->click();
    QVERIFY(window_->Port != nullptr);
    window_->DelaySpinEdit->setValue(0);
}

void PlaybackTest::cleanup() {
    QVERIFY(test_->runner.boxes.empty());
    test_.reset();
    device_.reset();
    ports_.reset();
}

void PlaybackTest::SetArea(const std::vector<std::string>& lines) {
    SetLines(*window_->UploadFile, lines);
}

void PlaybackTest::SetDelayText(const QString& text) {
    window_->DelaySpinEdit->findChild<QLineEdit*>()->setText(text);
    QCOMPARE(window_->DelaySpinEdit->text(), text);
}

std::string PlaybackTest::Sent() {
    device_->Settle(100);
    return device_->Received();
}

void PlaybackTest::eachAnswerSendsTheNextLineUntilTheEnd() {
    SetArea({"L0", "L1", "L2"});

    window_->PlayButton->click();
    QVERIFY(window_->Playing);
    QVERIFY(!window_->ManualEntry->isEnabled());
    QCOMPARE(window_->NextLine, 1);
    QVERIFY(device_->WaitForBytes(3));
    QCOMPARE(device_->Received(), std::string("L0\r"));

    window_->OnLineReceived("A0");
    QCOMPARE(window_->NextLine, 2);
    window_->OnLineReceived("A1");
    QCOMPARE(window_->NextLine, 3);
    QVERIFY(window_->Playing);
    QVERIFY(device_->WaitForBytes(9));
    QCOMPARE(device_->Received(), std::string("L0\rL1\rL2\r"));

    window_->OnLineReceived("A2");  // no line left
    QVERIFY(!window_->Playing);
    QCOMPARE(window_->NextLine, 0);
    QVERIFY(window_->ManualEntry->isEnabled());
    QCOMPARE(Sent(), std::string("L0\rL1\rL2\r"));
    QCOMPARE(window_->SendLog->toPlainText(),
             QString("--> L0\n<-- A0\n--> L1\n<-- A1\n--> L2\n<-- A2"));
}

void PlaybackTest::aDeviceAnsweringEveryCommandPlaysTheWholeFile() {
    SetArea({"VER", "RUN", "END"});
    window_->PlayButton->click();

    for (std::size_t answered = 0; answered < 3; ++answered) {
        QVERIFY(device_->WaitForBytes(4 * (answered + 1)));
        device_->Send("OK\r\n");
    }

    QTRY_VERIFY(!window_->Playing);
    QCOMPARE(window_->NextLine, 0);
    QCOMPARE(Sent(), std::string("VER\rRUN\rEND\r"));
    QCOMPARE(window_->SendLog->toPlainText(),
             QString("--> VER\n<-- OK\n--> RUN\n<-- OK\n--> END\n<-- OK"));
}

void PlaybackTest::emptyLinesFromTheDeviceDoNotAdvance() {
    SetArea({"L0", "L1"});
    window_->PlayButton->click();

    window_->OnLineReceived("");

    QCOMPARE(window_->NextLine, 1);
    QCOMPARE(Sent(), std::string("L0\r"));
}

void PlaybackTest::playOnAnEmptyAreaStopsAtOnce() {
    window_->UploadFile->clear();

    window_->PlayButton->click();

    QVERIFY(!window_->Playing);
    QCOMPARE(window_->NextLine, 0);
    QVERIFY(window_->ManualEntry->isEnabled());
    QCOMPARE(Sent(), std::string());
    QVERIFY(window_->SendLog->toPlainText().isEmpty());
}

void PlaybackTest::stepSendsOneLineAndTheFourthRewinds() {
    SetArea({"S0", "S1", "S2"});
    for (int press = 1; press <= 3; ++press) {
        window_->StepButton->click();
        QCOMPARE(window_->NextLine, press);
        QVERIFY(!window_->Playing);
        QVERIFY(window_->ManualEntry->isEnabled());
    }
    QVERIFY(device_->WaitForBytes(9));

    window_->StepButton->click();

    QCOMPARE(window_->NextLine, 0);
    QCOMPARE(Sent(), std::string("S0\rS1\rS2\r"));
}

void PlaybackTest::stepDoesNothingWhilePlaying() {
    SetArea({"L0", "L1", "L2"});
    window_->PlayButton->click();

    window_->StepButton->click();

    QCOMPARE(window_->NextLine, 1);
    QVERIFY(window_->Playing);
    QCOMPARE(Sent(), std::string("L0\r"));
}

void PlaybackTest::pauseStepStepPauseResumesAtTheNextLine() {
    SetArea({"L0", "L1", "L2", "L3", "L4"});
    window_->PlayButton->click();

    window_->PauseButton->click();
    QVERIFY(!window_->Playing);
    QVERIFY(window_->ManualEntry->isEnabled());
    window_->OnLineReceived("late answer");  // paused: no advance
    QCOMPARE(window_->NextLine, 1);

    window_->StepButton->click();
    window_->StepButton->click();
    QCOMPARE(window_->NextLine, 3);

    window_->PauseButton->click();
    QVERIFY(window_->Playing);
    QVERIFY(!window_->ManualEntry->isEnabled());
    QCOMPARE(window_->NextLine, 4);
    QCOMPARE(Sent(), std::string("L0\rL1\rL2\rL3\r"));

    window_->OnLineReceived("ok");
    QCOMPARE(window_->NextLine, 5);
}

void PlaybackTest::pauseWhileIdleStartsPlayback() {
    SetArea({"L0", "L1"});

    window_->PauseButton->click();

    QVERIFY(window_->Playing);
    QVERIFY(!window_->ManualEntry->isEnabled());
    QCOMPARE(Sent(), std::string("L0\r"));
}

void PlaybackTest::playTwiceSendsTwoLinesAtOnce() {
    SetArea({"L0", "L1", "L2"});

    window_->PlayButton->click();
    window_->PlayButton->click();

    QCOMPARE(window_->NextLine, 2);
    QCOMPARE(Sent(), std::string("L0\rL1\r"));
}

void PlaybackTest::stopRewindsAndEnablesManualEntry() {
    SetArea({"L0", "L1", "L2"});
    window_->PlayButton->click();
    window_->OnLineReceived("ok");

    window_->StopButton->click();

    QVERIFY(!window_->Playing);
    QCOMPARE(window_->NextLine, 0);
    QVERIFY(window_->ManualEntry->isEnabled());
    window_->OnLineReceived("ok");  // stopped: no advance
    QCOMPARE(Sent(), std::string("L0\rL1\r"));
}

void PlaybackTest::playbackSendsWhatTheAreaHoldsNow() {
    SetArea({"L0", "L1"});
    window_->PlayButton->click();
    SetArea({"L0", "EDITED"});

    window_->OnLineReceived("ok");

    QCOMPARE(Sent(), std::string("L0\rEDITED\r"));
}

void PlaybackTest::aFileLoadedWhilePausedContinuesAtTheSameIndex() {
    SetArea({"OLD0", "OLD1", "OLD2"});
    window_->PlayButton->click();
    window_->PauseButton->click();
    const QString path = files_.filePath("new.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("NEW0\r\nNEW1\r\nNEW2\r\n");
    file.close();
    window_->LoadEdit->setText(path);
    QTest::keyClick(window_->LoadEdit, Qt::Key_Return);

    window_->StepButton->click();

    QCOMPARE(Sent(), std::string("OLD0\rNEW1\r"));
}

void PlaybackTest::resetDuringPlaybackKeepsItRunning() {
    SetArea({"L0", "L1", "L2"});
    window_->PlayButton->click();

    window_->SetPortButton->click();

    QVERIFY(window_->Playing);
    QCOMPARE(window_->NextLine, 1);
    QVERIFY(window_->ManualEntry->isEnabled());
    device_->Send("OK\r");
    QTRY_COMPARE(window_->NextLine, 2);
    QVERIFY(device_->WaitForBytes(6));
    QCOMPARE(device_->Received(), std::string("L0\rL1\r"));
}

void PlaybackTest::aLongLineIsSentCutTo4096Characters() {
    SetArea({std::string(5000, 'x')});

    window_->StepButton->click();

    QCOMPARE(window_->SendLog->toPlainText(), "--> " + QString(4096, u'x'));
    // The port sends the whole command, however many writes it takes, and its carriage return.
    QVERIFY(device_->WaitForBytes(4097));
    QCOMPARE(Sent(), std::string(4096, 'x') + '\r');
}

void PlaybackTest::theDelayIsWaitedAfterEachAnswer() {
    SetArea({"L0", "L1"});
    window_->DelaySpinEdit->setValue(300);
    window_->PlayButton->click();
    QElapsedTimer clock;

    clock.start();
    window_->OnLineReceived("ok");

    QVERIFY2(clock.elapsed() >= 300, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(window_->NextLine, 2);
    QCOMPARE(Sent(), std::string("L0\rL1\r"));
}

void PlaybackTest::aDelayThatDoesNotReadAsPositiveIsNotWaited_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("textAfter");
    QTest::newRow("zero") << "0"
                          << "0";
    QTest::newRow("negative") << "-5"
                              << "-5";
    QTest::newRow("not a number") << "abc"
                                  << "0";
}

void PlaybackTest::aDelayThatDoesNotReadAsPositiveIsNotWaited() {
    QFETCH(QString, typed);
    QFETCH(QString, textAfter);
    SetArea({"L0", "L1"});
    window_->PlayButton->click();
    SetDelayText(typed);

    window_->OnLineReceived("ok");

    QCOMPARE(window_->NextLine, 2);
    QCOMPARE(window_->DelaySpinEdit->text(), textAfter);
    QCOMPARE(Sent(), std::string("L0\rL1\r"));
}

// A value typed but not confirmed counts as it reads, unclamped (only leaving the field clamps).
void PlaybackTest::aTypedDelayBeyondTheRangeIsUsedAsItReads() {
    SetArea({"L0", "L1"});
    window_->PlayButton->click();
    SetDelayText("5200");
    QElapsedTimer clock;

    clock.start();
    window_->OnLineReceived("ok");
    const qint64 waited = clock.elapsed();

    QVERIFY2(waited >= 5200, qPrintable(QString::number(waited)));
    QCOMPARE(window_->NextLine, 2);
}

QTEST_MAIN(PlaybackTest)
#include "playback_test.moc"
