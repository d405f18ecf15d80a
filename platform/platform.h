// The services the program asks of its platform, as four small interfaces, each in its own
// header: the window (window.h), files (files.h), the compactor's process (processes.h) and the
// environment (environment.h). The core calls only these; platform/win32 implements them over
// user32, kernel32, advapi32 and comdlg32, and the unit tests over do-nothing bases. No platform
// type appears here.
#pragma once

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/window.h"

namespace platform {

// The services in use; installed once at start (or per test), all three at once.
struct Services {
    Window* window = nullptr;
    Environment* environment = nullptr;
    Processes* processes = nullptr;
};
void install(const Services& services);

Window& window();
Environment& environment();
Processes& processes();

}  // namespace platform
