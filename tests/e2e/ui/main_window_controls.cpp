#include "main_window_controls.h"

#include "support/harbek_session.h"
#include "support/text.h"
#include "support/window_lookup.h"

#include <cstdio>

namespace e2e {

bool findMainWindowControls(HWND window, MainWindowControls& controls) {
    controls = MainWindowControls{};
    for (HWND child : support::childWindows(window, L"")) {
        std::wstring cls = support::classOf(child);
        std::wstring text = support::textOf(child);
        if (_wcsicmp(cls.c_str(), L"Edit") == 0) {
            (GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE ? controls.log : controls.path) = child;
        } else if (_wcsicmp(cls.c_str(), L"Static") == 0 && text == support::kLabelCaption) {
            controls.label = child;
        } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
            if (text == support::kBrowseCaption) controls.browse = child;
            if (text == support::kRunCaption) controls.run = child;
            if (text == support::kCancelCaption) controls.cancel = child;
        }
    }
    return controls.label && controls.path && controls.browse && controls.log && controls.run &&
           controls.cancel;
}

std::string nameOfControl(const MainWindowControls& controls, HWND window) {
    if (!window) return "no window";
    if (window == controls.label) return "the label";
    if (window == controls.path) return "the path field";
    if (window == controls.browse) return support::utf8(support::kBrowseCaption);
    if (window == controls.log) return "the log";
    if (window == controls.run) return support::utf8(support::kRunCaption);
    if (window == controls.cancel) return support::utf8(support::kCancelCaption);
    char handle[32];
    std::snprintf(handle, sizeof handle, "%p", static_cast<void*>(window));
    return support::utf8(support::classOf(window)) + " \"" + support::utf8(support::textOf(window)) + "\" " +
           handle;
}

}  // namespace e2e
