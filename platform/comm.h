// The serial communications operations of the system, by their Win32 names and with their
// results. The POSIX backend drives Linux ttys and pseudo-terminals; on Windows these pass through.
//
// Names given to CreateFileA may be "\\.\COM<n>", "COM<n>" or (POSIX) "\\.\/dev/..." and
// "/dev/..."; COM names resolve through the configured port sources (platform/port_sources.h).
#pragma once

#include "platform/last_error.h"
#include "platform/win32_types.h"

namespace platform {

HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode,
                   void* securityAttributes, DWORD creationDisposition, DWORD flagsAndAttributes,
                   HANDLE templateFile);
BOOL CloseHandle(HANDLE object);

BOOL GetCommState(HANDLE port, DCB* dcb);
BOOL SetCommState(HANDLE port, DCB* dcb);
BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);

// With an overlapped handle: TRUE when the operation completed within the call; FALSE with
// ERROR_IO_PENDING when it goes on and will complete `overlapped` and signal its hEvent; FALSE
// with another code when it failed. The buffer and the record must stay valid until completion.
BOOL ReadFile(HANDLE port, void* buffer, DWORD bytesToRead, DWORD* bytesRead,
              OVERLAPPED* overlapped);
BOOL WriteFile(HANDLE port, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               OVERLAPPED* overlapped);
BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait);
// Cancels the operations that the calling thread started on the handle.
BOOL CancelIo(HANDLE port);

HANDLE CreateEventA(void* securityAttributes, BOOL manualReset, BOOL initialState,
                    const char* name);
BOOL SetEvent(HANDLE event);
DWORD WaitForSingleObjectEx(HANDLE object, DWORD milliseconds, BOOL alertable);
DWORD SleepEx(DWORD milliseconds, BOOL alertable);

// With FORMAT_MESSAGE_ALLOCATE_BUFFER `buffer` is really a char** that receives storage to be
// released with LocalFree. The text ends with CR LF, as the system's messages do. Returns the
// number of characters, 0 when the system has no text for the code.
DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId,
                     char* buffer, DWORD size, void* arguments);
void* LocalFree(void* memory);

}  // namespace platform
