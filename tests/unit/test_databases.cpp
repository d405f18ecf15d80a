#include "tests/unit/test_databases.h"

#include "support/text_printer.h"

#include <fstream>
#include <sstream>

namespace fake {

std::string testDatabase(const std::string& name) {
    std::string folder = HARBEK_TESTDATA_DIR;
#ifdef _WIN32
    if (!folder.empty() && folder[0] == '/') folder = "Z:" + folder;  // a Unix path, under Wine
#endif
    std::ifstream in(folder + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_TRUE(in.good() && bytes.str().size() > 0) << "cannot read " << folder << "/" << name;
    return bytes.str();
}

std::string renamed(std::string bytes, const std::string& from, const std::string& to) {
    EXPECT_EQ(from.size(), to.size());
    int found = 0;
    for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1)) {
        bytes.replace(at, from.size(), to);
        ++found;
    }
    EXPECT_GT(found, 0) << from;
    return bytes;
}

}  // namespace fake
