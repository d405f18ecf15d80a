// Pages encrypted under a database key: no such file is in the test data, so the tests make them
// from plain ones, with the reader's own RC4, checked here against known keystreams first.
#include "support/text_printer.h"

#include <array>

#include "jet_reader/rc4.h"
#include "tests/jet_reader/support.h"

namespace {

using namespace jettest;

Bytes rc4Of(const std::string& key, Bytes data) {
    jet::rc4({reinterpret_cast<const std::uint8_t*>(key.data()), key.size()}, data);
    return data;
}

TEST(JetReader, Rc4GivesKnownKeystreams) {
    // RC4's published vectors, and the header mask (Jackcess's BASE_HEADER_MASK starts so).
    EXPECT_EQ(rc4Of("Key", {'P', 'l', 'a', 'i', 'n', 't', 'e', 'x', 't'}),
              (Bytes{0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3}));
    EXPECT_EQ(rc4Of("Wiki", {'p', 'e', 'd', 'i', 'a'}), (Bytes{0x10, 0x21, 0xBF, 0x04, 0x20}));
    EXPECT_EQ(rc4Of("\xC7\xDA\x39\x6B", Bytes(12)),
              (Bytes{0xB5, 0x6F, 0x03, 0x62, 0x61, 0x08, 0xC2, 0x55, 0xEB, 0xA9, 0x67, 0x72}));
}

TEST(JetReader, ReadsPagesEncryptedUnderTheDatabaseKey) {
    for (const char* name :
         {"jet3-testV1997.mdb", "overflowTestV1997.mdb", "delTestV2000.mdb", "testUnicodeCompV2003.mdb"}) {
        SCOPED_TRACE(name);
        const Bytes plain = loadFile(testdata(name));
        MemoryFile plainFile(plain);
        const jet::Reading expected = jet::read(plainFile, latin1);
        ASSERT_TRUE(expected.database) << expected.problem;
        ASSERT_FALSE(expected.database->encrypted);

        const Bytes secret = encrypted(plain, 0xA7E0C0FE);
        ASSERT_NE(secret, plain);
        MemoryFile secretFile(secret);
        const jet::Reading reading = jet::read(secretFile, latin1);
        ASSERT_TRUE(reading.database) << reading.problem;
        EXPECT_TRUE(reading.database->encrypted);
        EXPECT_EQ(summary(reading), summary(expected));
    }
}

}  // namespace
