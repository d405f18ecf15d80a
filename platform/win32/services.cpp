#include "platform/win32/services.h"

#include <string>

#include "platform/win32/errors.h"
#include "platform/win32/file_checks.h"
#include "platform/win32/file_security.h"
#include "platform/win32/files.h"
#include "platform/win32/form_window.h"
#include "platform/win32/open_file_dialog.h"
#include "platform/win32/processes.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {
// What a message box shows as its caption when it is given none.
const wchar_t kApplicationTitle[] = L"Harbek";
}  // namespace

void Services::showMainWindow(const platform::FormDescription& form) {
    win32::showMainWindow(instance_, form);
}

platform::Text Services::readText(platform::TextField field) {
    HWND control = fieldControl(field);
    SetLastError(ERROR_SUCCESS);
    const int length = GetWindowTextLengthW(control);
    if (length == 0 && GetLastError() != ERROR_SUCCESS) throwLastError();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SetLastError(ERROR_SUCCESS);
    const int got = GetWindowTextW(control, text.data(), length + 1);
    if (got == 0 && GetLastError() != ERROR_SUCCESS) throwLastError();
    text.resize(static_cast<std::size_t>(got));
    return fromWide(text);
}

void Services::setText(platform::TextField field, const platform::Text& text) {
    HWND control = fieldControl(field);
    // The log grows by a line at a time: what is new is appended at its end, which scrolls the
    // newest line into view and lays out only that line (setting the whole text anew shows the
    // top again, and under Wine lays out every line, some milliseconds each). The append is
    // checked, since an edit control's text limit applies to it; otherwise the text is set whole.
    if (field == platform::TextField::Msg) {
        const std::wstring next = wideString(text);
        const std::wstring current = wideString(readText(field));
        if (!current.empty() && next.size() > current.size() &&
            next.compare(0, current.size(), current) == 0) {
            const std::wstring added = next.substr(current.size());
            SendMessageW(control, EM_SETSEL, current.size(), current.size());
            SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
            if (readText(field) == text) return;
        }
    }
    if (!SetWindowTextW(control, wide(text))) throwLastError();
}

void Services::processPendingEvents() { win32::processPendingEvents(); }

std::int32_t Services::messageBox(const platform::Text& text, std::int32_t flags,
                                  const platform::Text* title) {
    HWND owner = mainWindow();
    const int answer =
        MessageBoxW(owner, wide(text), title ? wide(*title) : kApplicationTitle, static_cast<UINT>(flags));
    if (answer == 0) throwLastError();
    return answer;
}

platform::WindowHandle Services::mainWindowHandle() {
    return reinterpret_cast<platform::WindowHandle>(mainWindow());
}

void Services::unloadMainWindow() { win32::unloadMainWindow(); }

void Services::endProgram() { ExitProcess(0); }

std::unique_ptr<platform::FileSystem> Services::createFileSystem() { return win32::createFileSystem(); }

std::unique_ptr<platform::ChildProcess> Services::launchMinimizedFocus(const platform::Text& commandLine) {
    return win32::launchMinimizedFocus(commandLine);
}

platform::ProcessHandle Services::openProcess(std::uint32_t access, bool inheritHandle, std::uint32_t id) {
    return win32::openProcess(access, inheritHandle, id);
}

bool Services::getExitCodeProcess(platform::ProcessHandle process, std::uint32_t& exitCode) {
    return win32::getExitCodeProcess(process, exitCode);
}

void Services::closeHandle(platform::ProcessHandle process) { win32::closeHandle(process); }

bool Services::processHasEnded(platform::ProcessHandle process) { return win32::processHasEnded(process); }

void Services::waitForProcessOrEvent(platform::ProcessHandle process) {
    win32::waitForProcessOrEvent(process);
}

platform::LocalTime Services::localTime() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

platform::Text Services::programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) throwLastError();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::size_t cut = path.find_last_of(L'\\');
    if (cut == std::wstring::npos) return fromWide(path);
    // A drive's root keeps its separator ("C:\"), as the program folder is reported there.
    if (cut == 2 && path[1] == L':') ++cut;
    return fromWide(path.substr(0, cut));
}

std::uintptr_t Services::instanceHandle() { return reinterpret_cast<std::uintptr_t>(instance_); }

platform::OpenFileResult Services::getOpenFileName(const platform::OpenFileRequest& request) {
    return win32::getOpenFileName(request);
}

platform::Text Services::fromCodePage(std::uint32_t codePage, const std::string& bytes) {
    // A code page this system lacks (or a damaged header's number) falls back to the system's
    // ANSI code page: the text then shows wrongly, but reading the database goes on.
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
    return fromWide(text);
}

bool Services::fileHeldOpen(const platform::Text& path) { return win32::fileHeldOpen(path); }

std::uint64_t Services::fileSize(const platform::Text& path) { return win32::fileSize(path); }

std::uint64_t Services::freeSpaceBeside(const platform::Text& path) { return win32::freeSpaceBeside(path); }

void Services::copyAccessList(const platform::Text& from, const platform::Text& to) {
    win32::copyAccessList(from, to);
}

void Services::copyCreationTime(const platform::Text& from, const platform::Text& to) {
    win32::copyCreationTime(from, to);
}

void Services::copyAttributes(const platform::Text& from, const platform::Text& to) {
    win32::copyAttributes(from, to);
}

void Services::copyOwner(const platform::Text& from, const platform::Text& to) { win32::copyOwner(from, to); }

}  // namespace win32
