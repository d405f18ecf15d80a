// Real Jet databases for the run's tests, read from the test-data folder (tests/data), and the changes
// a test makes to their bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace fake {

// The bytes of a database in the test-data folder; the test fails if it cannot be read.
std::string testDatabase(const std::string& name);

// Every occurrence of `from` replaced by `to`, of the same length: a table renamed in the catalog
// of a Jet 3 file, whose names are stored in single bytes.
std::string renamed(std::string bytes, const std::string& from, const std::string& to);

// Text as Jet 4 stores a name: UCS-2LE, two bytes a character.
std::string utf16le(const std::u16string& text);

}  // namespace fake

namespace fake {

// The catalog's fields of one object, by name.
enum class CatalogField { Id, Type, ParentId, Flags };

// The catalog row named `name` (ASCII) of a plain file with one of its fields set to `value`: a
// table made a query, put in a container, or marked as the system's.
std::string withCatalogField(std::string bytes, const std::string& name, CatalogField field,
                             std::int32_t value);

// The `row`-th live row's value of the long (int32) column `column` of `table` set to `value`,
// in a plain file.
std::string withLong(std::string bytes, const std::string& table, const std::string& column, std::size_t row,
                     std::int32_t value);

// Each live row's value of the text column `column` of `table` that is `from`, stored plainly
// (Jet 3: ASCII only; Jet 4: UCS-2LE, not compressed), set to `to`, of as many characters: a value
// changed in its row and nowhere else.
std::string withText(std::string bytes, const std::string& table, const std::string& column,
                     const std::u16string& from, const std::u16string& to);

// The first live row's variable value of `column` of `table` (names as stored) for which `edit`,
// given its bytes, says it changed them.
std::string withField(std::string bytes, const std::string& table, const std::string& column,
                      const std::function<bool(char* field, std::size_t size)>& edit);

// The Id of the container named `name` (Forms, Reports, ...), as its catalog row gives it.
std::int32_t containerId(const std::string& bytes, const std::string& name);

}  // namespace fake
