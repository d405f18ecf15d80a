// Twips to pixels at a window's own DPI, the window size for a client size, and the system's
// message font at that DPI. Newer user32 functions are looked up at run time so the program still
// starts where they are missing.
#pragma once

#include <windows.h>

namespace win32 {

constexpr int kTwipsPerInch = 1440;

inline int twipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch); }

UINT windowDpi(HWND hwnd);
SIZE windowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);
HFONT createMessageFont(UINT dpi);
int systemMetric(int index, UINT dpi);

}  // namespace win32
