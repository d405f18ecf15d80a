#include "user_files.h"

#include "support/files.h"

namespace e2e {

bool writeNewFile(const std::wstring& path, const std::string& bytes) {
    return support::writeBytes(path, bytes, CREATE_NEW);
}

}  // namespace e2e
