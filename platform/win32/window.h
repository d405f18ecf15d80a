// The window's services over user32 and comdlg32: the form's window, its fields, message boxes
// and the open-file dialog.
#pragma once

#include <windows.h>

#include "platform/window.h"

namespace win32 {

class Window : public platform::Window {
public:
    explicit Window(HINSTANCE instance) : instance_(instance) {}

    void showMainWindow(const platform::FormDescription& form) override;
    platform::Text readText(platform::TextField field) override;
    void setText(platform::TextField field, const platform::Text& text) override;
    void processPendingEvents() override;
    std::int32_t messageBox(const platform::Text& text, std::int32_t flags,
                            const platform::Text* title) override;
    platform::WindowHandle mainWindowHandle() override;
    platform::OpenFileResult getOpenFileName(const platform::OpenFileRequest& request) override;
    void unloadMainWindow() override;
    [[noreturn]] void endProgram() override;

private:
    HINSTANCE instance_;
};

}  // namespace win32
