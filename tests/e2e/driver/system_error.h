// The number and text the system gives for a failed move, for comparing with an error report.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

struct SystemError {
    DWORD number = 0;
    std::wstring description;  // FormatMessageW's text, trailing line break and spaces removed
};

// Tries MoveFileW(from, to) (for paths where it must fail) and returns the error it reports;
// number 0 if the move succeeded.
SystemError errorOfMove(const std::wstring& from, const std::wstring& to);

}  // namespace e2e
