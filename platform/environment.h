// What the program asks of its surroundings: the local time, its own folder, its instance, text
// in a code page, and the file system a run works in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/text.h"

namespace platform {

struct LocalTime {
    int year, month, day, hour, minute, second;
};

class Environment {
public:
    virtual ~Environment() = default;
    virtual LocalTime localTime() = 0;
    virtual Text programFolder() = 0;  // no trailing separator, except at a drive's root
    virtual std::uintptr_t instanceHandle() = 0;
    // Text in a code page (932, 1252, ...) to Unicode, by the system's tables; never fails.
    virtual Text fromCodePage(std::uint32_t codePage, const std::string& bytes) = 0;
    // The file-system object a run creates and releases.
    virtual std::unique_ptr<FileSystem> createFileSystem() = 0;
};

}  // namespace platform
