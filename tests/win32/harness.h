// What the Win32-layer tests share beyond tests/support: the child program beside them, the
// platform's text as Windows text, the services installed for a test, and a hook that answers a
// message box after reading it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/environment.h"
#include "platform/win32/processes.h"
#include "platform/win32/window.h"

namespace win32test {

// win32_test_child.exe, built beside the test program.
std::wstring childExe();

inline platform::Text text(const std::wstring& s) { return platform::Text(s.begin(), s.end()); }
inline std::wstring wstr(const platform::Text& s) { return std::wstring(s.begin(), s.end()); }

std::wstring windowText(HWND window);

// The Win32 services installed for the length of each test.
class WithServices : public ::testing::Test {
protected:
    WithServices() { platform::install({&services, &environment, &processes}); }
    ~WithServices() override { platform::install({}); }
    win32::Window services{GetModuleHandleW(nullptr)};
    win32::Environment environment{GetModuleHandleW(nullptr)};
    win32::Processes processes;
};

// The next message box this thread shows is read and answered with `button`.
struct SeenBox {
    std::wstring caption, text;
    bool seen = false;
};
void answerNextBox(SeenBox& seen, int button);

}  // namespace win32test
