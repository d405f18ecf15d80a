// Assertions whose failure messages a person can read: whole texts shown line by line with their
// line breaks made visible, and file contents summarised instead of dumped.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace e2e {

// Equal texts; on failure both are shown, one line per "\r\n", each ending shown as "\r\n".
::testing::AssertionResult sameText(const std::wstring& actual, const std::wstring& expected);

// The file at path holds exactly expected; on failure: sizes and the first differing offset.
::testing::AssertionResult holdsBytes(const std::wstring& path, const std::optional<std::string>& expected);

}  // namespace e2e
