// One running Harbek.exe, driven from outside as a user would: its window found by process id and
// caption, its controls by class and caption. The session ends Harbek, and any JetComp.exe it
// started, when it is destroyed, so a failed test or benchmark leaves nothing running.
#pragma once

#include "message_box.h"
#include "process.h"
#include "wait.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace support {

inline constexpr wchar_t kWindowCaption[] = L"MDBファイル修復ツール";
inline constexpr wchar_t kLabelCaption[] = L"修復するMDBファイル";
inline constexpr wchar_t kBrowseCaption[] = L"参照(&R)";
inline constexpr wchar_t kRunCaption[] = L"修復の実行(&R)";
inline constexpr wchar_t kCancelCaption[] = L"ｷｬﾝｾﾙ";

class HarbekSession {
public:
    HarbekSession() = default;
    HarbekSession(const HarbekSession&) = delete;
    HarbekSession& operator=(const HarbekSession&) = delete;
    ~HarbekSession();

    // Starts exe in currentFolder with the extra environment and waits for its window and all of
    // its controls.
    ::testing::AssertionResult start(const std::wstring& exe, const std::wstring& currentFolder,
                                     const Environment& extra);

    DWORD processId() const { return process_.id(); }
    HWND window() const { return window_; }
    HWND pathField() const { return pathField_; }
    bool running() const { return process_.running(); }
    // The main window still exists and is shown.
    bool windowOpen() const;

    ::testing::AssertionResult typePath(const std::wstring& path);  // WM_SETTEXT
    std::wstring path() const;
    std::wstring log() const;

    void pressRun() const;
    void pressCancel() const;
    void pressBrowse() const;
    void pressCloseBox() const;  // WM_SYSCOMMAND SC_CLOSE, as the title bar's close box sends

    // Waits for Harbek's next message box and reads it; fails early if Harbek ends meanwhile.
    ::testing::AssertionResult waitForMessageBox(MessageBoxSeen& box, DWORD timeoutMs = kWaitMs) const;
    ::testing::AssertionResult answer(const MessageBoxSeen& box, int buttonId) const;
    ::testing::AssertionResult waitForExit(DWORD timeoutMs = kWaitMs) const;

    // JetComp.exe processes that Harbek started and that still run.
    std::vector<DWORD> runningCompactors() const;

private:
    bool findControls();  // true when all five were found

    Process process_;
    HWND window_ = nullptr;
    HWND pathField_ = nullptr;
    HWND logField_ = nullptr;
    HWND browseButton_ = nullptr;
    HWND runButton_ = nullptr;
    HWND cancelButton_ = nullptr;
};

}  // namespace support
