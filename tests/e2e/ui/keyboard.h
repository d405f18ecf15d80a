// Keys as the keyboard would deliver them to Harbek's thread: posted to the control that has the
// focus, so they pass through Harbek's message loop and its dialog manager.
#pragma once

#include <windows.h>

namespace e2e {

// The focus window of the thread that owns window (GetGUIThreadInfo); null when there is none.
HWND focusOfThreadOf(HWND window);

void postKeyDown(HWND target, WPARAM virtualKey);  // WM_KEYDOWN only (Tab, Enter)
void postEscape(HWND target);                      // WM_KEYDOWN VK_ESCAPE, then WM_CHAR 0x1B

}  // namespace e2e
