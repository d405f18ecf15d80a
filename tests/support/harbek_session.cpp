#include "harbek_session.h"

#include "text.h"
#include "window_lookup.h"

namespace support {
namespace {

constexpr wchar_t kCompactorName[] = L"JetComp.exe";

HWND buttonWithCaption(HWND window, const std::wstring& caption) {
    for (HWND button : childWindows(window, L"Button"))
        if (textOf(button) == caption) return button;
    return nullptr;
}

std::string describeControls(HWND window) {
    std::string found;
    for (HWND child : childWindows(window, L"")) {
        LONG style = GetWindowLongW(child, GWL_STYLE);
        found += "\n  " + utf8(classOf(child)) + " \"" + utf8(textOf(child)) + "\"";
        if (classOf(child) == L"Edit" && (style & ES_MULTILINE)) found += " (multi-line)";
    }
    return found.empty() ? " (no controls)" : found;
}

}  // namespace

HarbekSession::~HarbekSession() {
    if (!process_.started()) return;
    std::vector<DWORD> compactors = childProcesses(process_.id(), kCompactorName);
    process_.kill();
    for (DWORD id : compactors) killProcess(id);
}

::testing::AssertionResult HarbekSession::start(const std::wstring& exe, const std::wstring& currentFolder,
                                                const Environment& extra) {
    Launch launch;
    launch.exe = exe;
    launch.folder = currentFolder;
    launch.environment = extra;
    if (!process_.start(launch))
        return ::testing::AssertionFailure()
               << "CreateProcessW(" << utf8(exe) << ") failed with error " << process_.error();

    waitUntil([&] {
        window_ = topLevelWindowWithCaption(process_.id(), kWindowCaption);
        return window_ != nullptr || !process_.running();
    });
    if (!window_) {
        if (!process_.running())
            return ::testing::AssertionFailure()
                   << "Harbek ended with exit code " << process_.exitCode() << " before showing its window";
        std::string seen;
        for (HWND top : topLevelWindows(process_.id(), L"")) seen += " \"" + utf8(textOf(top)) + "\"";
        return ::testing::AssertionFailure()
               << "no window captioned \"" << utf8(kWindowCaption) << "\" within " << kWaitMs
               << " ms; its windows:" << (seen.empty() ? " none" : seen);
    }

    if (!waitUntil([&] { return findControls() || !process_.running(); }) || !process_.running())
        return ::testing::AssertionFailure()
               << "the window lacks a control; it has:" << describeControls(window_);
    return ::testing::AssertionSuccess();
}

bool HarbekSession::findControls() {
    pathField_ = logField_ = nullptr;
    for (HWND edit : childWindows(window_, L"Edit")) {
        if (GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE)
            logField_ = edit;
        else
            pathField_ = edit;
    }
    browseButton_ = buttonWithCaption(window_, kBrowseCaption);
    runButton_ = buttonWithCaption(window_, kRunCaption);
    cancelButton_ = buttonWithCaption(window_, kCancelCaption);
    return pathField_ && logField_ && browseButton_ && runButton_ && cancelButton_;
}

bool HarbekSession::windowOpen() const {
    return process_.running() && IsWindow(window_) && IsWindowVisible(window_);
}

::testing::AssertionResult HarbekSession::typePath(const std::wstring& path) {
    if (!setText(pathField_, path))
        return ::testing::AssertionFailure() << "WM_SETTEXT to the path field was not answered";
    std::wstring now = this->path();
    if (now != path)
        return ::testing::AssertionFailure()
               << "the path field reads \"" << utf8(now) << "\" after setting \"" << utf8(path) << "\"";
    return ::testing::AssertionSuccess();
}

std::wstring HarbekSession::path() const { return textOf(pathField_); }
std::wstring HarbekSession::log() const { return textOf(logField_); }

void HarbekSession::pressRun() const { postClick(runButton_); }
void HarbekSession::pressCancel() const { postClick(cancelButton_); }
void HarbekSession::pressBrowse() const { postClick(browseButton_); }
void HarbekSession::pressCloseBox() const { PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }

::testing::AssertionResult HarbekSession::waitForMessageBox(MessageBoxSeen& box, DWORD timeoutMs) const {
    bool found = false;
    waitUntil(
        [&] {
            if (!topLevelWindows(process_.id(), L"#32770").empty()) found = true;
            return found || !process_.running();
        },
        timeoutMs);
    if (!found) {
        if (!process_.running())
            return ::testing::AssertionFailure()
                   << "Harbek ended (exit code " << process_.exitCode()
                   << ") instead of showing a message box; its log was \"" << utf8(log()) << "\"";
        return ::testing::AssertionFailure()
               << "no message box within " << timeoutMs << " ms; the log reads \"" << utf8(log()) << "\"";
    }
    if (!support::waitForMessageBox(process_.id(), box, 1000))
        return ::testing::AssertionFailure() << "the message box went away before it could be read";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult HarbekSession::answer(const MessageBoxSeen& box, int buttonId) const {
    if (!answerMessageBox(box, buttonId, kWaitMs))
        return ::testing::AssertionFailure()
               << "the box \"" << utf8(box.title) << "\" did not close on button " << namesOf({buttonId})
               << " (it has " << namesOf(box.buttons) << ")";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult HarbekSession::waitForExit(DWORD timeoutMs) const {
    if (process_.waitForExit(timeoutMs)) return ::testing::AssertionSuccess();
    std::string boxes;
    for (HWND box : topLevelWindows(process_.id(), L"#32770"))
        boxes += " [" + utf8(textOf(box)) + ": " + utf8(textOf(GetDlgItem(box, 0xFFFF))) + "]";
    return ::testing::AssertionFailure()
           << "Harbek still runs after " << timeoutMs << " ms" << (boxes.empty() ? "" : "; it shows" + boxes);
}

std::vector<DWORD> HarbekSession::runningCompactors() const {
    return childProcesses(process_.id(), kCompactorName);
}

}  // namespace support
