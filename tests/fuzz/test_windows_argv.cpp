// The portable splitter against the system's CommandLineToArgvW (shell32), under Wine: a table of
// tricky lines with the vectors the system gives, then a few thousand random lines built from the
// characters that matter. The fuzzer trusts the splitter only because these agree.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <random>
#include <string>
#include <vector>

#include "main_window/frmMain.h"
#include "platform/win32/owned.h"
#include "tests/fuzz/windows_argv.h"

namespace {

using Args = std::vector<std::u16string>;

std::wstring wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
std::u16string narrow16(const wchar_t* s) { return std::u16string(s, s + wcslen(s)); }

Args systemSplit(const std::u16string& line) {
    int n = 0;
    const std::wstring w = wide(line);
    const win32::OwnedLocal<wchar_t**> argv(CommandLineToArgvW(w.c_str(), &n));
    if (!argv) return {u"<CommandLineToArgvW failed>"};
    Args out;
    for (int i = 0; i < n; ++i) out.push_back(narrow16(argv.get()[i]));
    return out;
}

using windowsargv::visible;

std::string visible(const Args& args) {
    std::string out = "[";
    for (const auto& a : args) out += (out.size() > 1 ? ", <" : "<") + visible(a) + ">";
    return out + "]";
}

struct Row {
    std::u16string line;
    Args expected;
};

const std::vector<Row>& rows() {
    static const std::vector<Row> table = {
        // The program name.
        {u"JetComp.exe a b", {u"JetComp.exe", u"a", u"b"}},
        {u"exe\"file\"path arg1", {u"exe\"file\"path", u"arg1"}},
        {u"\"exe\"arg\" one\" argtwo", {u"exe", u"arg one", u"argtwo"}},
        {u"\"C:\\dir\\\"x y", {u"C:\\dir\\", u"x", u"y"}},
        {u"\"C:\\\\\" a", {u"C:\\\\", u"a"}},
        {u"\"C:\\a b", {u"C:\\a b"}},
        {u"\"\" a", {u"", u"a"}},
        {u"\"two\"\" arg1 ", {u"two", u" arg1 "}},
        {u"\"three\"\"\" arg2", {u"three", u"", u"arg2"}},
        {u"\"p\"\t\"a b\"", {u"p", u"a b"}},
        {u" a b", {u"", u"a", u"b"}},
        {u"\ta", {u"", u"a"}},
        {u"   ", {u""}},
        // Separators.
        {u"p a \t ", {u"p", u"a"}},
        {u"p\ta\t\tb", {u"p", u"a", u"b"}},
        {u"p a\nb\vc\rd", {u"p", u"a\nb\vc\rd"}},
        {u"p あ\u3000い", {u"p", u"あ\u3000い"}},
        // Empty and unclosed arguments.
        {u"p \"\" \"\"", {u"p", u"", u""}},
        {u"p a \"", {u"p", u"a", u""}},
        {u"p \"a b", {u"p", u"a b"}},
        {u"p a\"b c\"d e", {u"p", u"ab cd", u"e"}},
        // Backslashes.
        {u"p a\\b a\\\\b a\\\\\\b", {u"p", u"a\\b", u"a\\\\b", u"a\\\\\\b"}},
        {u"p a\\\\", {u"p", u"a\\\\"}},
        {u"p C:\\dir\\", {u"p", u"C:\\dir\\"}},
        {u"p \\\"a", {u"p", u"\"a"}},
        {u"p \\\\\"a b\"", {u"p", u"\\a b"}},
        {u"p \\\\\\\"a", {u"p", u"\\\"a"}},
        {u"p \\\\\\\\\"a b\"", {u"p", u"\\\\a b"}},
        {u"p \"C:\\dir\\\" next", {u"p", u"C:\\dir\" next"}},
        {u"p \"C:\\dir\\\\\" next", {u"p", u"C:\\dir\\", u"next"}},
        {u"p \"\\\\\\\\\"", {u"p", u"\\\\"}},
        // What a trailing backslash does to the compactor's line: one argument swallows the next.
        {u"p -src:\"C:\\a b\\\" -dest:\"x\"", {u"p", u"-src:C:\\a b\" -dest:x"}},
        // Runs of quotes.
        {u"p \"a\"\"b\" c", {u"p", u"a\"b c"}},
        {u"p \"a\"\"\"b\" c", {u"p", u"a\"b", u"c"}},
        {u"p a\"\"b", {u"p", u"ab"}},
        {u"p a\"\"\"b c", {u"p", u"a\"b", u"c"}},
        {u"p a\"\"\"\" b\" c", {u"p", u"a\" b", u"c"}},
        {u"p \"a\"\"\"\"\"b c", {u"p", u"a\"\"b", u"c"}},
        {u"p \"a\\\"\"\" b\"", {u"p", u"a\"\"", u"b"}},
        {u"p \"the crazy \\\\\"\"\"\\\\\" quotes", {u"p", u"the crazy \\\"\\", u"quotes"}},
        // Characters that only look special.
        {u"p ＼\" a\"", {u"p", u"＼ a"}},
        {u"p \"a＼\" b ＂c＂", {u"p", u"a＼", u"b", u"＂c＂"}},
        // Japanese, surrogate pairs, lone surrogates.
        {u"\"C:\\ツール\\JetComp.exe\" -src:\"D:\\テスト データ\\売上 2024.mdb\"",
         {u"C:\\ツール\\JetComp.exe", u"-src:D:\\テスト データ\\売上 2024.mdb"}},
        {u"p \"𠮷野家 😀\" 𠮷\\\"", {u"p", u"𠮷野家 😀", u"𠮷\""}},
        {u"p a\xD800 b\xDC00\"c d\"",
         {u"p", u"a\xD800",
          u"b\xDC00"
          u"c d"}},
        // The compactor's own lines.
        {u"\"C:\\Program Files\\Harbek\\JetComp.exe\" -src:\"C:\\data\\sales.mdb\" "
         u"-dest:\"C:\\data\\_AfterRepair20261207090503sales.mdb\"",
         {u"C:\\Program Files\\Harbek\\JetComp.exe", u"-src:C:\\data\\sales.mdb",
          u"-dest:C:\\data\\_AfterRepair20261207090503sales.mdb"}},
        {u"\"C:\\\\JetComp.exe\" -src:\"a.mdb\" -dest:\"_AfterRepair1a.mdb\"",
         {u"C:\\\\JetComp.exe", u"-src:a.mdb", u"-dest:_AfterRepair1a.mdb"}},
        {u"\"X\\JetComp.exe\" -src:\"\" -dest:\"_AfterRepair20261207090503\"",
         {u"X\\JetComp.exe", u"-src:", u"-dest:_AfterRepair20261207090503"}},
        // The line ends at its first NUL.
        {std::u16string(u"p a\0b c", 7), {u"p", u"a"}},
    };
    return table;
}

TEST(WindowsArgv, TableAgreesWithCommandLineToArgvW) {
    for (std::size_t i = 0; i < rows().size(); ++i) {
        const Row& row = rows()[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + visible(row.line));
        EXPECT_EQ(visible(systemSplit(row.line)), visible(row.expected)) << "the system's split";
        EXPECT_EQ(visible(windowsargv::splitCommandLine(row.line)), visible(row.expected))
            << "the portable split";
    }
}

TEST(WindowsArgv, EmptyLineGivesNoArgumentsWhereTheSystemGivesItsOwnPath) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(visible(systemSplit(u"")), visible(Args{narrow16(self)}));
    EXPECT_TRUE(windowsargv::splitCommandLine(u"").empty());
}

// Random lines over the characters the rules treat specially, and a few they do not.
TEST(WindowsArgv, RandomLinesAgreeWithCommandLineToArgvW) {
    const std::u16string alphabet[] = {u"a",  u" ",  u"\t", u"\"", u"\"", u"\\",
                                       u"\\", u"あ", u"😀",  u"\n", u"＼"};
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> length(1, 24);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    int mismatches = 0;
    for (int i = 0; i < 5000 && mismatches < 5; ++i) {
        std::u16string line;
        for (int k = length(random); k > 0; --k) line += alphabet[pick(random)];
        const std::string system = visible(systemSplit(line));
        const std::string portable = visible(windowsargv::splitCommandLine(line));
        if (system != portable) {
            ++mismatches;
            ADD_FAILURE() << "line " << i << ": " << visible(line) << "\n  system:   " << system
                          << "\n  portable: " << portable;
        }
    }
}

// The compactor's line for awkward folders and paths, as the run builds it, splits the same both
// ways into the three parts the compactor expects.
TEST(WindowsArgv, CompactorLinesSplitIntoTheirThreeParts) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        // folder, source
        {u"C:\\", u"C:\\a.mdb"},
        {u"", u""},
        {u"\\\\server\\share\\tools", u"\\\\server\\share\\a b\\x.mdb"},
        {u" C:\\ lead", u"\t\\\\\\x＼"},
        {u"C:\\ツール\\\\", u"D:\\𠮷\\ \\\\y .mdb"},
    };
    for (const auto& [folder, source] : cases) {
        SCOPED_TRACE(visible(folder) + " | " + visible(source));
        platform::Text folderPart, filePart;
        frmMain::mDevidePathFile(source, folderPart, filePart);
        const std::u16string after = folderPart + u"_AfterRepair20261207090503" + filePart;
        const std::u16string line = frmMain::compactorCommandLine(folder, source, after);
        const Args expected = {folder + u"\\JetComp.exe", u"-src:" + source, u"-dest:" + after};
        EXPECT_EQ(visible(systemSplit(line)), visible(expected));
        EXPECT_EQ(visible(windowsargv::splitCommandLine(line)), visible(expected));
    }
}

}  // namespace
