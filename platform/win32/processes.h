// Launching the compactor and waiting for it without blocking the window.
#pragma once

#include "platform/processes.h"

namespace win32 {

class Processes : public platform::Processes {
public:
    std::unique_ptr<platform::Process> launchMinimizedFocus(const platform::Text& commandLine) override;
    std::unique_ptr<platform::Process> open(std::uint32_t access, bool inheritHandle,
                                            std::uint32_t id) override;
};

}  // namespace win32
