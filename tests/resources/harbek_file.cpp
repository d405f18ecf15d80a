#include "harbek_file.h"

#include "support/text.h"

std::wstring harbekExePath() { return support::windowsPathOf(HARBEK_EXE); }

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
