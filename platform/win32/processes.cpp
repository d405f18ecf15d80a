#include "platform/win32/processes.h"

#include <windows.h>

#include "platform/win32/errors.h"
#include "platform/win32/owned.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

// A process handle, held until the object goes: while it is held the id cannot be reused.
class Process : public platform::Process {
public:
    Process(OwnedHandle process, DWORD id) : process_(std::move(process)), id_(id) {}

    std::uint32_t id() const override { return id_; }

    std::optional<std::uint32_t> exitCode() override {
        DWORD code = 0;
        if (!hasEnded() || !GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
        return code;
    }

    bool hasEnded() override {
        switch (WaitForSingleObject(process_.get(), 0)) {
            case WAIT_OBJECT_0:
                return true;
            case WAIT_TIMEOUT:
                return false;
            default:
                throwLastError();
        }
    }

    void waitForEndOrEvent() override {
        HANDLE handles[] = {process_.get()};
        // MWMO_INPUTAVAILABLE: also wake for input already queued, not only for new arrivals.
        const DWORD r = MsgWaitForMultipleObjectsEx(1, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (r == WAIT_FAILED) throwLastError();
    }

private:
    OwnedHandle process_;
    DWORD id_;
};

}  // namespace

std::unique_ptr<platform::Process> Processes::launchMinimizedFocus(const platform::Text& commandLine) {
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
    const OwnedHandle thread(info.hThread);
    return std::make_unique<Process>(OwnedHandle(info.hProcess), info.dwProcessId);
}

std::unique_ptr<platform::Process> Processes::open(std::uint32_t access, bool inheritHandle,
                                                   std::uint32_t id) {
    OwnedHandle process(OpenProcess(access, inheritHandle, id));
    if (!process) return nullptr;
    return std::make_unique<Process>(std::move(process), id);
}

}  // namespace win32
