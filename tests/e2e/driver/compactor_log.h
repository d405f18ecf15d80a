// Reading the test compactor's log (HARBEK_TEST_COMPACTOR_LOG): one entry per start.
#pragma once

#include <string>
#include <vector>

namespace e2e {

struct CompactorStart {
    std::vector<std::wstring> arguments;  // as CommandLineToArgvW split them, its own path first
    std::wstring commandLine;             // the raw command line
};

// The entries in the order the starts wrote them; none when the log does not exist.
std::vector<CompactorStart> readCompactorLog(const std::wstring& path);

// The raw command lines, as UTF-8 so that a failed comparison prints them.
std::vector<std::string> commandLinesOf(const std::vector<CompactorStart>& starts);

}  // namespace e2e
