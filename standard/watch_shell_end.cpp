// gWatchShellEnd: waits for a launched process with the window kept live.
//
// Each round reads the exit code and handles the pending window events, then blocks until the
// process ends or a window event arrives, so the wait costs no CPU and notices the end at once.
// It stops when the process has ended, whatever its exit code: 259 (STILL_ACTIVE) can also be a
// real exit code, so the code alone cannot tell a running process from an ended one.
#include "standard/mdlFunctionStandard.h"
#include "standard/trap.h"

namespace mdlFunctionStandard {

void gWatchShellEnd(std::uint32_t processId) {
    trapped(u"gWatchShellEnd", 1, [&](int&) {
        auto& p = platform::services();
        std::uint32_t exitCode = 0;
        const platform::ProcessHandle process =
            p.openProcess(platform::kProcessQueryInformation | platform::kSynchronize, true, processId);
        for (;;) {
            // The code is not relied on (see above); a failed query leaves it as it was.
            p.getExitCodeProcess(process, exitCode);
            p.processPendingEvents();
            if (process == 0 || p.processHasEnded(process)) break;
            p.waitForProcessOrEvent(process);
        }
        // Closed on this path only: when the trap runs, the handle is left as it is.
        p.closeHandle(process);
    });
}

}  // namespace mdlFunctionStandard
