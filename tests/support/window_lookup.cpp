#include "window_lookup.h"

namespace support {
namespace {

constexpr UINT kAnswerMs = 5000;

struct TopLevelSearch {
    DWORD processId;
    std::wstring className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        (search->className.empty() || classOf(window) == search->className))
        search->found.push_back(window);
    return TRUE;
}

struct ChildSearch {
    std::wstring className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (search->className.empty() || classOf(window) == search->className) search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD processId, const std::wstring& className) {
    TopLevelSearch search{processId, className, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND topLevelWindowWithCaption(DWORD processId, const std::wstring& caption) {
    for (HWND window : topLevelWindows(processId, L""))
        if (textOf(window) == caption) return window;
    return nullptr;
}

std::vector<HWND> childWindows(HWND parent, const std::wstring& className) {
    ChildSearch search{className, {}};
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring classOf(HWND window) {
    wchar_t name[256] = {};
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

bool getText(HWND window, std::wstring& text) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length))
        return false;
    std::wstring buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kAnswerMs, &copied))
        return false;
    buffer.resize(copied);
    text = buffer;
    return true;
}

std::wstring textOf(HWND window) {
    std::wstring text;
    return getText(window, text) ? text : std::wstring();
}

bool setText(HWND window, const std::wstring& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, kAnswerMs, &result) &&
           result == TRUE;
}

void postClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

}  // namespace support
