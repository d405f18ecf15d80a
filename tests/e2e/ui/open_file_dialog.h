// Driving the common open-file dialog (explorer style) of another process: its file-type combo
// (id 0x470), its file name box (a ComboBoxEx32, id 0x47c) and its Open/Cancel buttons.
#pragma once

#include "support/wait.h"

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

inline constexpr wchar_t kBrowseDialogTitle[] = L"MDBファイルを選択してください。";

struct FileTypeChoices {
    std::vector<std::wstring> texts;  // the combo's display texts, in order
    int selected = -1;                // CB_GETCURSEL
};

// The first visible #32770 top-level window of the process (the dialog, or a message box in its
// place); null if none appears within timeoutMs.
HWND waitForDialogWindow(DWORD processId, DWORD timeoutMs = support::kWaitMs);

// Title of a #32770 window, and the text of its 0xFFFF static when it is a message box.
std::string describeDialogWindow(HWND dialog);

// False when the combo is missing or does not answer.
bool readFileTypeChoices(HWND dialog, FileTypeChoices& choices);

// Types text into the file name box's edit (WM_SETTEXT); false when the box or its edit is missing.
bool typeFileName(HWND dialog, const std::wstring& text);

void pressOpen(HWND dialog);    // BM_CLICK on IDOK, posted
void pressCancel(HWND dialog);  // BM_CLICK on IDCANCEL, posted

// True when the dialog window is gone (or hidden) within timeoutMs.
bool waitForDialogClosed(HWND dialog, DWORD timeoutMs = support::kWaitMs);

}  // namespace e2e
