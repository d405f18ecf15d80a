#include "harbek_file.h"

std::wstring windowsPath(std::string_view unixPath) {
    int length = MultiByteToWideChar(CP_UTF8, 0, unixPath.data(), static_cast<int>(unixPath.size()),
                                     nullptr, 0);
    std::wstring path(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, unixPath.data(), static_cast<int>(unixPath.size()), path.data(),
                        length);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return L"Z:" + path;
}

std::wstring harbekExePath() { return windowsPath(HARBEK_EXE); }

HarbekData::HarbekData()
    : module_(LoadLibraryExW(harbekExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}

HarbekData::~HarbekData() {
    if (module_) FreeLibrary(module_);
}

std::string_view HarbekData::resource(LPCWSTR name, LPCWSTR type) const {
    HRSRC found = module_ ? FindResourceW(module_, name, type) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const char*>(bytes), SizeofResource(module_, found)};
}
