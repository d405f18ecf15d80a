// Turning a failed system call into the program's run-time error: the GetLastError number and the
// system's own text for it (in the system's language).
#pragma once

#include <windows.h>

#include "platform/text.h"

namespace win32 {

platform::RuntimeError systemError(DWORD code);
[[noreturn]] void throwLastError();

}  // namespace win32
