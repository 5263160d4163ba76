// Players that run as programs of their own: qdax-play, and what an engineer might write instead
// of using the program, a script run by its interpreter as `interpreter script ptyPath
// commandsPath`.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "bench/pacing/playback.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace pacing {

namespace {

std::string ReadAvailable(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

}  // namespace

Playback PlayWithProgram(const std::string& program, const ProgramArguments& arguments,
                         const std::string& name, const CommandFile& file) {
    qdax_test::TempDir dir;
    const std::string commands = dir.file("commands.txt");
    std::ofstream(commands, std::ios::binary) << file.bytes;
    TimedDevice device(dir.path(), dir.file("wire.fifo"));

    qdax_test::ChildProcess player =
        qdax_test::StartChild(program, arguments(device.PtyPath(), commands), true);
    std::optional<int> exitCode;
    const auto playerRuns = [&] {
        if (!exitCode) exitCode = qdax_test::WaitForChild(player.pid, std::chrono::milliseconds(0));
        return !exitCode.has_value();
    };
    const auto collect = [&] {
        if (!exitCode) exitCode = qdax_test::WaitForChild(player.pid, std::chrono::seconds(30));
        if (!exitCode) {
            kill(player.pid, SIGKILL);
            waitpid(player.pid, nullptr, 0);
        }
        const std::string errors = ReadAvailable(player.stderrFd);
        close(player.stdoutFd);
        close(player.stderrFd);
        return errors;
    };
    Playback playback;
    try {
        playback = device.Finish(file, playerRuns);
    } catch (const std::runtime_error& failure) {
        throw std::runtime_error(std::string(failure.what()) + "; " + name + ": " + collect());
    }
    const std::string errors = collect();
    if (exitCode != 0) {
        throw std::runtime_error(name + " failed (exit status " +
                                 (exitCode ? std::to_string(*exitCode) : "unknown") +
                                 "): " + errors);
    }
    return playback;
}

Playback PlayWithScript(const std::string& interpreter, const std::string& script,
                        const CommandFile& file) {
    return PlayWithProgram(
        interpreter,
        [&script](const std::string& ptyPath, const std::string& commandsPath) {
            return std::vector<std::string>{script, ptyPath, commandsPath};
        },
        script, file);
}

}  // namespace pacing
