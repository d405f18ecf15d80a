#include "system_errors.h"

#include "file_lock.h"
#include "user_files.h"

#include "support/files.h"
#include "support/text.h"

namespace e2e {

support::SystemError launchError(const std::wstring& exe)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    SetLastError(0xdeadbeef);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return support::systemError(GetLastError());
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return support::SystemError{};
}

support::SystemError moveOntoTakenNameError(const std::wstring& scratchFolder)
{
    std::wstring from = support::joinPath(scratchFolder, L"from.mdb"), to = support::joinPath(scratchFolder, L"to.mdb");
    support::SystemError error;
    if (support::makeFolders(scratchFolder) && writeNewFile(from, "from") && writeNewFile(to, "to"))
        error = support::errorOfMove(from, to);
    support::removeTree(scratchFolder);
    return error;
}

support::SystemError moveOfOpenFileError(const std::wstring& scratchFolder, DWORD access, DWORD sharing)
{
    std::wstring from = support::joinPath(scratchFolder, L"open.mdb"), to = support::joinPath(scratchFolder, L"moved.mdb");
    support::SystemError error;
    if (support::makeFolders(scratchFolder) && writeNewFile(from, "open")) {
        FileLock lock;
        if (lock.open(from, access, sharing)) error = support::errorOfMove(from, to);
    }
    support::removeTree(scratchFolder);
    return error;
}

}  // namespace e2e
