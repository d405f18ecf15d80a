// Another process's hold on a file: the driver opens it with the sharing a scenario chooses
// (none at all, or reading only), as a program that has the database open would.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { release(); }

    // Opens path with this access, sharing only `sharing` (0: nobody else may open it).
    bool open(const std::wstring& path, DWORD access, DWORD sharing);
    void release();

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace e2e
