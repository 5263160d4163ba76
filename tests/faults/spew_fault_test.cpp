// A device spewing binary bytes, NULs among them and never a line end, for a minute at the rate
// of a fast serial line. The window's memory stays bounded, it keeps serving events and the
// operator's commands still reach the device; what is logged is pieces of at most a line's
// length, cut at the NULs.
#include <QCoreApplication>
#include <QLineEdit>
#include <QMetaObject>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <vector>

#include "app/services/application_title.h"
#include "serial/line_assembler.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"
#include "tests/faults/memory_in_use.h"

using namespace e2e;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kSpewFor = std::chrono::seconds(60);
constexpr int kSpewBytesPerSecond = 92'160;  // a line at 921.6 kbit/s, flat out
constexpr int kCommandEverySamples = 10;
// The spew goes on being logged: no stretch this long passes without a received piece. How many
// pieces a second depends on how the system cuts the stream into reads, so that is not counted.
constexpr int kLoggingStretchSamples = 10;
// The log of a minute's spew holds about 2.5 MB of text; this leaves room for the allocator, and
// anything that grows per read or per line goes past it.
constexpr std::size_t kGrowthBound = 64u << 20;

QStringList ReceivedLines(const QStringList& log) {
    return log.filter(QRegularExpression("^<-- "));
}

}  // namespace

class SpewFaultTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void aMinuteOfBinarySpewKeepsMemoryBoundedAndTheWindowAnswering();
};

void SpewFaultTest::aMinuteOfBinarySpewKeepsMemoryBoundedAndTheWindowAnswering() {
    Scenario scenario;
    Device& device =
        scenario.StartDevice({"--spew", QByteArray::number(kSpewBytesPerSecond).toStdString()});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    const std::size_t baseline = qdax_fault::MemoryInUse();
    QVERIFY(baseline > 0);

    Enter(window.ManualEntry, "GO");
    QByteArray wire = "GO\r";
    std::size_t peak = baseline;
    int samples = 0;
    std::vector<qsizetype> receivedAtSample;
    const auto end = Clock::now() + kSpewFor;
    while (Clock::now() < end) {
        bool served = false;
        QMetaObject::invokeMethod(
            qApp, [&served] { served = true; }, Qt::QueuedConnection);
        QTRY_VERIFY_WITH_TIMEOUT(served, kWaitMs);
        if (++samples % kCommandEverySamples == 0) {
            const QString command = QString("PING%1").arg(samples);
            Enter(window.ManualEntry, command);
            wire += command.toLatin1() + "\r";
            QTRY_COMPARE_WITH_TIMEOUT(device.Wire(), wire, kWaitMs);
        }
        QTest::qWait(1000);
        peak = std::max(peak, qdax_fault::MemoryInUse());
        receivedAtSample.push_back(ReceivedLines(LogLines(window)).size());
    }

    const QStringList log = LogLines(window);
    qInfo("memory in use grew by %zu KiB at most; %lld lines logged", (peak - baseline) >> 10,
          static_cast<long long>(log.size()));
    QVERIFY2(peak - baseline <= kGrowthBound,
             qPrintable(QString("grew by %1 MiB").arg((peak - baseline) >> 20)));
    QVERIFY(receivedAtSample.size() > kLoggingStretchSamples);
    for (std::size_t i = kLoggingStretchSamples; i < receivedAtSample.size(); ++i) {
        QVERIFY2(receivedAtSample[i] > receivedAtSample[i - kLoggingStretchSamples],
                 qPrintable(QString("nothing logged from second %1 to %2")
                                .arg(i - kLoggingStretchSamples)
                                .arg(i)));
    }
    const QStringList received = ReceivedLines(log);
    for (const QString& line : received) {
        QVERIFY(line.size() <= 4 + LineAssembler::kMaxLineLength);
        QVERIFY(!line.contains(QChar(0)));
    }
    QCOMPARE(log.size() - received.size(), samples / kCommandEverySamples + 1);
}

QTEST_MAIN(SpewFaultTest)
#include "spew_fault_test.moc"
