// Runs a console program as an operator at a console runs it, and presses Ctrl+C there when told:
//   qdax-console-interrupt SIGNAL_FILE PROGRAM [ARGUMENT...]
// It takes a console of its own (Wine gives none to a program started from Linux) and starts
// PROGRAM on it with its own standard output and error. Once SIGNAL_FILE exists, it presses
// Ctrl+C on the console, which it ignores itself, until the program ends, and exits with the
// program's exit code; 124 when the program has not ended a minute later (it is then ended), 127
// when it could not be started.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kEndWaitMs = 60'000;
// Wine now and then loses a Ctrl+C: it is pressed again, as an operator would.
constexpr DWORD kPressAgainMs = 2'000;
constexpr DWORD kPollMs = 10;

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

void WaitForFile(const char* path) {
    while (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) ::Sleep(kPollMs);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: qdax-console-interrupt SIGNAL_FILE PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const char* signalFile = argv[1];
    const char* program = argv[2];
    std::string commandLine = Quoted(program);
    for (int i = 3; i < argc; ++i) commandLine += " " + Quoted(argv[i]);

    // The handles the program gets are ours from before the console: the console's own would
    // swallow what it says.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    ::FreeConsole();
    if (!::AllocConsole()) {
        std::fprintf(stderr, "qdax-console-interrupt: no console (error %lu)\n", ::GetLastError());
        return 127;
    }
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &started)) {
        std::fprintf(stderr, "qdax-console-interrupt: cannot start %s (error %lu)\n", program,
                     ::GetLastError());
        return 127;
    }
    ::CloseHandle(started.hThread);

    // Set after the start: a program inherits the console's Ctrl+C being ignored.
    ::SetConsoleCtrlHandler(nullptr, TRUE);
    WaitForFile(signalFile);
    DWORD waited = 0;
    for (;;) {
        if (!::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
            std::fprintf(stderr, "qdax-console-interrupt: Ctrl+C not sent (error %lu)\n",
                         ::GetLastError());
        }
        if (::WaitForSingleObject(started.hProcess, kPressAgainMs) == WAIT_OBJECT_0) break;
        waited += kPressAgainMs;
        if (waited >= kEndWaitMs) {
            std::fprintf(stderr, "qdax-console-interrupt: %s did not end\n", program);
            ::TerminateProcess(started.hProcess, 124);
            return 124;
        }
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(started.hProcess, &exitCode);
    return static_cast<int>(exitCode);
}
