// A long playback: 100,000 lines to a device that echoes each command before answering it. Every
// received line advances playback, so sending runs ahead of the device and reads never wait for
// silence: the soak is paced by the machine, not by the read-interval time-out. Every line of the
// file reaches the wire once and in order, and every line the device sent is in the log.
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "app/services/application_title.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"

using namespace e2e;

namespace {

constexpr int kLines = 100'000;
// The whole soak, on a loaded machine under a sanitizer.
constexpr int kSoakTimeoutMs = 480'000;

QString CommandLine(int index) {
    return QString("L%1").arg(index);
}

// The lines of `log` that start with `prefix`, without it.
QStringList LinesAfter(const QStringList& log, const QString& prefix) {
    QStringList lines;
    for (const QString& line : log) {
        if (line.startsWith(prefix)) lines << line.mid(prefix.size());
    }
    return lines;
}

}  // namespace

class SoakFaultTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void aHundredThousandLinesPlayOutWithNothingLost();
};

void SoakFaultTest::aHundredThousandLinesPlayOutWithNothingLost() {
    QStringList commands;
    QByteArray file;
    QByteArray wire;
    for (int i = 0; i < kLines; ++i) {
        commands << CommandLine(i);
        file += CommandLine(i).toLatin1() + "\r\n";
        wire += CommandLine(i).toLatin1() + "\r";
    }
    Scenario scenario;
    Device& device = scenario.StartDevice({"--echo"});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("soak.txt"), file);
    TypeDelay(window, 0);

    Click(window.PlayButton);

    QTRY_VERIFY_WITH_TIMEOUT(!window.Playing, kSoakTimeoutMs);
    QCOMPARE(window.NextLine, 0);
    // Playback stopped at the first answer after the last line; the rest of the answers follow.
    // The count alone while waiting: decoding 300,000 lines on each look would starve the window.
    QTRY_COMPARE_WITH_TIMEOUT(window.SendLog->LineCount(), std::size_t{3 * kLines}, kSoakTimeoutMs);
    const QStringList log = LogLines(window);
    QVERIFY(LinesAfter(log, "--> ") == commands);
    const QStringList received = LinesAfter(log, "<-- ");
    QCOMPARE(received.size(), 2 * kLines);
    QCOMPARE(received.count("OK"), kLines);
    QStringList echoes = received;
    echoes.removeAll("OK");
    QVERIFY(echoes == commands);
    QTRY_COMPARE_WITH_TIMEOUT(device.Wire().size(), wire.size(), kWaitMs);
    QVERIFY(device.Wire() == wire);
    QVERIFY(scenario.Boxes().boxes.empty());
}

QTEST_MAIN(SoakFaultTest)
#include "soak_fault_test.moc"
