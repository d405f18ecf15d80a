#include "platform/platform.h"

namespace platform {

namespace {
Services installed;
}

void install(const Services& services) { installed = services; }

Window& window() { return *installed.window; }
Environment& environment() { return *installed.environment; }
Processes& processes() { return *installed.processes; }

}  // namespace platform
