// Finding another process's windows and controls as a person sees them (class and caption), and
// talking to them with messages that Wine marshals between processes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace support {

// Visible top-level windows of the process, of the class (any class when empty).
std::vector<HWND> topLevelWindows(DWORD processId, const std::wstring& className);

// The first visible top-level window of the process with exactly this caption, or null.
HWND topLevelWindowWithCaption(DWORD processId, const std::wstring& caption);

// Direct and deeper children of the window, of the class (any class when empty).
std::vector<HWND> childWindows(HWND parent, const std::wstring& className);

std::wstring classOf(HWND window);

// WM_GETTEXT / WM_SETTEXT through SendMessageTimeout, so a program that stops answering makes the
// call fail after a few seconds instead of blocking the caller. getText returns false on timeout.
bool getText(HWND window, std::wstring& text);
std::wstring textOf(HWND window);  // empty on failure
bool setText(HWND window, const std::wstring& text);

// A click that does not wait for what the click starts (a modal box, a run).
void postClick(HWND button);

}  // namespace support
