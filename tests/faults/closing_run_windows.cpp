#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include "tests/faults/closing_run.h"
#include "tests/support/wait_until.h"

namespace qdax_fault {
namespace {

constexpr auto kCopyInterval = std::chrono::milliseconds(10);

int Milliseconds(std::chrono::milliseconds duration) {
    return static_cast<int>(duration.count());
}

}  // namespace

ClosingRun::ClosingRun(bool silent) {
    comName_ =
        device_.Simulate(silent ? std::vector<std::string>{"--silent"} : std::vector<std::string>{})
            .comName;
    deviceTree_.Add(comName_);
    // The recording grows only: what is new is appended, so the operator never reads it shorter.
    wireCopier_ = std::thread([this] {
        QFile copy(WirePath());
        if (!copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
        qint64 copied = 0;
        while (copying_) {
            const QByteArray wire = Wire();
            if (wire.size() > copied) copied += copy.write(wire.mid(copied));
            std::this_thread::sleep_for(kCopyInterval);
        }
    });
}

ClosingRun::~ClosingRun() {
    copying_ = false;
    wireCopier_.join();
}

QString ClosingRun::ComName() const {
    return QString::fromStdString(comName_);
}

QString ClosingRun::WirePath() const {
    return File("wire.bin");
}

QString ClosingRun::File(const QString& name) const {
    return QDir::toNativeSeparators(root_.filePath(name));
}

ProgramOutcome ClosingRun::RunProgram(const qdax_operator::OperatorScript& script,
                                      std::chrono::milliseconds delay) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_PLUGIN_PATH", QDAX_OPERATOR_PLUGIN_ROOT);
    environment.insert("QT_QPA_GENERIC_PLUGINS",
                       "qdaxoperator:" + qdax_operator::OperatorScriptText(script));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QDAX_PROGRAM_PATH, QStringList());

    ProgramOutcome outcome;
    qdax_test::WaitUntil(
        [&] {
            program.waitForReadyRead(0);
            return program.canReadLine() || program.state() == QProcess::NotRunning;
        },
        3 * qdax_test::kGenerousTimeout);
    if (program.canReadLine()) outcome.said = program.readLine().trimmed().toStdString();
    if (program.waitForFinished(Milliseconds(qdax_test::kGenerousTimeout + delay)) &&
        program.exitStatus() == QProcess::NormalExit) {
        outcome.status = program.exitCode();
    } else {
        program.kill();
        program.waitForFinished(Milliseconds(qdax_test::kGenerousTimeout));
    }
    return outcome;
}

QByteArray ClosingRun::Wire() {
    return QByteArray::fromStdString(device_.Wire());
}

bool ClosingRun::DeviceRunning() {
    return !device_.ExitStatus().has_value();
}

}  // namespace qdax_fault
