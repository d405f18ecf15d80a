// Access to the built Harbek.exe for the resource tests: its Windows path, and the exe loaded as a
// data file so its resources can be read without running it.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

std::wstring harbekExePath();

// Harbek.exe mapped with LOAD_LIBRARY_AS_DATAFILE; freed with the object.
class HarbekData {
public:
    HarbekData();
    ~HarbekData();
    HarbekData(const HarbekData&) = delete;
    HarbekData& operator=(const HarbekData&) = delete;

    HMODULE module() const { return module_; }
    // The bytes of one resource, or an empty view when there is none of that name and type.
    std::string_view resource(LPCWSTR name, LPCWSTR type) const;

private:
    HMODULE module_;
};
