#include "jet_reader/value_decoder.h"

#include <bit>
#include <string>

#include "jet_reader/text.h"

namespace jet {

namespace {

// The bytes of a value of a fixed-size type; 0 for the others.
std::size_t typeSize(std::uint8_t type) {
    switch (type) {
        case kByte:
            return 1;
        case kInteger:
            return 2;
        case kLong:
        case kSingle:
            return 4;
        case kMoney:
        case kDouble:
        case kDateTime:
            return 8;
        case kGuid:
            return 16;
        case kNumeric:
            return 17;
        default:
            return 0;
    }
}

bool isLongValue(std::uint8_t type) { return type == kMemo || type == kOle; }

std::uint64_t u64(Bytes b) { return u32(b, 0) | std::uint64_t{u32(b, 4)} << 32; }

Numeric numeric(Bytes b, std::uint8_t scale) {
    // A sign byte (0 positive; Jackcess reads any other as negative), then four u32, the most
    // significant first.
    Numeric n;
    n.negative = b[0] != 0;
    for (std::size_t i = 0; i < 4; ++i) n.magnitude[i] = u32(b, 1 + 4 * i);
    n.scale = scale;
    return n;
}

}  // namespace

void requireDecodable(const Column& column, const Layout& layout) {
    const std::uint8_t t = column.type;
    const bool known = (t >= kBoolean && t <= kUnknown0D) || t == kGuid || t == kUnknown11 ||
                       (t == kNumeric && layout.version == 4);
    require(known, "a type the reader does not know");
    require(!(isLongValue(t) && column.fixedLength()), "a long value in the fixed area");
}

std::u16string ValueDecoder::text(Bytes bytes) const {
    if (layout_.version == 4) return jet4Text(bytes);
    return decode_(codePage_, std::string(bytes.begin(), bytes.end()));
}

Value ValueDecoder::decode(const Row& row, const Column& column) {
    if (column.type == kBoolean) return !row.isNull(column);

    // Fixed-size types hold exactly their size, in either area (the Access catalogs keep int32
    // and date columns in the variable one); text and binary in the fixed area hold the column's
    // length.
    const std::size_t size = typeSize(column.type);
    std::optional<Bytes> bytes =
        column.fixedLength() ? row.fixed(column, size != 0 ? size : column.length) : row.variable(column);
    if (!bytes) return std::monostate{};
    if (size != 0 && bytes->size() != size)
        fail("a value of " + std::to_string(bytes->size()) + " bytes, not " + std::to_string(size));

    const Bytes b = *bytes;
    switch (column.type) {
        case kByte:
            return b[0];
        case kInteger:
            return static_cast<std::int16_t>(u16(b, 0));
        case kLong:
            return static_cast<std::int32_t>(u32(b, 0));
        case kMoney:
            return Money{static_cast<std::int64_t>(u64(b))};
        case kSingle:
            return std::bit_cast<float>(u32(b, 0));
        case kDouble:
            return std::bit_cast<double>(u64(b));
        case kDateTime:
            return DateTime{std::bit_cast<double>(u64(b))};
        case kText:
            return text(b);
        case kMemo:
            // Jackcess reads an empty field of a long value as null.
            if (b.empty()) return std::monostate{};
            return text(longValues_.read(b));
        case kOle:
            if (b.empty()) return std::monostate{};
            return longValues_.read(b);
        case kGuid: {
            Guid guid;
            std::copy(b.begin(), b.end(), guid.bytes.begin());
            return guid;
        }
        case kNumeric:
            return numeric(b, column.scale);
        default:  // binary, and the types 0x0D and 0x11, which Jackcess returns as bytes
            return Binary(b.begin(), b.end());
    }
}

}  // namespace jet
