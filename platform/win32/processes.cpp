#include "platform/win32/processes.h"

#include <windows.h>

#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

HANDLE handleOf(platform::ProcessHandle process) { return reinterpret_cast<HANDLE>(process); }

// The launch's own process handle: holding it keeps the id from being reused until the wait has
// opened its handle.
class Child : public platform::ChildProcess {
public:
    Child(HANDLE process, DWORD id) : process_(process), id_(id) {}
    ~Child() override { CloseHandle(process_); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    std::uint32_t id() const override { return id_; }
    std::optional<std::uint32_t> exitCode() const override {
        DWORD code = 0;
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0 || !GetExitCodeProcess(process_, &code))
            return std::nullopt;
        return code;
    }

private:
    HANDLE process_;
    DWORD id_;
};

}  // namespace

std::unique_ptr<platform::ChildProcess> launchMinimizedFocus(const platform::Text& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;  // minimized, with the focus
    PROCESS_INFORMATION info{};
    std::wstring mutableLine = wideString(commandLine);  // CreateProcessW may write to it
    // No application name: the first, quoted token is the program. No working folder: the child
    // starts in ours, against which a relative database path resolves as it did here.
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        throwLastError();
    CloseHandle(info.hThread);
    return std::make_unique<Child>(info.hProcess, info.dwProcessId);
}

platform::ProcessHandle openProcess(std::uint32_t access, bool inheritHandle, std::uint32_t id) {
    return reinterpret_cast<platform::ProcessHandle>(OpenProcess(access, inheritHandle, id));
}

bool getExitCodeProcess(platform::ProcessHandle process, std::uint32_t& exitCode) {
    DWORD code = 0;
    if (!GetExitCodeProcess(handleOf(process), &code)) return false;
    exitCode = code;
    return true;
}

void closeHandle(platform::ProcessHandle process) {
    if (process != 0) CloseHandle(handleOf(process));
}

bool processHasEnded(platform::ProcessHandle process) {
    switch (WaitForSingleObject(handleOf(process), 0)) {
        case WAIT_OBJECT_0:
            return true;
        case WAIT_TIMEOUT:
            return false;
        default:
            throwLastError();
    }
}

void waitForProcessOrEvent(platform::ProcessHandle process) {
    HANDLE handles[] = {handleOf(process)};
    // MWMO_INPUTAVAILABLE: also wake for input already queued, not only for new arrivals.
    const DWORD r = MsgWaitForMultipleObjectsEx(1, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r == WAIT_FAILED) throwLastError();
}

}  // namespace win32
