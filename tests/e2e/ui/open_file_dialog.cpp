#include "open_file_dialog.h"

#include "support/text.h"
#include "support/window_lookup.h"

#include <commctrl.h>

namespace e2e {
namespace {

constexpr int kFileTypeCombo = 0x470;
constexpr int kFileNameBox = 0x47c;
constexpr UINT kAnswerMs = 5000;

bool send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result) != 0;
}

}  // namespace

HWND waitForDialogWindow(DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    support::waitUntil(
        [&] {
            std::vector<HWND> dialogs = support::topLevelWindows(processId, L"#32770");
            found = dialogs.empty() ? nullptr : dialogs.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

std::string describeDialogWindow(HWND dialog) {
    std::string text = "\"";
    text.append(support::utf8(support::textOf(dialog))).append("\"");
    if (HWND message = GetDlgItem(dialog, 0xFFFF))
        text.append(" saying \"").append(support::utf8(support::textOf(message))).append("\"");
    return text;
}

bool readFileTypeChoices(HWND dialog, FileTypeChoices& choices) {
    choices = FileTypeChoices{};
    HWND combo = GetDlgItem(dialog, kFileTypeCombo);
    DWORD_PTR count = 0;
    if (!combo || !send(combo, CB_GETCOUNT, 0, 0, count) || static_cast<LONG_PTR>(count) < 0) return false;
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        if (!send(combo, CB_GETLBTEXTLEN, i, 0, length) || static_cast<LONG_PTR>(length) < 0) return false;
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), copied) ||
            static_cast<LONG_PTR>(copied) < 0)
            return false;
        text.resize(copied);
        choices.texts.push_back(text);
    }
    DWORD_PTR selected = 0;
    if (!send(combo, CB_GETCURSEL, 0, 0, selected)) return false;
    choices.selected = static_cast<int>(static_cast<LONG_PTR>(selected));
    return true;
}

bool typeFileName(HWND dialog, const std::wstring& text) {
    HWND box = GetDlgItem(dialog, kFileNameBox);
    DWORD_PTR edit = 0;
    if (!box || !send(box, CBEM_GETEDITCONTROL, 0, 0, edit) || !edit) return false;
    return support::setText(reinterpret_cast<HWND>(edit), text) &&
           support::textOf(reinterpret_cast<HWND>(edit)) == text;
}

void pressOpen(HWND dialog) { support::postClick(GetDlgItem(dialog, IDOK)); }
void pressCancel(HWND dialog) { support::postClick(GetDlgItem(dialog, IDCANCEL)); }

bool waitForDialogClosed(HWND dialog, DWORD timeoutMs) {
    return support::waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
}

}  // namespace e2e
