// The environment's services over kernel32: the local time, the program's folder and instance,
// code pages, and the file system.
#pragma once

#include <windows.h>

#include "platform/environment.h"

namespace win32 {

class Environment : public platform::Environment {
public:
    explicit Environment(HINSTANCE instance) : instance_(instance) {}

    platform::LocalTime localTime() override;
    platform::Text programFolder() override;
    std::uintptr_t instanceHandle() override;
    platform::Text fromCodePage(std::uint32_t codePage, const std::string& bytes) override;
    std::unique_ptr<platform::FileSystem> createFileSystem() override;

private:
    HINSTANCE instance_;
};

}  // namespace win32
