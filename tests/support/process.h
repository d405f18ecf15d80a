// Starting a program as the tests and the benchmark do, waiting for it, reading what it wrote and
// ending it. Handles are owned here and closed on every path.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/owned.h"

namespace support {

// Variables set (or replaced) in the started program's environment on top of the caller's own.
using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

struct Launch {
    std::wstring exe;
    std::wstring arguments;      // after "<exe>" on the command line
    std::wstring folder;         // its current folder; empty: the caller's
    Environment environment;     // extra variables
    bool captureOutput = false;  // stdout and stderr into pipes, read to their end (see out())
    DWORD flags = 0;             // more CreateProcessW flags, such as CREATE_NO_WINDOW
};

// "<exe>" followed by the arguments, as the program reads its command line.
std::wstring commandLineOf(const Launch& launch);

class Process {
public:
    Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();  // closes the handle; it does not end the process

    // False when CreateProcessW fails; error() then holds its GetLastError.
    bool start(const Launch& launch);

    bool started() const { return static_cast<bool>(handle_); }
    DWORD error() const { return error_; }
    DWORD id() const { return id_; }
    HANDLE handle() const { return handle_.get(); }
    bool running() const;
    bool waitForExit(DWORD timeoutMs) const;  // true when it has ended within timeoutMs
    DWORD exitCode() const;                   // STILL_ACTIVE while it runs
    void kill();                              // ends it if it still runs and waits until it is gone

    // Everything it wrote, once it has ended (captureOutput only).
    const std::string& out();
    const std::string& err();

private:
    struct Output;
    win32::OwnedHandle handle_;
    DWORD id_ = 0;
    DWORD error_ = 0;
    std::unique_ptr<Output> output_;
};

// Runs the program to its end, waiting up to timeoutMs; one that runs longer is ended, and the
// exit code then reads as STILL_ACTIVE.
struct Finished {
    bool started = false;
    DWORD error = 0;  // CreateProcessW's, when it did not start
    DWORD exitCode = STILL_ACTIVE;
    std::string out, err;
};
Finished runToEnd(const Launch& launch, DWORD timeoutMs = 60000);

// Ids of the running processes whose parent is parentId and whose executable is named exeName
// (no folder, case ignored).
std::vector<DWORD> childProcesses(DWORD parentId, const std::wstring& exeName);

// Ends the process with this id, if it can be opened, and waits up to 5 s for it to be gone.
void killProcess(DWORD id);

}  // namespace support
