#include "arguments.h"

#include <string_view>

namespace jetcomp {
namespace {

wchar_t ascii_lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

// True when text starts with prefix (given in lower case), ignoring ASCII letter case only.
bool starts_with_folded(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (ascii_lower(text[i]) != prefix[i]) return false;
  return true;
}

bool is_help(std::wstring_view arg) { return arg == L"--help" || arg == L"-?" || arg == L"/?"; }

// Takes the value of one "-name:" argument; returns a problem text, empty when it was fine.
std::wstring take(std::wstring_view arg, std::wstring_view prefix, bool& seen, std::wstring& value) {
  if (seen) return std::wstring(prefix) + L" is given twice";
  seen = true;
  value = arg.substr(prefix.size());
  if (value.empty()) return std::wstring(prefix) + L" has no path after it";
  return {};
}

}  // namespace

Arguments parse_arguments(int argc, const wchar_t* const argv[]) {
  Arguments result;
  for (int i = 1; i < argc; ++i) {
    if (is_help(argv[i])) {
      result.kind = Arguments::Kind::help;
      return result;
    }
  }
  bool have_source = false, have_destination = false;
  for (int i = 1; i < argc && result.problem.empty(); ++i) {
    const std::wstring_view arg = argv[i];
    if (starts_with_folded(arg, L"-src:"))
      result.problem = take(arg, L"-src:", have_source, result.source);
    else if (starts_with_folded(arg, L"-dest:"))
      result.problem = take(arg, L"-dest:", have_destination, result.destination);
    else
      result.problem = L"unknown argument: " + std::wstring(arg);
  }
  if (result.problem.empty() && !have_source) result.problem = L"missing -src:<source database>";
  if (result.problem.empty() && !have_destination) result.problem = L"missing -dest:<new file>";
  if (result.problem.empty()) result.kind = Arguments::Kind::copy;
  return result;
}

}  // namespace jetcomp
