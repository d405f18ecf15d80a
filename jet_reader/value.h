// A column's value in one row, decoded: what the file holds, whichever way it holds it
// (docs/jet-format.md section 8.1). Text comes as UTF-16 whether it was stored in the code page
// (Jet 3), compressed or plain (Jet 4); a long value as its bytes wherever they lay.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet {

// Currency: the amount times 10^4, exactly (docs/jet-format.md section 8.5).
struct Money {
    std::int64_t tenThousandths = 0;
};

// Date/time: days since 1899-12-30 00:00, as stored. The day is the value truncated toward 0 and
// the time of day the fraction's absolute value: -1.25 is 1899-12-29 06:00 (section 8.5).
struct DateTime {
    double days = 0;
};

// A GUID's 16 bytes as stored: a u32, two u16 (little-endian), then 8 bytes.
struct Guid {
    std::array<std::uint8_t, 16> bytes{};
};

// Jet 4 numeric: (negative ? -1 : 1) * magnitude / 10^scale (section 8.5).
struct Numeric {
    bool negative = false;                     // a stored -0 keeps its sign here
    std::array<std::uint32_t, 4> magnitude{};  // most significant first
    std::uint8_t scale = 0;                    // the column's digits after the point
};

using Binary = std::vector<std::uint8_t>;

// Null, or by column type: boolean (bool), byte (uint8_t), integer (int16_t), long (int32_t),
// currency (Money), single (float), double, date/time (DateTime), binary, OLE and the types 0x0D
// and 0x11 (Binary), text and memo (UTF-16), GUID, numeric.
using Value = std::variant<std::monostate, bool, std::uint8_t, std::int16_t, std::int32_t, Money, float,
                           double, DateTime, Binary, std::u16string, Guid, Numeric>;

// Column types (docs/jet-format.md section 8.1).
inline constexpr std::uint8_t kBoolean = 0x01;
inline constexpr std::uint8_t kByte = 0x02;
inline constexpr std::uint8_t kInteger = 0x03;
inline constexpr std::uint8_t kLong = 0x04;
inline constexpr std::uint8_t kMoney = 0x05;
inline constexpr std::uint8_t kSingle = 0x06;
inline constexpr std::uint8_t kDouble = 0x07;
inline constexpr std::uint8_t kDateTime = 0x08;
inline constexpr std::uint8_t kBinary = 0x09;
inline constexpr std::uint8_t kText = 0x0A;
inline constexpr std::uint8_t kOle = 0x0B;
inline constexpr std::uint8_t kMemo = 0x0C;
inline constexpr std::uint8_t kUnknown0D = 0x0D;
inline constexpr std::uint8_t kGuid = 0x0F;
inline constexpr std::uint8_t kNumeric = 0x10;
inline constexpr std::uint8_t kUnknown11 = 0x11;

// One value of a row, with its column's name and type.
struct NamedValue {
    std::u16string column;  // as stored (Jet 3: through the code-page decoder)
    std::uint8_t type = 0;
    Value value;
    bool unreadable = false;  // read past damage: the value could not be decoded, and is empty
};

}  // namespace jet
