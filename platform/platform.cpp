#include "platform/platform.h"

namespace platform {

namespace {
Services* installed = nullptr;
}

Services& services() { return *installed; }

void install(Services* s) { installed = s; }

}  // namespace platform
