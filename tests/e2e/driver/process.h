// Starting a program with extra environment variables, waiting for it and ending it.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Variables set (or replaced) in the started program's environment on top of the driver's own.
using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

// Owns a process handle; closing it does not end the process.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    // Starts exe (quoted as the command line's first item) in currentFolder. On failure returns
    // false and sets error to the system's error code.
    bool start(const std::wstring& exe, const std::wstring& currentFolder, const Environment& extra,
               DWORD& error);

    bool started() const { return handle_ != nullptr; }
    DWORD id() const { return id_; }
    bool running() const;
    // True when the process has ended within timeoutMs.
    bool waitForExit(DWORD timeoutMs) const;
    DWORD exitCode() const;
    // Ends the process if it still runs and waits for it to be gone.
    void kill();

private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// Ids of the running processes whose parent is parentId and whose executable is named exeName
// (no folder, case ignored).
std::vector<DWORD> childProcesses(DWORD parentId, const std::wstring& exeName);

// Ends the process with this id, if it can be opened, and waits up to 5 s for it to be gone.
void killProcess(DWORD id);

}  // namespace e2e
