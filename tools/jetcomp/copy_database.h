// The stand-in's one job: copy a Jet or ACE database to a new file that appears under its
// name whole or not at all. The source is only read; an existing destination is never touched.
#pragma once

#include <string>

namespace jetcomp {

struct CopyOutcome {
    int exitCode = 0;              // one of ExitCode
    std::wstring reason;           // for a failure: one line, with the system's error number
    unsigned long long bytes = 0;  // bytes copied, on success
};

CopyOutcome copyDatabase(const std::wstring& source, const std::wstring& destination);

}  // namespace jetcomp
