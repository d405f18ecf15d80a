// The compactor's process: launched minimized, waited for with the window live, its exit code.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/text.h"

namespace platform {

// A process the program holds: the hold keeps its id from being reused, and ends when the object
// is destroyed.
class Process {
public:
    virtual ~Process() = default;
    virtual std::uint32_t id() const = 0;
    // The exit code once the process has ended; none while it runs or when it cannot be read.
    virtual std::optional<std::uint32_t> exitCode() = 0;
    // Whether the process has ended, whatever its exit code.
    virtual bool hasEnded() = 0;
    // Blocks until the process ends or a window event arrives.
    virtual void waitForEndOrEvent() = 0;
};

// Access rights asked of a process opened by id (the system's values).
constexpr std::uint32_t kProcessQueryInformation = 0x400;
constexpr std::uint32_t kSynchronize = 0x100000;

class Processes {
public:
    virtual ~Processes() = default;
    // Starts the command line (one text, split by the platform's rules) minimized with the focus,
    // without waiting, in the program's current folder.
    virtual std::unique_ptr<Process> launchMinimizedFocus(const Text& commandLine) = 0;
    // Opens a running process by its id; none when it cannot be opened (the system's call
    // reports that by its result alone).
    virtual std::unique_ptr<Process> open(std::uint32_t access, bool inheritHandle, std::uint32_t id) = 0;
};

}  // namespace platform
