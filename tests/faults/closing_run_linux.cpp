#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "tests/faults/child_output.h"
#include "tests/faults/closing_run.h"
#include "tests/support/child_process.h"
#include "tests/support/recording.h"

namespace qdax_fault {

ClosingRun::ClosingRun(bool silent) {
    const std::string portsDir = File("run/qdax/ports").toStdString();
    std::filesystem::create_directories(portsDir);
    // A runtime directory is the user's alone.
    std::filesystem::permissions(File("run").toStdString(), std::filesystem::perms::owner_all);
    std::vector<std::string> options{"--record", WirePath().toStdString()};
    if (silent) options.push_back("--silent");
    device_.emplace(portsDir, options);
}

ClosingRun::~ClosingRun() = default;

QString ClosingRun::ComName() const {
    return QString::fromStdString(device_->comName());
}

QString ClosingRun::WirePath() const {
    return File("wire.bin");
}

QString ClosingRun::File(const QString& name) const {
    return root_.filePath(name);
}

ProgramOutcome ClosingRun::RunProgram(const qdax_operator::OperatorScript& script,
                                      std::chrono::milliseconds delay) {
    const qdax_test::ChildProcess program = qdax_test::StartChild(
        "/usr/bin/env",
        {"XDG_RUNTIME_DIR=" + File("run").toStdString(), "QT_QPA_PLATFORM=offscreen",
         std::string("QT_PLUGIN_PATH=") + QDAX_OPERATOR_PLUGIN_ROOT,
         "QT_QPA_GENERIC_PLUGINS=qdaxoperator:" + OperatorScriptText(script).toStdString(),
         QDAX_PROGRAM_PATH},
        false);
    ProgramOutcome outcome;
    outcome.said = ReadLineFrom(program.stdoutFd, 3 * qdax_test::kGenerousTimeout);
    close(program.stdoutFd);
    outcome.status = qdax_test::WaitForChild(program.pid, qdax_test::kGenerousTimeout + delay);
    if (!outcome.status) {
        kill(program.pid, SIGKILL);
        qdax_test::WaitForChild(program.pid, qdax_test::kGenerousTimeout);
    }
    return outcome;
}

QByteArray ClosingRun::Wire() {
    return QByteArray::fromStdString(qdax_test::ReadRecording(WirePath().toStdString()));
}

bool ClosingRun::DeviceRunning() {
    return device_->isRunning();
}

}  // namespace qdax_fault
