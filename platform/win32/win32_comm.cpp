// The serial communications operations on Windows are the system's own.
#include "platform/comm.h"

namespace platform {

HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode,
                   void* securityAttributes, DWORD creationDisposition, DWORD flagsAndAttributes,
                   HANDLE templateFile) {
    return ::CreateFileA(fileName, desiredAccess, shareMode,
                         static_cast<SECURITY_ATTRIBUTES*>(securityAttributes), creationDisposition,
                         flagsAndAttributes, templateFile);
}

BOOL CloseHandle(HANDLE object) {
    return ::CloseHandle(object);
}

BOOL GetCommState(HANDLE port, DCB* dcb) {
    return ::GetCommState(port, dcb);
}

BOOL SetCommState(HANDLE port, DCB* dcb) {
    return ::SetCommState(port, dcb);
}

BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) {
    return ::GetCommTimeouts(port, timeouts);
}

BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) {
    return ::SetCommTimeouts(port, timeouts);
}

BOOL ReadFile(HANDLE port, void* buffer, DWORD bytesToRead, DWORD* bytesRead,
              OVERLAPPED* overlapped) {
    return ::ReadFile(port, buffer, bytesToRead, bytesRead, overlapped);
}

BOOL WriteFile(HANDLE port, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               OVERLAPPED* overlapped) {
    return ::WriteFile(port, buffer, bytesToWrite, bytesWritten, overlapped);
}

BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait) {
    return ::GetOverlappedResult(port, overlapped, bytesTransferred, wait);
}

BOOL CancelIo(HANDLE port) {
    return ::CancelIo(port);
}

HANDLE CreateEventA(void* securityAttributes, BOOL manualReset, BOOL initialState,
                    const char* name) {
    return ::CreateEventA(static_cast<SECURITY_ATTRIBUTES*>(securityAttributes), manualReset,
                          initialState, name);
}

BOOL SetEvent(HANDLE event) {
    return ::SetEvent(event);
}

DWORD WaitForSingleObjectEx(HANDLE object, DWORD milliseconds, BOOL alertable) {
    return ::WaitForSingleObjectEx(object, milliseconds, alertable);
}

DWORD SleepEx(DWORD milliseconds, BOOL alertable) {
    return ::SleepEx(milliseconds, alertable);
}

DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId,
                     char* buffer, DWORD size, void* arguments) {
    return ::FormatMessageA(flags, source, messageId, languageId, buffer, size,
                            static_cast<va_list*>(arguments));
}

void* LocalFree(void* memory) {
    return ::LocalFree(memory);
}

}  // namespace platform
