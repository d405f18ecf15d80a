#include "system_errors.h"

#include "file_lock.h"

#include "support/files.h"
#include "support/process.h"
#include "support/text.h"

namespace e2e {

support::SystemError launchError(const std::wstring& exe) {
    support::Launch launch;
    launch.exe = exe;
    support::Process process;
    if (!process.start(launch)) return support::systemError(process.error());
    process.kill();
    return support::SystemError{};
}

support::SystemError moveOntoTakenNameError(const std::wstring& scratchFolder) {
    std::wstring from = support::joinPath(scratchFolder, L"from.mdb"),
                 to = support::joinPath(scratchFolder, L"to.mdb");
    support::SystemError error;
    if (support::makeFolders(scratchFolder) && support::writeBytes(from, "from", CREATE_NEW) &&
        support::writeBytes(to, "to", CREATE_NEW))
        error = support::errorOfMove(from, to);
    support::removeTree(scratchFolder);
    return error;
}

support::SystemError moveOfOpenFileError(const std::wstring& scratchFolder, DWORD access, DWORD sharing) {
    std::wstring from = support::joinPath(scratchFolder, L"open.mdb"),
                 to = support::joinPath(scratchFolder, L"moved.mdb");
    support::SystemError error;
    if (support::makeFolders(scratchFolder) && support::writeBytes(from, "open", CREATE_NEW)) {
        FileLock lock;
        if (lock.open(from, access, sharing)) error = support::errorOfMove(from, to);
    }
    support::removeTree(scratchFolder);
    return error;
}

}  // namespace e2e
