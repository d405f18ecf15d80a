// The rows of an undamaged database, each with the pages it is read from, and what of them a
// damaged copy still holds whole: the physical limit of any salvage of that copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet_reader/jet_reader.h"

namespace recovery {

// A live row of a user table: its digest (row_digest.h) and the pages its bytes lie on: its data
// page, an overflowed row's body pages, and the LVAL pages of its long values. Sorted.
struct OriginalRow {
    jet::Digest digest{};
    std::vector<std::uint64_t> pages;
};

struct OriginalTable {
    jet::Text name;
    bool user = false;
    std::vector<jet::Digest> digests;  // every row's, sorted, as the reader gives them
    // User tables only: the definition's page and its continuations, and each row with its pages.
    std::vector<std::uint64_t> definitionPages;
    std::vector<OriginalRow> rows;
};

struct Original {
    std::uint32_t pageSize = 0;
    std::vector<OriginalTable> tables;  // those whose values all decode
    std::uint64_t userRows = 0;
};

// Reads a database with values, as the reader does, and walks its user tables' pages itself to
// learn each row's pages. Throws std::runtime_error when the reader cannot read the file, cannot
// decode a user table's values, or when the walk finds other rows than the reader.
Original readOriginal(const std::string& bytes, const jet::CodePageDecoder& decode);

// For each page of the original: whether the damaged copy's bytes differ, or it lacks some or all
// of them.
std::vector<bool> touchedPages(const std::string& original, const std::string& damaged,
                               std::uint32_t pageSize);

// The rows of user tables whose pages, and whose table's definition pages, were none touched.
std::uint64_t limitRows(const Original& original, const std::vector<bool>& touched);

}  // namespace recovery
