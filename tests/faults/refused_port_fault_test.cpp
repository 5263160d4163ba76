// A port the system refuses to open: held by another process, or a device node this user has no
// permission for. The window says "Unable to open serial port" with the system's reason, the
// commands typed meanwhile are logged and reach no device, another port still works, and once the
// cause is gone "Reset Port" opens the refused port with the same port object.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <optional>

#include "app/services/application_title.h"
#include "serial/serial_port_info.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"
#include "tests/faults/child_output.h"
#include "tests/faults/permission_checks.h"
#include "tests/support/child_process.h"
#include "tests/support/wait_until.h"

using namespace e2e;

namespace {

enum class Refusal { HeldByAnotherProcess, NoPermission };

// The port holder program, holding `devicePath` for as long as this object lives.
class OtherProcessHolding {
public:
    explicit OtherProcessHolding(const std::string& devicePath)
        : child_(qdax_test::StartChild(QDAX_PORT_HOLDER_PATH, {devicePath}, false)) {
        holding_ = qdax_fault::ReadLineFrom(child_.stdoutFd, qdax_test::kGenerousTimeout) ==
                   std::optional<std::string>("holding");
    }
    ~OtherProcessHolding() { LetGo(); }
    OtherProcessHolding(const OtherProcessHolding&) = delete;
    OtherProcessHolding& operator=(const OtherProcessHolding&) = delete;

    bool Holding() const { return holding_; }

    // The holder's exit status once it let go; nothing when it did not end in time.
    std::optional<int> LetGo() {
        if (!exitCode_) {
            kill(child_.pid, SIGTERM);
            exitCode_ = qdax_test::WaitForChild(child_.pid, qdax_test::kGenerousTimeout);
            close(child_.stdoutFd);
        }
        return exitCode_;
    }

private:
    qdax_test::ChildProcess child_;
    bool holding_ = false;
    std::optional<int> exitCode_;
};

// The device node with no permission bits at all for as long as this object lives.
class NodeWithoutPermission {
public:
    explicit NodeWithoutPermission(const std::string& path) : path_(path) {
        struct stat status {};
        applied_ = stat(path_.c_str(), &status) == 0 && chmod(path_.c_str(), 0) == 0;
        mode_ = status.st_mode & 07777;
    }
    ~NodeWithoutPermission() { Restore(); }
    NodeWithoutPermission(const NodeWithoutPermission&) = delete;
    NodeWithoutPermission& operator=(const NodeWithoutPermission&) = delete;

    bool Applied() const { return applied_; }
    bool Restore() {
        if (applied_) applied_ = chmod(path_.c_str(), mode_) != 0;
        return !applied_;
    }

private:
    std::string path_;
    mode_t mode_ = 0;
    bool applied_ = false;
};

}  // namespace

Q_DECLARE_METATYPE(Refusal)

class RefusedPortFaultTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void aRefusedPortIsReportedWithItsReasonAndNothingElseBreaks_data();
    void aRefusedPortIsReportedWithItsReasonAndNothingElseBreaks();
};

void RefusedPortFaultTest::aRefusedPortIsReportedWithItsReasonAndNothingElseBreaks_data() {
    QTest::addColumn<Refusal>("refusal");
    QTest::newRow("held by another process") << Refusal::HeldByAnotherProcess;
    QTest::newRow("device node without permission") << Refusal::NoPermission;
}

void RefusedPortFaultTest::aRefusedPortIsReportedWithItsReasonAndNothingElseBreaks() {
    QFETCH(Refusal, refusal);
    Scenario scenario;
    Device& refused = scenario.StartDevice({"--answer", "REFUSED"});
    Device& other = scenario.StartDevice({"--answer", "OTHER"});
    TMainForm& window = scenario.OpenWindow();

    std::unique_ptr<OtherProcessHolding> holder;
    std::unique_ptr<NodeWithoutPermission> node;
    if (refusal == Refusal::HeldByAnotherProcess) {
        holder = std::make_unique<OtherProcessHolding>(refused.PtyPath());
        QVERIFY(holder->Holding());
        OpenPort(window, 0);
    } else {
        node = std::make_unique<NodeWithoutPermission>(refused.PtyPath());
        QVERIFY(node->Applied());
        // The window thread opens the port; held to the permission bits, as a user outside the
        // device's group is, even when the tests run as root.
        qdax_fault::PermissionChecksOnThisThread checked;
        OpenPort(window, 0);
    }

    const std::vector<RecordedBox>& boxes = scenario.Boxes().boxes;
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, QString("Unable to open serial port"));
    QCOMPARE(boxes[0].caption, QString("Error"));
    QCOMPARE(boxes[0].icon, QMessageBox::NoIcon);
    QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // Both refused as Windows refuses a port: access denied, the reason the system gives.
    QVERIFY2(boxes[0].informativeText.startsWith("Access is denied."),
             qPrintable(boxes[0].informativeText));
    if (refusal == Refusal::NoPermission) {
        QVERIFY(boxes[0].informativeText.contains("sudo usermod -aG dialout $USER"));
    }
    QVERIFY(window.Port != nullptr);
    QVERIFY(!window.Port->IsOpen());
    QVERIFY(window.ManualEntry->isEnabled());
    Enter(window.ManualEntry, "LOST");
    QCOMPARE(LogLines(window), QStringList({"--> LOST"}));

    // Another port still opens and answers.
    OpenPort(window, 1);
    QVERIFY(window.Port->IsOpen());
    Enter(window.ManualEntry, "A");
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), QStringList({"--> LOST", "--> A", "<-- OTHER"}),
                              kWaitMs);
    QCOMPARE(other.Wire(), QByteArray("A\r"));

    // The cause gone, the refused port opens.
    if (holder) QCOMPARE(holder->LetGo(), std::optional<int>(0));
    if (node) QVERIFY(node->Restore());
    OpenPort(window, 0);
    QVERIFY(window.Port->IsOpen());
    Enter(window.ManualEntry, "B");
    QTRY_COMPARE_WITH_TIMEOUT(
        LogLines(window), QStringList({"--> LOST", "--> A", "<-- OTHER", "--> B", "<-- REFUSED"}),
        kWaitMs);
    QCOMPARE(refused.Wire(), QByteArray("B\r"));
    QCOMPARE(other.Wire(), QByteArray("A\r"));
    QCOMPARE(boxes.size(), std::size_t{1});
}

QTEST_MAIN(RefusedPortFaultTest)
#include "refused_port_fault_test.moc"
