// Polling with a deadline, so that a program that hangs fails a test instead of blocking it.
#pragma once

#include <windows.h>

namespace support {

// How long any single wait of a test may take.
constexpr DWORD kWaitMs = 20000;

// Calls done() every pollMs until it is true (returns true) or timeoutMs have passed (false).
template <class Done>
bool waitUntil(Done done, DWORD timeoutMs = kWaitMs, DWORD pollMs = 20) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(pollMs);
    }
}

}  // namespace support
