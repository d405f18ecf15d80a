// The file-system service: existence of a file, a rename that never replaces, reading a file.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace win32 {

std::unique_ptr<platform::FileSystem> createFileSystem();

}  // namespace win32
