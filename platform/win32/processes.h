// Launching the compactor and waiting for it without blocking the window.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace win32 {

std::unique_ptr<platform::ChildProcess> launchMinimizedFocus(const platform::Text& commandLine);
platform::ProcessHandle openProcess(std::uint32_t access, bool inheritHandle, std::uint32_t id);
bool getExitCodeProcess(platform::ProcessHandle process, std::uint32_t& exitCode);
void closeHandle(platform::ProcessHandle process);
bool processHasEnded(platform::ProcessHandle process);
void waitForProcessOrEvent(platform::ProcessHandle process);

}  // namespace win32
