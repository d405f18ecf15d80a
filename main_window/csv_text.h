// Rows as CSV text that Japanese Excel opens as it should by a double click: UTF-8 (the file starts
// with a byte-order mark), "\r\n" line ends, fields quoted as RFC 4180 says. Used for the rows a
// repair would lose and for what a damaged database still holds.
#pragma once

#include <string>
#include <vector>

#include "jet_reader/value.h"
#include "platform/text.h"

namespace frmMain {

using platform::Text;

inline const std::string kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// One field: a null is empty, text and memo whole and always quoted (so an empty text is ""),
// integers in decimal, single and double in the shortest form that reads back the same, money
// with four decimals, numeric with its scale's, date/time "yyyy/mm/dd hh:nn:ss" to the second
// (the date alone at midnight), Yes/No "True"/"False", GUID in braces and capitals, binary and
// OLE as "0x" and capital hexadecimal.
std::string csvField(const jet::Value& value);

// A line of fields, or of column names (quoted where RFC 4180 asks), ended by "\r\n".
std::string csvLine(const std::vector<jet::NamedValue>& row);
std::string csvHeader(const std::vector<Text>& names);

// The table's name with the characters Windows forbids in a file name replaced by "_", and ".csv".
Text csvFileName(const Text& table);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8(const Text& text);

}  // namespace frmMain
