// The test compactor's record of how it was started, for the end-to-end scenarios to read.
#pragma once

#include <string>

namespace test_compactor {

// Appends, as UTF-8, one line "argv[i]=<argument>" per argument that CommandLineToArgvW makes of
// the raw command line, then the line "cmdline=<raw command line>". The whole entry goes out in
// one write, so entries of processes started one after another never interleave.
// Returns false when the log cannot be written.
bool appendInvocation(const std::wstring& logPath);

}  // namespace test_compactor
