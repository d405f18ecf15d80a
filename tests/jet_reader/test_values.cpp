// Row digests: equal for the same values however stored, different when a value differs; damage in
// values costs its table its digests, never the file, the counts or a crash; and work that stays
// bounded when many values point at the same LVAL rows.
#include "support/text_printer.h"

#include <algorithm>
#include <map>

#include "jet_reader/damage.h"
#include "jet_reader/row_digest.h"
#include "tests/jet_reader/support.h"

namespace {

using namespace jettest;

// The read with digests; the bytes it read in `bytesRead`.
jet::Reading readValues(const Bytes& bytes, std::uint64_t* bytesRead = nullptr) {
    MemoryFile file(bytes);
    jet::Reading reading = jet::read(file, cp1252, jet::ValueReading{});
    if (bytesRead != nullptr) *bytesRead = file.bytesRead;
    return reading;
}

// Each user table's sorted digests, or its value problem.
std::map<std::string, std::vector<jet::Digest>> digests(const jet::Reading& reading) {
    std::map<std::string, std::vector<jet::Digest>> tables;
    for (const jet::Table& t : reading.database.value().tables) {
        EXPECT_EQ(t.valueProblem, "") << utf8(t.name);
        if (t.user && t.rowDigests) tables[utf8(t.name)] = *t.rowDigests;
    }
    return tables;
}

// A plain UCS-2 text of ASCII, found once in the file, rewritten in place as compressed text of
// the same length: FF FE, three characters a byte each, 0x00 to switch to pairs, then the rest as
// they were. With `typo`, its first letter is changed too.
Change compressed(const std::u16string& text, bool typo = false) {
    return [=](Bytes& b) {
        Bytes plain;
        for (char16_t c : text) plain.push_back(static_cast<std::uint8_t>(c)), plain.push_back(0);
        const auto at = std::search(b.begin(), b.end(), plain.begin(), plain.end());
        ASSERT_NE(at, b.end());
        ASSERT_EQ(std::search(at + 1, b.end(), plain.begin(), plain.end()), b.end());
        Bytes packed = {0xFF, 0xFE, plain[0], plain[2], plain[4], 0x00};
        packed.insert(packed.end(), plain.begin() + 6, plain.end());
        if (typo) packed[2] ^= 0x20;
        std::copy(packed.begin(), packed.end(), at);
    };
}

TEST(JetReader, DigestsAreEqualForTheSameValuesStoredDifferently) {
    const Change none = [](Bytes&) {};
    struct Case {
        const char *file, *other;  // the other file, or the first one changed by `change`
        Change change;
        std::size_t changedRows;
    };
    const Case cases[] = {
        // The same content written as Jet 3 (code-page text) and Jet 4 (compressed UCS-2), with
        // overflowed rows and columns added later; long values in other pages of another file.
        {"delTestV1997.mdb", "delTestV2000.mdb", none, 0},
        {"overflowTestV1997.mdb", "overflowTestV2000.mdb", none, 0},
        {"valuesV2000.mdb", "valuesV2003.mdb", none, 0},
        // A Jackcess text stored plain, then compressed with a switch to pairs; then with a typo.
        {"valuesV2003.mdb", "valuesV2003.mdb", compressed(u"plain ascii 99"), 0},
        {"valuesV2003.mdb", "valuesV2003.mdb", compressed(u"plain ascii 99", true), 1},
        // The low byte of one 顧客 row's ID (page 60, slot 0) changed.
        {"valuesV2003.mdb", "valuesV2003.mdb", put(0x3CFBB + 2, 0x7F, 1), 1},
    };
    std::map<std::string, std::map<std::string, std::vector<jet::Digest>>> unchanged;  // by file
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " against " + c.other);
        if (!unchanged.contains(c.file)) unchanged[c.file] = digests(readValues(loadFile(testdata(c.file))));
        const auto& one = unchanged[c.file];
        Bytes other = loadFile(testdata(c.other));
        c.change(other);
        const auto two = digests(readValues(other));
        ASSERT_FALSE(one.empty());
        ASSERT_EQ(one.size(), two.size());
        std::size_t changed = 0;
        for (const auto& [table, rows] : one) {
            std::vector<jet::Digest> onlyOne;
            std::set_difference(rows.begin(), rows.end(), two.at(table).begin(), two.at(table).end(),
                                std::back_inserter(onlyOne));
            changed += onlyOne.size();
            EXPECT_EQ(rows.size(), two.at(table).size()) << table;
        }
        EXPECT_EQ(changed, c.changedRows);
    }
}

// A row's canonical form, one value at a time: the pairs are stored differently but mean the same,
// or differ where it matters.
TEST(JetReader, CanonicalValuesMeanTheSameWhereTheyShould) {
    using jet::Value;
    const auto digest = [](std::vector<std::u16string> names, std::vector<Value> values) {
        std::vector<jet::NamedValue> row;
        for (std::size_t i = 0; i < names.size(); ++i) row.push_back({names[i], 0, values[i]});
        return jet::RowDigester(names).digest(row);
    };
    const auto one = [&](Value v) { return digest({u"c"}, {std::move(v)}); };
    const jet::Numeric oneAndAHalf{false, {0, 0, 0, 150}, 2}, shorter{false, {0, 0, 0, 15}, 1};
    const jet::Numeric zero{false, {}, 4}, minusZero{true, {}, 4}, big{false, {1, 0, 0, 150}, 2};
    struct Case {
        Value a, b;
        bool same;
    };
    const Case cases[] = {
        {jet::DateTime{0.0003472222222222222}, jet::DateTime{0.0003472222222222224}, true},  // 00:00:30
        {jet::DateTime{-1.25}, jet::DateTime{-1.25}, true},
        {jet::DateTime{1.5}, jet::DateTime{1.5 + 1.0 / 86400000}, false},  // a millisecond
        {oneAndAHalf, shorter, true},
        {oneAndAHalf, big, false},
        {zero, minusZero, true},
        {std::u16string(u"a"), jet::Binary{'a', 0}, false},
        {std::monostate{}, std::u16string(), false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(one(cases[i].a) == one(cases[i].b), cases[i].same) << "case " << i;
    // Columns keyed by name, whatever their order or the case of their letters.
    EXPECT_EQ(digest({u"Id", u"Name"}, {1, u"x"}), digest({u"NAME", u"ID"}, {u"x", 1}));
    EXPECT_NE(digest({u"a", u"b"}, {1, 2}), digest({u"a", u"b"}, {2, 1}));
    EXPECT_THROW(jet::RowDigester({u"Name", u"nAME"}), jet::Damage);
}

TEST(JetReader, Sha256GivesTheKnownDigests) {
    const auto hex = [](const std::string& message) {
        jet::Sha256 hash;
        hash.add({reinterpret_cast<const std::uint8_t*>(message.data()), message.size()});
        std::string text;
        for (std::uint8_t b : hash.finish())
            text += "0123456789abcdef"[b >> 4], text += "0123456789abcdef"[b & 15];
        return text;
    };
    // FIPS 180-2's examples, and messages that end where the padding needs a second block.
    EXPECT_EQ(hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// valuesV2003.mdb, table 顧客 (the 10th of the catalog), column 3 長いメモ: row 0 of page 60 holds its field at 0x3CFD6, a
// chain of 10850 bytes over the LVAL rows 54/0 -> 55/0 -> 56/0, each starting with the pointer to
// the next (at 0x36014, 0x37014, 0x3856A; slot entries at 0x3600E, 0x3700E, 0x3800E). Row 1 holds
// an inline memo of 38 bytes (column 2) at 0x3CF39; column 4's descriptor has its type at 0x320BB.
TEST(JetReader, DamagedValuesAreTheirTablesProblem) {
    const std::string memo = "column 3 (type 0x0C): ";
    struct Case {
        Change change;
        std::string problem;
    };
    const Case cases[] = {
        {put(0x37014, 0), memo + "its chain of LVAL rows holds 8144 bytes of a long value of 10850"},
        {put(0x37014, 54 << 8),
         memo +
             "the long value row at page 54 row 0 is reached a second time: a chain loops, or two values share it"},
        {put(0x3CFD6 + 4, 23 << 8 | 1),  // a row of an LvProp value of MSysObjects, read before
         memo +
             "the long value row at page 23 row 1 is reached a second time: a chain loops, or two values share it"},
        {put(0x36014, 0xFFFFFF00), memo + "long value page 16777215 is past the end of the file (440 pages)"},
        {put(0x36014, 60 << 8), memo + "long value page 60 is a data page without the mark LVAL"},
        {put(0x36014, 55 << 8 | 9), memo + "a long value points at page 55 row 9, which is no row"},
        {put(0x3700E, 0xC014, 2), memo + "a long value points at page 55 row 0, a deleted or moved row"},
        {put(0x3CFD6 + 3, 0xC0, 1), memo + "a long value of kind 0xC0, not inline, one row or a chain"},
        {put(0x3CF39, 0x80000000 | 39),
         "column 2 (type 0x0C): an inline field holds 38 bytes of a long value of 39"},
        {put(0x320BB, 0x0E, 1), "column 4 (type 0x0E): a type the reader does not know"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        Bytes bytes = loadFile(testdata("valuesV2003.mdb"));
        cases[i].change(bytes);
        const jet::Reading reading = readValues(bytes);
        ASSERT_TRUE(reading.database) << reading.problem;
        for (const jet::Table& t : reading.database->tables) {
            const bool hurt = t.name == u"顧客";
            EXPECT_EQ(t.valueProblem, hurt ? cases[i].problem : "") << utf8(t.name);
            EXPECT_EQ(t.rowDigests.has_value(), !hurt);
            EXPECT_EQ(t.problem, "");  // counted all the same
            EXPECT_EQ(t.rows, hurt ? 300u : t.rows);
        }
    }
}

// 257 inline memos of 顧客 (column 2) made to point at the chain of 27680 bytes over LVAL pages
// 74 to 80: were each value to walk it, the file would cost 1799 page reads, four times its
// pages. The second walk is damage instead, and the file costs fewer reads than the healthy one.
TEST(JetReader, ValuesSharingLvalRowsCostNoMoreReads) {
    const Bytes healthy = loadFile(testdata("valuesV2003.mdb"));
    Bytes shared = healthy;
    const Bytes chain = {0x20, 0x6C, 0, 0, 0, 74, 0, 0, 0, 0, 0, 0};
    std::size_t memos = 0;
    for (std::size_t page = 0; page < shared.size() / 4096; ++page) {
        const auto at = shared.begin() + page * 4096;
        if (at[0] != 0x01 || at[4] != 50 || at[5] != 0) continue;  // a data page of 顧客 (page 50)
        for (auto header = at + 14; header + 12 < at + 4096; ++header) {
            // An inline header: a length under 256, kind 0x80, no pointer.
            const Bytes inlineMark = {0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0};
            if (*header == 0 || !std::equal(inlineMark.begin(), inlineMark.end(), header + 1)) continue;
            std::copy(chain.begin(), chain.end(), header);
            ++memos;
        }
    }
    ASSERT_EQ(memos, 257u);
    std::uint64_t healthyBytes = 0, sharedBytes = 0;
    readValues(healthy, &healthyBytes);
    const jet::Reading reading = readValues(shared, &sharedBytes);
    EXPECT_EQ(
        reading.database.value().tables.at(9).valueProblem,
        "column 2 (type 0x0C): the long value row at page 74 row 0 is reached a second time: a chain loops, or "
        "two values share it");
    EXPECT_LE(sharedBytes, healthyBytes);
}

}  // namespace
