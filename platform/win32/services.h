// The platform's services over user32, kernel32 and comdlg32.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace win32 {

class Services : public platform::Services {
public:
    explicit Services(HINSTANCE instance) : instance_(instance) {}

    void showMainWindow(const platform::FormDescription& form) override;
    platform::Text readText(platform::TextField field) override;
    void setText(platform::TextField field, const platform::Text& text) override;
    void processPendingEvents() override;
    std::int32_t messageBox(const platform::Text& text, std::int32_t flags,
                            const platform::Text* title) override;
    platform::WindowHandle mainWindowHandle() override;
    void unloadMainWindow() override;
    [[noreturn]] void endProgram() override;
    std::unique_ptr<platform::FileSystem> createFileSystem() override;
    std::unique_ptr<platform::ChildProcess> launchMinimizedFocus(const platform::Text& commandLine) override;
    platform::ProcessHandle openProcess(std::uint32_t access, bool inheritHandle, std::uint32_t id) override;
    bool getExitCodeProcess(platform::ProcessHandle process, std::uint32_t& exitCode) override;
    void closeHandle(platform::ProcessHandle process) override;
    bool processHasEnded(platform::ProcessHandle process) override;
    void waitForProcessOrEvent(platform::ProcessHandle process) override;
    platform::LocalTime localTime() override;
    platform::Text programFolder() override;
    std::uintptr_t instanceHandle() override;
    platform::Text fromCodePage(std::uint32_t codePage, const std::string& bytes) override;
    platform::OpenFileResult getOpenFileName(const platform::OpenFileRequest& request) override;
    bool fileHeldOpen(const platform::Text& path) override;
    std::uint64_t fileSize(const platform::Text& path) override;
    std::uint64_t freeSpaceBeside(const platform::Text& path) override;
    void copyAccessList(const platform::Text& from, const platform::Text& to) override;
    void copyCreationTime(const platform::Text& from, const platform::Text& to) override;
    void copyAttributes(const platform::Text& from, const platform::Text& to) override;
    void copyOwner(const platform::Text& from, const platform::Text& to) override;

private:
    HINSTANCE instance_;
};

}  // namespace win32
