#include "main_window/csv_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace frmMain {

namespace {

// RFC 4180: a field holding a comma, a quote or a line break is quoted, its quotes doubled.
std::string quoted(const std::string& text, bool always) {
    if (!always && text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"') out += '"';
    }
    out += '"';
    return out;
}

template <typename Number>
std::string shortest(Number n) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
    return std::string(buffer, end);
}

std::string fixedPoint(bool negative, std::string digits, int scale) {
    if (static_cast<int>(digits.size()) <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
    if (scale > 0) digits.insert(digits.size() - static_cast<std::size_t>(scale), 1, '.');
    if (negative) digits.insert(digits.begin(), '-');
    return digits;
}

std::string money(const jet::Money& m) {
    const bool negative = m.tenThousandths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(m.tenThousandths)
                                             : static_cast<std::uint64_t>(m.tenThousandths);
    return fixedPoint(negative, std::to_string(magnitude), 4);
}

// The 128-bit magnitude (four words, most significant first) in decimal, by long division.
std::string numeric(const jet::Numeric& n) {
    std::array<std::uint32_t, 4> words = n.magnitude;
    std::string digits;
    for (;;) {
        std::uint64_t rest = 0;
        bool zero = true;
        for (std::uint32_t& w : words) {
            const std::uint64_t part = rest << 32 | w;
            w = static_cast<std::uint32_t>(part / 10);
            rest = part % 10;
            zero = zero && w == 0;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + rest));
        if (zero) break;
    }
    const bool isZero = digits.find_first_not_of('0') == std::string::npos;
    return fixedPoint(n.negative && !isZero, digits, n.scale);
}

// Days since 1899-12-30: the day is the value truncated toward 0, the time of day its fraction's
// absolute value, rounded to the second (23:59:59.6 is the next day's midnight).
std::string dateTime(const jet::DateTime& d) {
    if (!std::isfinite(d.days) || std::fabs(d.days) > 3e6) return shortest(d.days);
    double whole = 0;
    const double fraction = std::fabs(std::modf(d.days, &whole));
    std::int64_t day = static_cast<std::int64_t>(whole);
    std::int64_t seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    // Civil date from days since 1970-01-01 (1899-12-30 is day -25569).
    const std::int64_t z = day - 25569 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t dayOfMonth = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    char text[64];
    const int y = static_cast<int>(year), mo = static_cast<int>(month), da = static_cast<int>(dayOfMonth);
    const int s = static_cast<int>(seconds);
    if (s == 0)
        std::snprintf(text, sizeof text, "%04d/%02d/%02d", y, mo, da);
    else
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", y, mo, da, s / 3600, s / 60 % 60,
                      s % 60);
    return text;
}

std::string hexBytes(const std::uint8_t* at, std::size_t n) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out += kDigits[at[i] >> 4];
        out += kDigits[at[i] & 0xF];
    }
    return out;
}

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}: the first three groups stored little-endian.
std::string guid(const jet::Guid& g) {
    const auto& b = g.bytes;
    const std::uint8_t first[] = {b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6]};
    std::string out(1, '{');
    out += hexBytes(first, 4);
    out += '-';
    out += hexBytes(first + 4, 2);
    out += '-';
    out += hexBytes(first + 6, 2);
    out += '-';
    out += hexBytes(b.data() + 8, 2);
    out += '-';
    out += hexBytes(b.data() + 10, 6);
    out += '}';
    return out;
}

struct Field {
    std::string operator()(std::monostate) const { return ""; }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
    std::string operator()(std::uint8_t n) const { return std::to_string(n); }
    std::string operator()(std::int16_t n) const { return std::to_string(n); }
    std::string operator()(std::int32_t n) const { return std::to_string(n); }
    std::string operator()(const jet::Money& m) const { return money(m); }
    std::string operator()(float f) const { return shortest(f); }
    std::string operator()(double d) const { return shortest(d); }
    std::string operator()(const jet::DateTime& d) const { return dateTime(d); }
    std::string operator()(const jet::Binary& b) const { return "0x" + hexBytes(b.data(), b.size()); }
    std::string operator()(const std::u16string& t) const { return quoted(utf8(t), true); }
    std::string operator()(const jet::Guid& g) const { return guid(g); }
    std::string operator()(const jet::Numeric& n) const { return numeric(n); }
};

}  // namespace

std::string utf8(const Text& text) {
    std::string out;
    out.reserve(text.size() * 3);  // at most three bytes a code unit
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string csvField(const jet::Value& value) { return std::visit(Field{}, value); }

std::string csvLine(const std::vector<jet::NamedValue>& row) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) line += ',';
        line += csvField(row[i].value);
    }
    return line + "\r\n";
}

std::string csvHeader(const std::vector<Text>& names) {
    std::string line;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) line += ',';
        line += quoted(utf8(names[i]), false);
    }
    return line + "\r\n";
}

Text csvFileName(const Text& table) {
    Text name = table;
    for (char16_t& c : name)
        if (c < 0x20 || Text(u"\\/:*?\"<>|").find(c) != Text::npos) c = u'_';
    return name + u".csv";
}

}  // namespace frmMain
