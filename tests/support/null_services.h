// Platform services that do nothing, one for each of the platform's interfaces: every call
// succeeds, changes nothing and answers the most harmless way (no text, no file, no window, OK
// to every message, a process that has ended). Test doubles derive from the ones they need and
// override only what they record.
#pragma once

#include "platform/platform.h"

namespace support {

class NullWindow : public platform::Window {
public:
    void showMainWindow(const platform::FormDescription&) override {}
    platform::Text readText(platform::TextField) override { return {}; }
    void setText(platform::TextField, const platform::Text&) override {}
    void processPendingEvents() override {}
    std::int32_t messageBox(const platform::Text&, std::int32_t, const platform::Text*) override {
        return platform::box::kAnswerOk;
    }
    platform::WindowHandle mainWindowHandle() override { return 0; }
    platform::OpenFileResult getOpenFileName(const platform::OpenFileRequest&) override {
        return {false, {}};
    }
    void unloadMainWindow() override {}
    // Nothing may run on after it, and nothing here can end the program otherwise.
    [[noreturn]] void endProgram() override;
};

// A file system in which no file exists.
class NullFileSystem : public platform::FileSystem {
public:
    bool fileExists(const platform::Text&) override { return false; }
    void moveFile(const platform::Text&, const platform::Text&) override {}
    std::unique_ptr<platform::ReadOnlyFile> openForReading(const platform::Text&) override;
    void createFolder(const platform::Text&) override {}
    std::unique_ptr<platform::NewFile> createNewFile(const platform::Text&) override;
    bool fileHeldOpen(const platform::Text&) override { return false; }
    std::uint64_t fileSize(const platform::Text&) override { return 0; }
    std::uint64_t freeSpaceBeside(const platform::Text&) override { return 0; }
    void copyAccessList(const platform::Text&, const platform::Text&) override {}
    void copyCreationTime(const platform::Text&, const platform::Text&) override {}
    void copyAttributes(const platform::Text&, const platform::Text&) override {}
    void copyOwner(const platform::Text&, const platform::Text&) override {}
};

class NullEnvironment : public platform::Environment {
public:
    platform::LocalTime localTime() override { return {2026, 12, 7, 9, 5, 3}; }
    platform::Text programFolder() override { return {}; }
    std::uintptr_t instanceHandle() override { return 0; }
    platform::Text fromCodePage(std::uint32_t, const std::string&) override { return {}; }
    std::unique_ptr<platform::FileSystem> createFileSystem() override {
        return std::make_unique<NullFileSystem>();
    }
};

// No process is started, and none can be opened.
class NullProcesses : public platform::Processes {
public:
    std::unique_ptr<platform::Process> launchMinimizedFocus(const platform::Text&) override {
        return nullptr;
    }
    std::unique_ptr<platform::Process> open(std::uint32_t, bool, std::uint32_t) override { return nullptr; }
};

}  // namespace support
