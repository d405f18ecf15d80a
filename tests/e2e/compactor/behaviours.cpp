#include "behaviours.h"

#include <windows.h>

#include <vector>

namespace test_compactor {
namespace {

bool readWhole(const std::wstring& path, std::vector<char>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 30);
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = bytes.empty() ||
             (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
              got == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

// CREATE_NEW: an existing destination is never replaced.
bool writeNew(const std::wstring& path, const char* data, size_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = size == 0 || (WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) &&
                            written == size);
    CloseHandle(file);
    return ok;
}

LONG WINAPI endWithoutDebugger(EXCEPTION_POINTERS*)
{
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int copyDatabase(const Job& job)
{
    return CopyFileW(job.source.c_str(), job.destination.c_str(), TRUE) ? 0 : 1;
}

int writeAnew(const Job& job)
{
    std::vector<char> bytes;
    return readWhole(job.source, bytes) && writeNew(job.destination, bytes.data(), bytes.size()) ? 0 : 1;
}

int writeHalf(const Job& job)
{
    std::vector<char> bytes;
    if (readWhole(job.source, bytes)) writeNew(job.destination, bytes.data(), bytes.size() / 2);
    return 1;
}

void copyThenExit259(const Job& job)
{
    copyDatabase(job);
    ExitProcess(STILL_ACTIVE);
}

void crash()
{
    // No Wine debugger and no error box: the unhandled exception simply ends the process.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(endWithoutDebugger);
    *static_cast<volatile int*>(nullptr) = 1;
    ExitProcess(1);  // not reached
}

void hang()
{
    for (;;) Sleep(INFINITE);
}

}  // namespace test_compactor
