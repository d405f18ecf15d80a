// The reader's values against Debian's mdbtools: every value of every live row of every user table
// of every test database, rendered as mdb-export prints it (default options, locale C.UTF-8) and
// compared with what mdb-export prints, row for row as multisets (mdbtools meets an overflowed row
// where its body lies, the reader where its slot does).
//
// mdb-export prints some values other than stored (docs/jet-format.md section 8.7); the rendering
// below does the same, so that everything else must agree exactly:
//  - null and an empty text or binary print alike, as nothing;
//  - a date prints in the locale's "%x %X" at whole seconds (rounded half up, so 23:59:59.5 is
//    "24:00:00"), and before 1899-12-30 or past day 10^6 as the empty calendar day 01/00/00;
//  - a single prints "%.8g", a double "%.16g": not always the stored bits;
//  - a boolean prints 1 or 0; currency and numeric exactly, with 4 and the scale's decimals;
//  - a GUID prints {XXXXXXXX-XXXX-XXXX-XXXXXXXXXXXXXXXX} (the first three groups little-endian);
//  - binary stops at its first NUL (mdbtools takes it as a C string); OLE prints as raw bytes, all
//    of them; the types 0x0D and 0x11 print nothing;
//  - text stops at a U+0000, each half of a surrogate pair prints "?", and in Jet 3 the five
//    bytes code page 1252 leaves undefined print "?".
#include "support/text_printer.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>

#include "tests/jet_reader/support.h"

namespace {

using namespace jettest;
using Fields = std::vector<std::string>;

// mdb-export's CSV: fields split at commas, records at line ends, except inside double quotes,
// where "" is one quote; whatever bytes a field holds.
std::vector<Fields> parseCsv(const std::string& csv) {
    std::vector<Fields> records;
    Fields fields;
    std::string field;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (c == '"') {
            for (++i; i < csv.size() && !(csv[i] == '"' && (i + 1 == csv.size() || csv[i + 1] != '"')); ++i)
                field += csv[i] == '"' ? csv[++i] : csv[i];
        } else if (c == ',' || c == '\n') {
            fields.push_back(std::move(field));
            field.clear();
            if (c == '\n') records.push_back(std::move(fields)), fields.clear();
        } else {
            field += c;
        }
    }
    return records;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6), out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12), out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string text(const std::u16string& t, int version) {
    const std::u16string undefinedIn1252 = u"\u0081\u008D\u008F\u0090\u009D";
    std::string out;
    for (const char16_t c : t) {
        if (c == 0) break;
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        const bool undefined = version == 3 && undefinedIn1252.find(c) != std::u16string::npos;
        appendUtf8(out, surrogate || undefined ? u'?' : c);
    }
    return out;
}

std::string printed(const char* format, auto... values) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

// Days since 1899-12-30 to "MM/DD/YY HH:MM:SS", as mdbtools turns a date into a struct tm.
std::string date(double days) {
    if (days < 0.0 || days > 1e6) return "01/00/00 00:00:00";
    const long day = static_cast<long>(days);
    const long seconds = static_cast<long>((days - day) * 86400.0 + 0.5);
    // The civil date of day 0 = 1899-12-30, counted in 400-year eras from 0000-03-01.
    const long z = day + 693899;
    const long era = z / 146097, dayOfEra = z % 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long m5 = (5 * dayOfYear + 2) / 153;
    const long month = m5 < 10 ? m5 + 3 : m5 - 9;
    const long year = yearOfEra + era * 400 + (month <= 2);
    return printed("%02ld/%02ld/%02ld %02ld:%02ld:%02ld", month, dayOfYear - (153 * m5 + 2) / 5 + 1,
                   year % 100, seconds / 3600, seconds / 60 % 60, seconds % 60);
}

// A magnitude's decimal digits with `scale` of them after a point.
std::string decimal(bool negative, std::array<std::uint32_t, 4> magnitude, int scale) {
    std::string digits;
    do {
        std::uint64_t remainder = 0;
        for (std::uint32_t& group : magnitude) {
            const std::uint64_t part = remainder << 32 | group;
            group = static_cast<std::uint32_t>(part / 10);
            remainder = part % 10;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + remainder));
    } while (std::any_of(magnitude.begin(), magnitude.end(), [](std::uint32_t g) { return g != 0; }));
    if (digits.size() <= static_cast<std::size_t>(scale)) digits.insert(0, scale + 1 - digits.size(), '0');
    if (scale > 0) digits.insert(digits.size() - scale, ".");
    return (negative ? "-" : "") + digits;
}

std::string render(const jet::NamedValue& v, int version) {
    struct Renderer {
        std::uint8_t type;
        int version;
        std::string operator()(std::monostate) { return ""; }
        std::string operator()(bool b) { return b ? "1" : "0"; }
        std::string operator()(std::uint8_t n) { return std::to_string(n); }
        std::string operator()(std::int16_t n) { return std::to_string(n); }
        std::string operator()(std::int32_t n) { return std::to_string(n); }
        std::string operator()(jet::Money m) {
            const std::uint64_t a = m.tenThousandths < 0 ? 0 - static_cast<std::uint64_t>(m.tenThousandths)
                                                         : static_cast<std::uint64_t>(m.tenThousandths);
            return decimal(m.tenThousandths < 0,
                           {0, 0, static_cast<std::uint32_t>(a >> 32), static_cast<std::uint32_t>(a)}, 4);
        }
        std::string operator()(float f) { return printed("%.8g", static_cast<double>(f)); }
        std::string operator()(double d) { return printed("%.16g", d); }
        std::string operator()(jet::DateTime d) { return date(d.days); }
        std::string operator()(const jet::Binary& b) {
            if (type == jet::kUnknown0D || type == jet::kUnknown11) return "";
            const auto end = type == jet::kBinary ? std::find(b.begin(), b.end(), 0) : b.end();
            return std::string(b.begin(), end);
        }
        std::string operator()(const std::u16string& t) { return text(t, version); }
        std::string operator()(const jet::Guid& g) {
            const auto& k = g.bytes;
            return printed("{%02X%02X%02X%02X-%02X%02X-%02X%02X-", k[3], k[2], k[1], k[0], k[5], k[4], k[7],
                           k[6]) +
                   printed("%02X%02X%02X%02X%02X%02X%02X%02X}", k[8], k[9], k[10], k[11], k[12], k[13], k[14],
                           k[15]);
        }
        std::string operator()(const jet::Numeric& n) { return decimal(n.negative, n.magnitude, n.scale); }
    };
    return std::visit(Renderer{v.type, version}, v.value);
}

// A row's fields, cut short for a message.
std::string shown(const Fields& row) {
    std::string line;
    for (const std::string& f : row) line += (line.empty() ? "" : " | ") + f.substr(0, 40);
    return line;
}

TEST(JetReader, ValuesAgreeWithMdbExportOnEveryTestDatabase) {
    int status = -1;
    outputLines("command -v mdb-export", &status);
    ASSERT_EQ(status, 0) << "mdbtools (mdb-export) not found: apt-get install mdbtools";
    std::size_t files = 0, tables = 0, rows = 0, values = 0;
    for (const std::string& name : testDatabases()) {
        SCOPED_TRACE(name);
        ++files;
        std::map<std::u16string, std::pair<Fields, std::vector<Fields>>> ours;  // header, rows
        jet::ValueReading reading;
        reading.digests = false;
        int version = 0;
        reading.onRow = [&](const jet::Table& table, const std::vector<jet::NamedValue>& row) {
            if (!table.user) return;
            auto& [header, records] = ours[table.name];
            if (header.empty())
                for (const jet::NamedValue& v : row) header.push_back(utf8(v.column));
            Fields fields;
            for (const jet::NamedValue& v : row) fields.push_back(render(v, version));
            records.push_back(std::move(fields));
        };
        DiskFile file(testdata(name));
        version = name.find("V1997") != std::string::npos ? 3 : 4;
        const jet::Reading read = jet::read(file, cp1252, reading);
        ASSERT_TRUE(read.database) << read.problem;

        for (const jet::Table& table : read.database->tables) {
            if (!table.user) continue;
            SCOPED_TRACE(utf8(table.name));
            ++tables;
            EXPECT_EQ(table.valueProblem, "");
            auto& [header, records] = ours[table.name];
            std::vector<Fields> expected = parseCsv(commandOutput(
                "LC_ALL=C.UTF-8 mdb-export '" + testdata(name) + "' '" + utf8(table.name) + "'"));
            ASSERT_FALSE(expected.empty());
            if (!header.empty()) {
                EXPECT_EQ(header, expected.front());
            }
            expected.erase(expected.begin());
            std::sort(expected.begin(), expected.end());
            std::sort(records.begin(), records.end());
            EXPECT_EQ(records.size(), expected.size());
            std::vector<Fields> onlyOurs, onlyTheirs;
            std::set_difference(records.begin(), records.end(), expected.begin(), expected.end(),
                                std::back_inserter(onlyOurs));
            std::set_difference(expected.begin(), expected.end(), records.begin(), records.end(),
                                std::back_inserter(onlyTheirs));
            for (std::size_t i = 0; i < std::min<std::size_t>(onlyOurs.size(), 3); ++i)
                ADD_FAILURE() << "only the reader's: " << shown(onlyOurs[i]);
            for (std::size_t i = 0; i < std::min<std::size_t>(onlyTheirs.size(), 3); ++i)
                ADD_FAILURE() << "only mdb-export's: " << shown(onlyTheirs[i]);
            rows += records.size();
            for (const Fields& r : records) values += r.size();
        }
    }
    std::cout << files << " files, " << tables << " user tables, " << rows << " rows, " << values
              << " values compared with mdb-export\n";
    EXPECT_GE(files, 14u);
}

}  // namespace
