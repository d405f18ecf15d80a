#include "jet_reader/row_digest.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>

#include "jet_reader/damage.h"

namespace jet {

namespace {

// Tags of the canonical forms, one per kind of value.
enum Tag : std::uint8_t {
    kNullTag,
    kBooleanTag,
    kByteTag,
    kIntegerTag,
    kLongTag,
    kMoneyTag,
    kSingleTag,
    kDoubleTag,
    kMillisecondsTag,
    kDateBitsTag,
    kBytesTag,
    kTextTag,
    kGuidTag,
    kNumericTag,
};

constexpr double kMillisecondsPerDay = 86400000.0;
// Days past which a date's milliseconds no longer fit an int64 exactly held by a double: about
// 285,000 years either way; the dates Access takes end with the year 9999.
constexpr double kMaxMillisecondDays = 9.0e15 / kMillisecondsPerDay;

class Canonical {
public:
    explicit Canonical(Sha256& hash) : hash_(hash) {}

    void tag(Tag t) { integer(t, 1); }
    void integer(std::uint64_t value, int bytes) {
        std::uint8_t le[8];
        for (int i = 0; i < bytes; ++i) le[i] = static_cast<std::uint8_t>(value >> (8 * i));
        hash_.add({le, static_cast<std::size_t>(bytes)});
    }
    void bytes(std::span<const std::uint8_t> b) {
        integer(b.size(), 8);
        hash_.add(b);
    }
    void text(const std::u16string& t) {
        integer(t.size(), 8);
        std::array<std::uint8_t, 512> le;  // UTF-16LE, a part at a time
        for (std::size_t at = 0; at < t.size();) {
            std::size_t n = 0;
            for (; n < le.size() && at < t.size(); ++at) {
                le[n++] = static_cast<std::uint8_t>(t[at]);
                le[n++] = static_cast<std::uint8_t>(t[at] >> 8);
            }
            hash_.add({le.data(), n});
        }
    }

    void operator()(std::monostate) { tag(kNullTag); }
    void operator()(bool b) { tag(kBooleanTag), integer(b, 1); }
    void operator()(std::uint8_t v) { tag(kByteTag), integer(v, 1); }
    void operator()(std::int16_t v) { tag(kIntegerTag), integer(static_cast<std::uint16_t>(v), 2); }
    void operator()(std::int32_t v) { tag(kLongTag), integer(static_cast<std::uint32_t>(v), 4); }
    void operator()(Money m) { tag(kMoneyTag), integer(static_cast<std::uint64_t>(m.tenThousandths), 8); }
    void operator()(float f) { tag(kSingleTag), integer(std::bit_cast<std::uint32_t>(f), 4); }
    void operator()(double d) { tag(kDoubleTag), integer(std::bit_cast<std::uint64_t>(d), 8); }
    void operator()(DateTime date) {
        const double d = date.days;
        if (!(std::fabs(d) < kMaxMillisecondDays)) {  // also NaN
            tag(kDateBitsTag), integer(std::bit_cast<std::uint64_t>(d), 8);
            return;
        }
        const double day = std::trunc(d);
        const auto milliseconds = static_cast<std::int64_t>(day) * 86400000 +
                                  std::llround(std::fmod(std::fabs(d), 1.0) * kMillisecondsPerDay);
        tag(kMillisecondsTag), integer(static_cast<std::uint64_t>(milliseconds), 8);
    }
    void operator()(const Binary& b) { tag(kBytesTag), bytes(b); }
    void operator()(const std::u16string& t) { tag(kTextTag), text(t); }
    void operator()(const Guid& g) { tag(kGuidTag), hash_.add(g.bytes); }
    void operator()(Numeric n) {
        // Divide by 10 while it goes evenly and digits after the point remain: long division of
        // the four u32 groups, most significant first.
        while (n.scale > 0) {
            std::array<std::uint32_t, 4> quotient{};
            std::uint64_t remainder = 0;
            for (std::size_t i = 0; i < 4; ++i) {
                const std::uint64_t part = remainder << 32 | n.magnitude[i];
                quotient[i] = static_cast<std::uint32_t>(part / 10);
                remainder = part % 10;
            }
            if (remainder != 0) break;
            n.magnitude = quotient;
            --n.scale;
        }
        const bool zero =
            std::all_of(n.magnitude.begin(), n.magnitude.end(), [](std::uint32_t g) { return g == 0; });
        tag(kNumericTag), integer(n.negative && !zero, 1), integer(zero ? 0 : n.scale, 1);
        for (const std::uint32_t group : n.magnitude) integer(group, 4);
    }

private:
    Sha256& hash_;
};

}  // namespace

void addCanonical(Sha256& hash, const Value& value) { std::visit(Canonical(hash), value); }

std::u16string foldAsciiCase(std::u16string name) {
    for (char16_t& c : name)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return name;
}

RowDigester::RowDigester(const std::vector<std::u16string>& columns) : order_(columns.size()) {
    for (const std::u16string& name : columns) folded_.push_back(foldAsciiCase(name));
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    std::sort(order_.begin(), order_.end(),
              [&](std::size_t a, std::size_t b) { return folded_[a] < folded_[b]; });
    for (std::size_t i = 1; i < order_.size(); ++i)
        if (folded_[order_[i]] == folded_[order_[i - 1]])
            fail("two columns have the same name but for the case of letters");
}

Digest RowDigester::digest(const std::vector<NamedValue>& row) const {
    Sha256 hash;
    Canonical canonical(hash);
    for (const std::size_t i : order_) {
        canonical.text(folded_[i]);
        addCanonical(hash, row.at(i).value);
    }
    return hash.finish();
}

}  // namespace jet
