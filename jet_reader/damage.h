// What the reader throws, inside itself only, when the file does not hold what the format says:
// a short English reason. jet::read catches it and turns it into a problem, either for the whole
// file or for the one table being read (see jet_reader.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <utility>

namespace jet {

struct Damage {
    std::string reason;
};

[[noreturn]] inline void fail(std::string reason) { throw Damage{std::move(reason)}; }

// For fixed reasons only, so that no text is composed unless something is wrong: a composed
// reason goes through `if (...) fail(...)`.
inline void require(bool holds, const char* reason) {
    if (!holds) fail(reason);
}

// "0x1F", for page types and flags in a reason.
inline std::string hex(std::uint32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
    return text;
}

// Bytes of a page, a joined table definition or a row.
using Bytes = std::span<const std::uint8_t>;

// Little-endian integers at `at`; reading past the end is damage, never a read out of bounds.
inline std::uint8_t u8(Bytes b, std::size_t at) {
    require(at < b.size(), "a field lies past the end of its bytes");
    return b[at];
}

inline std::uint16_t u16(Bytes b, std::size_t at) {
    require(at <= b.size() && b.size() - at >= 2, "a field lies past the end of its bytes");
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

inline std::uint32_t u32(Bytes b, std::size_t at) {
    require(at <= b.size() && b.size() - at >= 4, "a field lies past the end of its bytes");
    return u16(b, at) | static_cast<std::uint32_t>(u16(b, at + 2)) << 16;
}

// `length` bytes at `at`, checked against the end.
inline Bytes slice(Bytes b, std::size_t at, std::size_t length) {
    require(at <= b.size() && b.size() - at >= length, "a field lies past the end of its bytes");
    return b.subspan(at, length);
}

}  // namespace jet
