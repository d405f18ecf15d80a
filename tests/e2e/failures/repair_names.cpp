#include "repair_names.h"

#include <cwchar>
#include <cwctype>

namespace e2e {

SplitPath splitLikeTheRun(const std::wstring& path) {
    size_t cut = path.find_last_of(L"\\\uFF3C");
    if (cut == std::wstring::npos) return {L"", path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

std::wstring taggedName(const std::wstring& path, const std::wstring& tag, const std::wstring& stamp) {
    SplitPath split = splitLikeTheRun(path);
    return split.folder + tag + stamp + split.file;
}

bool isTaggedName(const std::wstring& candidate, const std::wstring& path, const std::wstring& tag,
                  std::wstring* stamp) {
    SplitPath split = splitLikeTheRun(path);
    std::wstring head = split.folder + tag;
    if (candidate.size() != head.size() + 14 + split.file.size() || candidate.rfind(head, 0) != 0 ||
        candidate.compare(head.size() + 14, std::wstring::npos, split.file) != 0)
        return false;
    std::wstring digits = candidate.substr(head.size(), 14);
    for (wchar_t c : digits)
        if (c < L'0' || c > L'9') return false;
    if (stamp) *stamp = digits;
    return true;
}

std::wstring stampOf(const SYSTEMTIME& time, int offsetSeconds) {
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    ULARGE_INTEGER value{};
    value.LowPart = file.dwLowDateTime;
    value.HighPart = file.dwHighDateTime;
    value.QuadPart += static_cast<long long>(offsetSeconds) * 10000000LL;
    file.dwLowDateTime = value.LowPart;
    file.dwHighDateTime = value.HighPart;
    SYSTEMTIME shifted{};
    FileTimeToSystemTime(&file, &shifted);
    wchar_t text[32];
    swprintf(text, 32, L"%04u%02u%02u%02u%02u%02u", shifted.wYear, shifted.wMonth, shifted.wDay,
             shifted.wHour, shifted.wMinute, shifted.wSecond);
    return text;
}

}  // namespace e2e
