// Damaged and foreign input: the reader says "cannot read" (or, when only one table's pages are
// hurt, gives that table no rows and a problem), and never crashes; pages past the catalog's
// reach, however many, change nothing and are never read.
#include "support/text_printer.h"

#include "tests/jet_reader/support.h"

namespace {

using namespace jettest;

Change cutTo(std::size_t size) {
    return [=](Bytes& b) { b.resize(size); };
}
Change both(Change first, Change second) {
    return [=](Bytes& b) { first(b), second(b); };
}

// "cannot read: ..." for the whole file; otherwise the tables without rows, "name: problem".
std::string outcome(const jet::Reading& reading) {
    if (!reading.database) return reading.problem;
    std::string text;
    for (const jet::Table& t : reading.database->tables)
        if (!t.rows) text += utf8(t.name) + ": " + t.problem + "\n";
    return text;
}

struct Case {
    const char* file;
    Change change;
    std::string expected;
};

TEST(JetReader, SaysWhatIsWrongWithDamagedInput) {
    const std::string notJet(5000, 'x');
    const std::string catalog = "cannot read: the catalog (MSysObjects): ";
    const std::string aceOr = " at 0x14: an ACE database or an unknown version, not Jet 3 or 4";
    const std::string past = " is past the end of the file (";
    const Case cases[] = {
        // Not a Jet 3 or Jet 4 file at all, or not whole.
        {"delTestV2000.mdb", cutTo(0), "cannot read: the file is too short for a Jet database (0 bytes)"},
        {"delTestV2000.mdb", [&](Bytes& b) { b.assign(notJet.begin(), notJet.end()); },
         "cannot read: no \"Standard Jet DB\" signature at offset 4"},
        {"delTestV2000.mdb", [](Bytes& b) { std::copy_n("Standard ACE DB", 15, b.begin() + 4); },
         "cannot read: an ACE database (.accdb), not Jet 3 or Jet 4"},
        {"delTestV2000.mdb", put(0x14, 2, 1), "cannot read: version byte 0x02" + aceOr},
        {"jet3-testV1997.mdb", put(0x14, 7, 1), "cannot read: version byte 0x07" + aceOr},
        {"delTestV2000.mdb", cutTo(4096), "cannot read: the file holds fewer than 3 pages (1)"},
        {"delTestV2000.mdb", cutTo(135168 / 2),
         "cannot read: the file's size (67584 bytes) is not a whole number of 4096-byte pages"},
        // Cut in half at a page: the catalog holds, three tables' definitions are gone; or the
        // catalog's own overflowed row lost its body.
        {"delTestV2000.mdb", cutTo(135168 / 2 / 4096 * 4096),
         "MSysAccessObjects: table definition page 17" + past +
             "16 pages)\n"
             "Table: table definition page 23" +
             past +
             "16 pages)\n"
             "MSysAccessXML: table definition page 25" +
             past + "16 pages)\n"},
        {"testIndexCodesV1997.mdb", cutTo(462848 / 2 / 2048 * 2048),
         catalog + "overflow page 124" + past + "113 pages)"},
        // The catalog: zeroed, encrypted with the key left out of the header, its map pointer.
        {"delTestV2000.mdb", [](Bytes& b) { std::fill_n(b.begin() + 2 * 4096, 4096, 0); },
         catalog + "table definition page 2 has type 0x00, not 0x02"},
        {"delTestV2000.mdb", [](Bytes& b) { b = encrypted(b, 0xA7E0C0FE, false); },
         catalog + "table definition page 2 has type 0xE2, not 0x02"},
        {"delTestV2000.mdb", put(2 * 4096 + 55, 0xFFFFFF00),
         catalog + "usage map row page 16777215" + past + "33 pages)"},
        // One table: its map pointer, a data page's owner, its definition's next page, overflow.
        {"delTestV2000.mdb", put(23 * 4096 + 55, 0xFFFFFF00),
         "Table: usage map row page 16777215" + past + "33 pages)\n"},
        {"delTestV2000.mdb", put(31 * 4096 + 4, 17),
         "Table: data page 31 belongs to the table defined at page 17, not 23\n"},
        {"jet3-testV1997.mdb", put(34 * 2048 + 4, 9999),
         "Table2: table definition continuation page 9999" + past + "58 pages)\n"},
        {"jet3-testV1997.mdb", put(34 * 2048 + 4, 34),
         "Table2: the table definition's pages loop back to page 34\n"},
        // One table's index part (valuesV2003's Orders, page 382: three index names from 472): a
        // name running past the definition's end, an odd UCS-2 name, more entries than bytes.
        {"valuesV2003.mdb", put(382 * 4096 + 494, 0xFFFF, 2),
         "Orders: the table definition ends before its indexes do\n"},
        {"valuesV2003.mdb", put(382 * 4096 + 516, 15, 2),
         "Orders: a UCS-2 text has an odd number of bytes\n"},
        {"valuesV2003.mdb", put(382 * 4096 + 47, 255),
         "Orders: the table definition ends before its indexes do\n"},
        {"overflowTestV2000.mdb", put(114589, 27 << 8 | 2),  // page 27 slot 2 points at itself
         "Table1: an overflowed row points at a live row\n"},
        {"overflowTestV2000.mdb",  // its body, page 28 slot 0, moved on (0xC000) to itself
         both(put(28 * 4096 + 14, 0xCFC6, 2), put(118726, 28 << 8)),
         "Table1: an overflowed row's pointers go on for more than 4 hops\n"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i) + ": " + cases[i].file);
        Bytes bytes = loadFile(testdata(cases[i].file));
        ASSERT_FALSE(bytes.empty());
        cases[i].change(bytes);
        MemoryFile file(bytes);
        EXPECT_EQ(outcome(jet::read(file, latin1)), cases[i].expected);
    }
}

// 100 MiB of zero pages after the last page: the same tables and rows, and not a byte more read.
TEST(JetReader, NeverReadsPagesPastTheCatalogsReach) {
    for (const char* name : {"jet3-testV1997.mdb", "testIndexPropertiesV2003.mdb"}) {
        SCOPED_TRACE(name);
        const Bytes bytes = loadFile(testdata(name));
        MemoryFile plain(bytes);
        MemoryFile padded(bytes, 100 << 20);
        const jet::Reading before = jet::read(plain, latin1);
        const jet::Reading after = jet::read(padded, latin1);
        ASSERT_TRUE(before.database && after.database) << before.problem << after.problem;
        EXPECT_EQ(after.database->pageCount * after.database->pageSize, bytes.size() + (100 << 20));
        EXPECT_EQ(summary(after), summary(before));
        EXPECT_EQ(padded.bytesRead, plain.bytesRead);
    }
}

}  // namespace
