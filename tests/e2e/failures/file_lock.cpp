#include "file_lock.h"

namespace e2e {

bool FileLock::open(const std::wstring& path, DWORD access, DWORD sharing) {
    release();
    file_ =
        CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file_ != INVALID_HANDLE_VALUE;
}

void FileLock::release() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

}  // namespace e2e
