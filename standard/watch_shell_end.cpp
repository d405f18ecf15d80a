// gWatchShellEnd: waits for a launched process with the window kept live.
//
// Each round handles the pending window events, then blocks until the process ends or a window
// event arrives, so the wait costs no CPU and notices the end at once. It stops when the process
// has ended, whatever its exit code: 259 (STILL_ACTIVE) can also be a real exit code, so the code
// alone cannot tell a running process from an ended one.
#include "standard/mdlFunctionStandard.h"
#include "standard/trap.h"

namespace mdlFunctionStandard {

// The handle is the wait's own, closed on every way out of it, the trap's too.
void gWatchShellEnd(std::uint32_t processId) {
    trapped(u"gWatchShellEnd", 1, [&](int&) {
        const auto process = platform::processes().open(
            platform::kProcessQueryInformation | platform::kSynchronize, true, processId);
        for (;;) {
            platform::window().processPendingEvents();
            // A process that cannot be opened gets this one round.
            if (!process || process->hasEnded()) break;
            process->waitForEndOrEvent();
        }
    });
}

}  // namespace mdlFunctionStandard
