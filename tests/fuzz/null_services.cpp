#include "tests/fuzz/null_services.h"

#include <cstdlib>

namespace fuzzsupport {

std::int32_t NullServices::messageBox(const platform::Text&, std::int32_t, const platform::Text*) {
    ++messageBoxes;
    return 1;   // OK
}

void NullServices::endProgram() { std::abort(); }

}  // namespace fuzzsupport
