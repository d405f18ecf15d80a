#include "platform/win32/window.h"

#include <string>

#include "platform/win32/errors.h"
#include "platform/win32/form_window.h"
#include "platform/win32/open_file_dialog.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {
// What a message box shows as its caption when it is given none.
const wchar_t kApplicationTitle[] = L"Harbek";
}  // namespace

void Window::showMainWindow(const platform::FormDescription& form) { win32::showMainWindow(instance_, form); }

platform::Text Window::readText(platform::TextField field) {
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

void Window::setText(platform::TextField field, const platform::Text& text) {
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

void Window::processPendingEvents() { win32::processPendingEvents(); }

std::int32_t Window::messageBox(const platform::Text& text, std::int32_t flags, const platform::Text* title) {
    const int answer = MessageBoxW(mainWindow(), wide(text), title ? wide(*title) : kApplicationTitle,
                                   static_cast<UINT>(flags));
    if (answer == 0) throwLastError();
    return answer;
}

platform::WindowHandle Window::mainWindowHandle() {
    return reinterpret_cast<platform::WindowHandle>(mainWindow());
}

platform::OpenFileResult Window::getOpenFileName(const platform::OpenFileRequest& request) {
    return win32::getOpenFileName(request);
}

void Window::unloadMainWindow() { win32::unloadMainWindow(); }

void Window::endProgram() { ExitProcess(0); }

}  // namespace win32
