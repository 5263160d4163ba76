// The real program closed by its operator at awkward moments of a playback: while the reader
// waits for an answer that does not come, and while the window waits the command delay. Each way
// of closing (the Close button, Escape in a one-line edit, the window's close box) ends the
// program at once with exit status 0; a close during the delay is served when the delay is over,
// after the line it was waiting to send, and nothing goes out after it.
#include <signal.h>
#include <unistd.h>

#include <QTest>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/e2e/operator.h"
#include "tests/faults/child_output.h"
#include "tests/faults/operator_plugin/operator_script.h"
#include "tests/support/child_process.h"
#include "tests/support/recording.h"
#include "tests/support/simulator_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"

using qdax_operator::CloseMoment;
using qdax_operator::CloseWay;

namespace {

constexpr int kCommandDelayMs = 2000;

// The program started as its operator starts it, with the scripted operator inside, its ports
// directory under `runtimeDir`.
qdax_test::ChildProcess StartProgram(const std::string& runtimeDir,
                                     const qdax_operator::OperatorScript& script) {
    return qdax_test::StartChild(
        "/usr/bin/env",
        {"XDG_RUNTIME_DIR=" + runtimeDir, "QT_QPA_PLATFORM=offscreen",
         std::string("QT_PLUGIN_PATH=") + QDAX_OPERATOR_PLUGIN_ROOT,
         "QT_QPA_GENERIC_PLUGINS=qdaxoperator:" + OperatorScriptText(script).toStdString(),
         QDAX_PROGRAM_PATH},
        false);
}

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
    qdax_test::TempDir root;
    const std::string portsDir = root.file("run/qdax/ports");
    std::filesystem::create_directories(portsDir);
    // A runtime directory is the user's alone.
    std::filesystem::permissions(root.file("run"), std::filesystem::perms::owner_all);
    const std::string wirePath = root.file("wire.bin");
    qdax_test::SimulatorProcess device(
        portsDir, moment == CloseMoment::PendingRead
                      ? std::vector<std::string>{"--silent", "--record", wirePath}
                      : std::vector<std::string>{"--record", wirePath});
    const std::string file = root.file("three.txt");
    e2e::WriteBytes(file, "L0\r\nL1\r\nL2\r\n");

    const qdax_operator::OperatorScript script{
        .port = QString::fromStdString(device.comName()),
        .file = QString::fromStdString(file),
        .delayMs = moment == CloseMoment::CommandDelay ? kCommandDelayMs : 0,
        .wirePath = QString::fromStdString(wirePath),
        .moment = moment,
        .way = way};
    const qdax_test::ChildProcess program = StartProgram(root.file("run"), script);
    const std::optional<std::string> said =
        qdax_fault::ReadLineFrom(program.stdoutFd, 3 * qdax_test::kGenerousTimeout);
    close(program.stdoutFd);
    const std::optional<int> status = qdax_test::WaitForChild(
        program.pid, qdax_test::kGenerousTimeout + std::chrono::milliseconds(script.delayMs));
    if (!status) {
        kill(program.pid, SIGKILL);
        qdax_test::WaitForChild(program.pid, qdax_test::kGenerousTimeout);
    }

    QCOMPARE(said, std::optional<std::string>("close requested"));
    QCOMPARE(status, std::optional<int>(0));
    QCOMPARE(QByteArray::fromStdString(qdax_test::ReadRecording(wirePath)), wire);
    QVERIFY(device.isRunning());
}

QTEST_GUILESS_MAIN(ClosingFaultTest)
#include "closing_fault_test.moc"
