// Another process's hold on a file: the driver opens it with the sharing a scenario chooses
// (none at all, or reading only), as a program that has the database open would.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/owned.h"

namespace e2e {

class FileLock {
public:
    // Opens path with this access, sharing only `sharing` (0: nobody else may open it).
    bool open(const std::wstring& path, DWORD access, DWORD sharing);
    void release() { file_.reset(); }

private:
    win32::OwnedHandle file_;
};

}  // namespace e2e
