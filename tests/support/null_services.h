// Platform services that do nothing: every call succeeds, changes nothing and answers the most
// harmless way (no text, no file, no window, OK to every message, a process that has ended). Test
// doubles derive from it and override only what they need.
#pragma once

#include "platform/platform.h"

namespace support {

class NullServices : public platform::Services {
public:
    void showMainWindow(const platform::FormDescription&) override {}
    platform::Text readText(platform::TextField) override { return {}; }
    void setText(platform::TextField, const platform::Text&) override {}
    void processPendingEvents() override {}
    std::int32_t messageBox(const platform::Text&, std::int32_t, const platform::Text*) override { return 1; }
    platform::WindowHandle mainWindowHandle() override { return 0; }
    void unloadMainWindow() override {}
    // Nothing may run on after it, and nothing here can end the program otherwise.
    [[noreturn]] void endProgram() override;

    // A file system in which no file exists.
    std::unique_ptr<platform::FileSystem> createFileSystem() override;
    // None: no process is started.
    std::unique_ptr<platform::ChildProcess> launchMinimizedFocus(const platform::Text&) override {
        return nullptr;
    }
    platform::ProcessHandle openProcess(std::uint32_t, bool, std::uint32_t) override { return 0; }
    bool getExitCodeProcess(platform::ProcessHandle, std::uint32_t&) override { return false; }
    void closeHandle(platform::ProcessHandle) override {}
    bool processHasEnded(platform::ProcessHandle) override { return true; }
    void waitForProcessOrEvent(platform::ProcessHandle) override {}

    platform::LocalTime localTime() override { return {2026, 12, 7, 9, 5, 3}; }
    platform::Text programFolder() override { return {}; }
    std::uintptr_t instanceHandle() override { return 0; }
    platform::Text fromCodePage(std::uint32_t, const std::string&) override { return {}; }
    platform::OpenFileResult getOpenFileName(const platform::OpenFileRequest&) override {
        return {false, {}};
    }

    bool fileHeldOpen(const platform::Text&) override { return false; }
    std::uint64_t fileSize(const platform::Text&) override { return 0; }
    std::uint64_t freeSpaceBeside(const platform::Text&) override { return 0; }
    void copyAccessList(const platform::Text&, const platform::Text&) override {}
    void copyCreationTime(const platform::Text&, const platform::Text&) override {}
    void copyAttributes(const platform::Text&, const platform::Text&) override {}
    void copyOwner(const platform::Text&, const platform::Text&) override {}
};

}  // namespace support
