// A row's digest: SHA-256 of its canonical form, the same bytes for the same values however they
// were stored (docs/jet-format.md section 8.6): text decoded, compressed or not; long values
// whole, inline or in LVAL rows; a date at the millisecond; numerics by value; the columns in the
// order of their names, whatever their numbers, offsets or order in the definition.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "jet_reader/sha256.h"
#include "jet_reader/value.h"

namespace jet {

// The canonical form of one value: a tag for its kind, then its bytes.
//  - null; boolean, byte, integer, long, currency: the integer, little-endian;
//  - single, double: the bits (so -0 is not 0; the value as stored is the value);
//  - date/time: milliseconds since 1899-12-30 00:00, as Jackcess rounds them (the day truncated
//    toward 0, plus the time of day, the fraction's absolute value, rounded to the millisecond);
//    the bits when the date lies beyond what a millisecond count holds (or is no number);
//  - binary and OLE: the length, then the bytes; text and memo: the length, then UTF-16LE;
//  - GUID: its 16 bytes; numeric: the sign (+ for zero), the scale and the magnitude, with zeros
//    after the point dropped (1.50 with scale 2 is 1.5 with scale 1).
void addCanonical(Sha256& hash, const Value& value);

// A-Z as a-z, nothing else changed: how Access and the rest of this program compare names.
std::u16string foldAsciiCase(std::u16string name);

// The digests of a table's rows, whose values come in the order of `columns`.
class RowDigester {
public:
    // Throws Damage when two columns' names are the same but for the case of letters.
    explicit RowDigester(const std::vector<std::u16string>& columns);

    // For each column in the order of its folded name: the name's length and UTF-16LE, then the
    // value's canonical form.
    Digest digest(const std::vector<NamedValue>& row) const;

private:
    std::vector<std::u16string> folded_;
    std::vector<std::size_t> order_;  // indexes into a row, by folded name
};

}  // namespace jet
