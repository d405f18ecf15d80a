// The measurements harbek_bench.exe runs, one per command. Each records its samples through the
// context and returns 0, or records why it failed and returns 1.
#pragma once

#include <string>

#include "context.h"

namespace bench {

int measureWaitCost(const Context& context);       // 1: CPU while the compactor runs
int measureExitNoticed(const Context& context);    // 2: compactor's end to the next log line
int measureStartup(const Context& context);        // 3: start to the window with its controls
int measureBinarySize(const Context& context);     // 4: Harbek.exe's size and imports
// 5: one copy by the stand-in, timed, with its peak memory; label names the file size.
int measureStandinCopy(const Context& context, const std::string& label, const std::wstring& source,
                       const std::wstring& destination);
int measureStandinLaunch(const Context& context);  // 5: the stand-in started with -? alone

}  // namespace bench
