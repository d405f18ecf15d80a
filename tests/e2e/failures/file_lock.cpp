#include "file_lock.h"

namespace e2e {

bool FileLock::open(const std::wstring& path, DWORD access, DWORD sharing) {
    release();  // before the open, which the old hold might refuse
    file_.reset(
        CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file_);
}

}  // namespace e2e
