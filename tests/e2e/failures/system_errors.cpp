#include "system_errors.h"

#include "file_lock.h"
#include "user_files.h"

#include "../driver/files.h"
#include "../driver/text.h"

namespace e2e {

SystemError systemError(DWORD number)
{
    SystemError error;
    error.number = number;
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, number, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length && text) error.description.assign(text, length);
    LocalFree(text);
    while (!error.description.empty() &&
           (error.description.back() == L'\r' || error.description.back() == L'\n' ||
            error.description.back() == L' '))
        error.description.pop_back();
    return error;
}

SystemError launchError(const std::wstring& exe)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    SetLastError(0xdeadbeef);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return systemError(GetLastError());
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return SystemError{};
}

SystemError moveOntoTakenNameError(const std::wstring& scratchFolder)
{
    std::wstring from = joinPath(scratchFolder, L"from.mdb"), to = joinPath(scratchFolder, L"to.mdb");
    SystemError error;
    if (makeFolders(scratchFolder) && writeNewFile(from, "from") && writeNewFile(to, "to"))
        error = errorOfMove(from, to);
    removeTree(scratchFolder);
    return error;
}

SystemError moveOfOpenFileError(const std::wstring& scratchFolder, DWORD access, DWORD sharing)
{
    std::wstring from = joinPath(scratchFolder, L"open.mdb"), to = joinPath(scratchFolder, L"moved.mdb");
    SystemError error;
    if (makeFolders(scratchFolder) && writeNewFile(from, "open")) {
        FileLock lock;
        if (lock.open(from, access, sharing)) error = errorOfMove(from, to);
    }
    removeTree(scratchFolder);
    return error;
}

}  // namespace e2e
