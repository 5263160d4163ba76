// The real program closed by its operator at awkward moments of a playback: while the reader
// waits for an answer that does not come, and while the window waits the command delay. Each way
// of closing (the Close button, Escape in a one-line edit, the window's close box) ends the
// program at once with exit status 0; a close during the delay is served when the delay is over,
// after the line it was waiting to send, and nothing goes out after it.
#include <QTest>
#include <optional>
#include <string>

#include "tests/e2e/operator.h"
#include "tests/faults/closing_run.h"
#include "tests/faults/operator_plugin/operator_script.h"

using qdax_operator::CloseMoment;
using qdax_operator::CloseWay;

namespace {

constexpr int kCommandDelayMs = 2000;

}  // namespace

Q_DECLARE_METATYPE(CloseMoment)
Q_DECLARE_METATYPE(CloseWay)

class ClosingFaultTest : public QObject {
    Q_OBJECT

private slots:
    void theProgramClosedMidPlaybackExitsAtOnceWithStatusZero_data();
    void theProgramClosedMidPlaybackExitsAtOnceWithStatusZero();
};

void ClosingFaultTest::theProgramClosedMidPlaybackExitsAtOnceWithStatusZero_data() {
    QTest::addColumn<CloseMoment>("moment");
    QTest::addColumn<CloseWay>("way");
    QTest::addColumn<QByteArray>("wire");
    const std::pair<CloseWay, const char*> ways[] = {{CloseWay::CloseButton, "Close button"},
                                                     {CloseWay::EscapeKey, "Escape"},
                                                     {CloseWay::CloseBox, "close box"}};
    for (const auto& [way, name] : ways) {
        QTest::addRow("%s, read pending", name)
            << CloseMoment::PendingRead << way << QByteArray("L0\r");
        QTest::addRow("%s, in the command delay", name)
            << CloseMoment::CommandDelay << way << QByteArray("L0\rL1\r");
    }
}

void ClosingFaultTest::theProgramClosedMidPlaybackExitsAtOnceWithStatusZero() {
    QFETCH(CloseMoment, moment);
    QFETCH(CloseWay, way);
    QFETCH(QByteArray, wire);
    qdax_fault::ClosingRun run(moment == CloseMoment::PendingRead);
    const QString file = run.File("three.txt");
    e2e::WriteBytes(file.toStdString(), "L0\r\nL1\r\nL2\r\n");

    const qdax_operator::OperatorScript script{
        .port = run.ComName(),
        .file = file,
        .delayMs = moment == CloseMoment::CommandDelay ? kCommandDelayMs : 0,
        .wirePath = run.WirePath(),
        .moment = moment,
        .way = way};
    const qdax_fault::ProgramOutcome program =
        run.RunProgram(script, std::chrono::milliseconds(script.delayMs));

    QCOMPARE(program.said, std::optional<std::string>("close requested"));
    QCOMPARE(program.status, std::optional<int>(0));
    QCOMPARE(run.Wire(), wire);
    QVERIFY(run.DeviceRunning());
}

QTEST_GUILESS_MAIN(ClosingFaultTest)
#include "closing_fault_test.moc"
