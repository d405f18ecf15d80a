#include "arguments.h"

#include <string_view>

namespace jetcomp {
namespace {

wchar_t asciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

// True when text starts with prefix (given in lower case), ignoring ASCII letter case only.
bool startsWithFolded(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (asciiLower(text[i]) != prefix[i]) return false;
    return true;
}

bool isHelp(std::wstring_view arg) { return arg == L"--help" || arg == L"-?" || arg == L"/?"; }

// Takes the value of one "-name:" argument; returns a problem text, empty when it was fine.
std::wstring take(std::wstring_view arg, std::wstring_view prefix, bool& seen, std::wstring& value) {
    if (seen) return std::wstring(prefix) + L" is given twice";
    seen = true;
    value = arg.substr(prefix.size());
    if (value.empty()) return std::wstring(prefix) + L" has no path after it";
    return {};
}

}  // namespace

Arguments parseArguments(int argc, const wchar_t* const argv[]) {
    Arguments result;
    for (int i = 1; i < argc; ++i) {
        if (isHelp(argv[i])) {
            result.kind = Arguments::Kind::help;
            return result;
        }
    }
    bool haveSource = false, haveDestination = false;
    for (int i = 1; i < argc && result.problem.empty(); ++i) {
        const std::wstring_view arg = argv[i];
        if (startsWithFolded(arg, L"-src:"))
            result.problem = take(arg, L"-src:", haveSource, result.source);
        else if (startsWithFolded(arg, L"-dest:"))
            result.problem = take(arg, L"-dest:", haveDestination, result.destination);
        else
            result.problem = L"unknown argument: " + std::wstring(arg);
    }
    if (result.problem.empty() && !haveSource) result.problem = L"missing -src:<source database>";
    if (result.problem.empty() && !haveDestination) result.problem = L"missing -dest:<new file>";
    if (result.problem.empty()) result.kind = Arguments::Kind::copy;
    return result;
}

}  // namespace jetcomp
