// Runs a console program as an operator at a console runs it, and presses Ctrl+C there when told:
//   qdax-console-interrupt PROGRAM [ARGUMENT...]
// It takes a console of its own (Wine gives none to a program started from Linux) and starts
// PROGRAM on it with its own standard handles. Once its standard input ends, it sends Ctrl+C to
// the console, which it ignores itself, and exits with the program's exit code; 124 when the
// program has not ended a minute later (it is then ended), 127 when it could not be started.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kEndWaitMs = 60'000;

// One argument as the C runtime splits a command line: quoted, with the backslashes before a
// quote (or before the closing quote) doubled.
std::string Quoted(const std::string& argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        quoted.push_back(c);
        backslashes = 0;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

// Blocks until the standard input ends.
void WaitForEndOfInput() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    char buffer[256];
    DWORD count = 0;
    while (::ReadFile(input, buffer, sizeof buffer, &count, nullptr) && count > 0) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: qdax-console-interrupt PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    std::string commandLine = Quoted(argv[1]);
    for (int i = 2; i < argc; ++i) commandLine += " " + Quoted(argv[i]);

    // The handles the program gets are ours from before the console: the console's own would
    // swallow what it says.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    ::FreeConsole();
    if (!::AllocConsole()) {
        std::fprintf(stderr, "qdax-console-interrupt: no console (error %lu)\n", ::GetLastError());
        return 127;
    }
    PROCESS_INFORMATION program{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &program)) {
        std::fprintf(stderr, "qdax-console-interrupt: cannot start %s (error %lu)\n", argv[1],
                     ::GetLastError());
        return 127;
    }
    ::CloseHandle(program.hThread);

    // Set after the start: a program inherits the console's Ctrl+C being ignored.
    ::SetConsoleCtrlHandler(nullptr, TRUE);
    WaitForEndOfInput();
    if (!::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
        std::fprintf(stderr, "qdax-console-interrupt: Ctrl+C not sent (error %lu)\n",
                     ::GetLastError());
    }
    if (::WaitForSingleObject(program.hProcess, kEndWaitMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "qdax-console-interrupt: %s did not end\n", argv[1]);
        ::TerminateProcess(program.hProcess, 124);
        return 124;
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(program.hProcess, &exitCode);
    return static_cast<int>(exitCode);
}
