// Harbek's six controls found from outside by class and caption, so a scenario can name each one
// (the session itself exposes only the window and the path field).
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

struct MainWindowControls {
    HWND label = nullptr;   // Static "修復するMDBファイル"
    HWND path = nullptr;    // single-line Edit
    HWND browse = nullptr;  // "参照(&R)"
    HWND log = nullptr;     // multi-line Edit
    HWND run = nullptr;     // "修復の実行(&R)"
    HWND cancel = nullptr;  // "ｷｬﾝｾﾙ"
};

// True when all six were found.
bool findMainWindowControls(HWND window, MainWindowControls& controls);

// "the path field", "参照(&R)", ... or the class and handle of a window that is none of them.
std::string nameOfControl(const MainWindowControls& controls, HWND window);

}  // namespace e2e
