// Real Jet databases for the run's tests, read from the test-data folder (tests/data), and the changes
// a test makes to their bytes.
#pragma once

#include <string>

namespace fake {

// The bytes of a database in the test-data folder; the test fails if it cannot be read.
std::string testDatabase(const std::string& name);

// Every occurrence of `from` replaced by `to`, of the same length: a table renamed in the catalog
// of a Jet 3 file, whose names are stored in single bytes.
std::string renamed(std::string bytes, const std::string& from, const std::string& to);

}  // namespace fake
