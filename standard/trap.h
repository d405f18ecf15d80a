// The error trap every trapping routine uses: a failure of the routine's own statements is handed
// to gErrMsg with the routine's name, its mode and its current line number, and the routine then
// returns normally. Ending the program is not a failure and passes through untouched.
#pragma once

#include <new>
#include <utility>

#include "standard/mdlFunctionStandard.h"

namespace mdlFunctionStandard {

// The description reported for memory exhaustion, for which the platform gives no number.
inline constexpr std::int32_t kOutOfMemory = 7;
inline const char16_t kOutOfMemoryText[] = u"メモリが不足しています。";

void report(const char16_t* place, std::int32_t mode, const ErrorContext& error);

// Runs `body(line)`; on a failure reports it under `place` and returns false.
template <class Body>
bool trapped(const char16_t* place, std::int32_t mode, Body&& body) {
    int line = 0;
    try {
        std::forward<Body>(body)(line);
        return true;
    } catch (const platform::RuntimeError& e) {
        report(place, mode, ErrorContext{e.number, e.description, line});
    } catch (const std::bad_alloc&) {
        report(place, mode, ErrorContext{kOutOfMemory, kOutOfMemoryText, line});
    }
    return false;
}

}  // namespace mdlFunctionStandard
