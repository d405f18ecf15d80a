// What the compactor was given: its own path, -src: with the typed path and -dest: with the
// after-name formed from it, nothing more and nothing else.
#pragma once

#include "../driver/compactor_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {

// The last of starts (the log of one Harbek holds one start per launched run) was given exactly
// compactor, -src:<source>, -dest:<after-name of source>. The after-name goes to afterName.
::testing::AssertionResult compactorSawOnly(const std::vector<CompactorStart>& starts, size_t expectedStarts,
                                            const std::wstring& compactor, const std::wstring& source,
                                            std::wstring& afterName);

}  // namespace e2e
