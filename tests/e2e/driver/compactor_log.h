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

}  // namespace e2e
