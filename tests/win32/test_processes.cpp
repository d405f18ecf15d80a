// Launching and waiting on the real system: the wait returns when the child ends, whatever its
// exit code, and window events are handled while it runs.
#include <gtest/gtest.h>

#include "platform/win32/owned.h"
#include "platform/win32/processes.h"
#include "standard/mdlFunctionStandard.h"
#include "support/files.h"
#include "support/text.h"
#include "tests/win32/harness.h"

using namespace win32test;
using support::utf8;

namespace {

platform::Text childLine(const std::wstring& args) { return text(L"\"" + childExe() + L"\" " + args); }

bool hasEnded(std::uint32_t id) {
    const win32::OwnedHandle h(OpenProcess(SYNCHRONIZE, FALSE, id));
    return !h || WaitForSingleObject(h.get(), 0) == WAIT_OBJECT_0;  // gone altogether, or ended
}

DWORD exitCodeOf(std::uint32_t id) {
    const win32::OwnedHandle h(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id));
    DWORD code = 0;
    GetExitCodeProcess(h.get(), &code);
    return code;
}

int timerTicks = 0;
LRESULT CALLBACK countTimers(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) ++timerTicks;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

class Processes : public WithServices {};

TEST_F(Processes, TheWaitHandlesWindowEventsUntilTheChildEnds) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = countTimers;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HarbekTimerCounter";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(L"HarbekTimerCounter", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                              nullptr);
    ASSERT_NE(hwnd, nullptr);
    SetTimer(hwnd, 1, 20, nullptr);
    timerTicks = 0;

    auto child = processes.launchMinimizedFocus(childLine(L"700 0"));
    mdlFunctionStandard::gWatchShellEnd(child->id());
    EXPECT_TRUE(hasEnded(child->id()));
    EXPECT_GT(timerTicks, 0);  // the timer's messages were handled during the wait
    KillTimer(hwnd, 1);
    DestroyWindow(hwnd);
}

TEST_F(Processes, TheWaitEndsOnAChildThatExitsWith259) {
    auto child = processes.launchMinimizedFocus(childLine(L"100 259"));
    mdlFunctionStandard::gWatchShellEnd(child->id());
    EXPECT_TRUE(hasEnded(child->id()));
    EXPECT_EQ(exitCodeOf(child->id()), 259u);
    EXPECT_EQ(child->exitCode(), std::optional<std::uint32_t>(259u));
}

TEST_F(Processes, ARunningChildHasNoExitCodeYet) {
    auto child = processes.launchMinimizedFocus(childLine(L"2000 0"));
    EXPECT_EQ(child->exitCode(), std::nullopt);  // not 259 (STILL_ACTIVE) taken for a code
    mdlFunctionStandard::gWatchShellEnd(child->id());
    EXPECT_EQ(child->exitCode(), std::optional<std::uint32_t>(0u));
}

TEST_F(Processes, TheChildStartsMinimized) {
    auto child = processes.launchMinimizedFocus(childLine(L"show"));
    mdlFunctionStandard::gWatchShellEnd(child->id());
    EXPECT_EQ(exitCodeOf(child->id()), static_cast<DWORD>(SW_SHOWMINIMIZED));
}

TEST_F(Processes, AProcessThatCannotBeOpenedEndsTheWaitAtOnce) {
    EXPECT_EQ(processes.open(platform::kProcessQueryInformation, true, 0xFFFFFFF0u), nullptr);
    mdlFunctionStandard::gWatchShellEnd(0xFFFFFFF0u);  // returns after one poll
}

TEST_F(Processes, ALaunchThatCannotStartRaisesTheSystemsError) {
    support::TempFolder folder;
    support::writeBytes(folder.file(L"JetComp.exe"), "not a program");
    struct Row {
        std::wstring line;
    };
    for (const std::wstring& line : {L"\"" + folder.file(L"none.exe") + L"\" -src:\"a\"",
                                     L"\"" + folder.file(L"JetComp.exe") + L"\" -src:\"a\""}) {
        SCOPED_TRACE(utf8(line));
        SetLastError(0xdeadbeef);
        try {
            processes.launchMinimizedFocus(text(line));
            ADD_FAILURE() << "launched";
        } catch (const platform::RuntimeError& e) {
            EXPECT_NE(e.number, 0);
            EXPECT_NE(static_cast<DWORD>(e.number), 0xdeadbeefu);
            EXPECT_FALSE(e.description.empty());
        }
    }
}

}  // namespace
