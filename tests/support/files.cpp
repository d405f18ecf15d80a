#include "files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "platform/win32/owned.h"

namespace support {

std::optional<std::string> readBytes(const std::wstring& path, DWORD sharing) {
    const win32::OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart >= (1LL << 30)) return std::nullopt;
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (data.empty() || (ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &got, nullptr) &&
                         got == data.size()))
        return data;
    return std::nullopt;
}

bool writeBytes(const std::wstring& path, const std::string& bytes, DWORD creation) {
    const win32::OwnedHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool fileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool pathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> folderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const win32::Owned<HANDLE, &FindClose> search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

bool copyFile(const std::wstring& from, const std::wstring& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), TRUE)) return false;
    const DWORD attributes = GetFileAttributesW(to.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool makeFolders(const std::wstring& folder) {
    if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return true;
    if (error != ERROR_PATH_NOT_FOUND) return false;
    const size_t cut = folder.find_last_of(L'\\');
    if (cut == std::wstring::npos || cut == 0) return false;
    return makeFolders(folder.substr(0, cut)) && CreateDirectoryW(folder.c_str(), nullptr);
}

bool removeTree(const std::wstring& folder) {
    for (const std::wstring& name : folderEntries(folder)) {
        const std::wstring path = folder + L"\\" + name;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            removeTree(path);
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
    return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

TempFolder::TempFolder(const std::wstring& prefix, const std::wstring& leaf) {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring base =
        std::wstring(temp, length) + prefix + L" " + std::to_wstring(GetCurrentProcessId());
    for (unsigned attempt = 0; attempt < 1000 && !made_; ++attempt) {
        root_ = base + L"-" + std::to_wstring(++counter);
        made_ = CreateDirectoryW(root_.c_str(), nullptr) != FALSE;
    }
    path_ = leaf.empty() ? root_ : root_ + L"\\" + leaf;
    if (made_ && !leaf.empty()) made_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
}

TempFolder::~TempFolder() {
    if (!root_.empty()) removeTree(root_);
}

}  // namespace support
