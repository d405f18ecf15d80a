// The number and text the system gives for an error, as the program's error report shows them.
#pragma once

#include <windows.h>

#include <string>

namespace support {

struct SystemError {
    DWORD number = 0;
    std::wstring description;  // FormatMessageW's text, trailing line break and spaces removed
};

SystemError systemError(DWORD number);

// Tries MoveFileW(from, to) (for paths where it must fail) and returns the error it reports;
// number 0 if the move succeeded.
SystemError errorOfMove(const std::wstring& from, const std::wstring& to);

}  // namespace support
