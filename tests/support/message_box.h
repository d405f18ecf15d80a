// Reading a message box of another process before answering it.
#pragma once

#include "box_icon.h"

#include <windows.h>

#include <string>
#include <vector>

namespace support {

struct MessageBoxSeen {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;  // the static with id 0xFFFF
    BoxIcon icon = BoxIcon::None;
    std::vector<int> buttons;  // ids of the visible buttons, ascending (IDOK, IDYES, IDNO...)
};

// "OK", "Yes/No", ... for the ids in an assertion's message.
std::string namesOf(const std::vector<int>& buttons);

// Waits for a visible #32770 top-level window of the process and reads it. Returns false if none
// appears within timeoutMs.
bool waitForMessageBox(DWORD processId, MessageBoxSeen& box, DWORD timeoutMs);

// Presses the box's button with this id and waits until the box is gone; false if it stays.
bool answerMessageBox(const MessageBoxSeen& box, int buttonId, DWORD timeoutMs);

}  // namespace support
