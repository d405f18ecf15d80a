#include "main_window_controls.h"

#include "../driver/harbek_session.h"
#include "../driver/text.h"
#include "../driver/window_lookup.h"

#include <cstdio>

namespace e2e {

bool findMainWindowControls(HWND window, MainWindowControls& controls)
{
    controls = MainWindowControls{};
    for (HWND child : childWindows(window, L"")) {
        std::wstring cls = classOf(child);
        std::wstring text = textOf(child);
        if (_wcsicmp(cls.c_str(), L"Edit") == 0) {
            (GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE ? controls.log : controls.path) = child;
        } else if (_wcsicmp(cls.c_str(), L"Static") == 0 && text == kLabelCaption) {
            controls.label = child;
        } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
            if (text == kBrowseCaption) controls.browse = child;
            if (text == kRunCaption) controls.run = child;
            if (text == kCancelCaption) controls.cancel = child;
        }
    }
    return controls.label && controls.path && controls.browse && controls.log && controls.run &&
           controls.cancel;
}

std::string nameOfControl(const MainWindowControls& controls, HWND window)
{
    if (!window) return "no window";
    if (window == controls.label) return "the label";
    if (window == controls.path) return "the path field";
    if (window == controls.browse) return utf8(kBrowseCaption);
    if (window == controls.log) return "the log";
    if (window == controls.run) return utf8(kRunCaption);
    if (window == controls.cancel) return utf8(kCancelCaption);
    char handle[32];
    std::snprintf(handle, sizeof handle, "%p", static_cast<void*>(window));
    return utf8(classOf(window)) + " \"" + utf8(textOf(window)) + "\" " + handle;
}

}  // namespace e2e
