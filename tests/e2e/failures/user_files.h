// Files a scenario makes as the user (or another program) would: new files with given bytes.
#pragma once

#include <string>

namespace e2e {

// Creates path with exactly these bytes; fails if it exists.
bool writeNewFile(const std::wstring& path, const std::string& bytes);

}  // namespace e2e
