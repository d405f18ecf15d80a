// The main window: built from the form's description as a dialog-style window, so the dialog
// manager (IsDialogMessage, DefDlgProc) gives it tab order, access keys and the default button.
#pragma once

#include <windows.h>

#include "platform/window.h"

namespace win32 {

void showMainWindow(HINSTANCE instance, const platform::FormDescription& form);
HWND mainWindow();
HWND fieldControl(platform::TextField field);
void processPendingEvents();
int runMessageLoop();
void unloadMainWindow();

}  // namespace win32
