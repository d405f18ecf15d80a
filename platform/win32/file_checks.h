// What the run asks of a database before it starts the compactor: whether another program holds
// it open, its size, and the free space on its volume.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace win32 {

bool fileHeldOpen(const platform::Text& path);
std::uint64_t fileSize(const platform::Text& path);
std::uint64_t freeSpaceBeside(const platform::Text& path);

}  // namespace win32
