// Opens the port named on the command line through the backend, as another program would, and
// exits with 0 when it opened or with the last error code (at most 255) when it did not.
#include <algorithm>

#include "platform/comm.h"

int main(int argc, char** argv) {
    if (argc != 2) return 255;
    HANDLE port = platform::CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return static_cast<int>(std::min<DWORD>(platform::GetLastError(), 255));
    }
    platform::CloseHandle(port);
    return 0;
}
