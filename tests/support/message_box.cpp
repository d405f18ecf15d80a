#include "message_box.h"

#include "wait.h"
#include "window_lookup.h"

#include <algorithm>

namespace support {

std::string namesOf(const std::vector<int>& buttons) {
    std::string names;
    for (int id : buttons) {
        if (!names.empty()) names += "/";
        switch (id) {
            case IDOK:
                names += "OK";
                break;
            case IDCANCEL:
                names += "Cancel";
                break;
            case IDABORT:
                names += "Abort";
                break;
            case IDRETRY:
                names += "Retry";
                break;
            case IDIGNORE:
                names += "Ignore";
                break;
            case IDYES:
                names += "Yes";
                break;
            case IDNO:
                names += "No";
                break;
            default:
                names += "id " + std::to_string(id);
                break;
        }
    }
    return names.empty() ? "(none)" : names;
}

bool waitForMessageBox(DWORD processId, MessageBoxSeen& box, DWORD timeoutMs) {
    HWND found = nullptr;
    if (!waitUntil(
            [&] {
                auto boxes = topLevelWindows(processId, L"#32770");
                found = boxes.empty() ? nullptr : boxes.front();
                return found != nullptr;
            },
            timeoutMs))
        return false;

    box = MessageBoxSeen{};
    box.window = found;
    box.title = textOf(found);
    box.text = textOf(GetDlgItem(found, 0xFFFF));
    for (HWND button : childWindows(found, L"Button"))
        if (IsWindowVisible(button)) box.buttons.push_back(GetDlgCtrlID(button));
    std::sort(box.buttons.begin(), box.buttons.end());
    box.icon = iconOfMessageBox(found);
    return true;
}

bool answerMessageBox(const MessageBoxSeen& box, int buttonId, DWORD timeoutMs) {
    HWND button = GetDlgItem(box.window, buttonId);
    if (!button) return false;
    postClick(button);
    return waitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, timeoutMs);
}

}  // namespace support
