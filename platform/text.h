// The text every service speaks, and the failure every service raises.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using Text = std::u16string;

// A platform operation that failed: the system's error number and its description.
struct RuntimeError {
    std::int32_t number;
    Text description;
};

}  // namespace platform
