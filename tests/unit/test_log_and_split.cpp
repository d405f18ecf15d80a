// mLog, mDevidePathFile and the stamp and clock texts.
#include "support/text_printer.h"

#include <tuple>

#include "main_window/frmMain.h"
#include "tests/unit/fake_platform.h"

using fake::Text;
using platform::TextField;
using support::HasSubstr;

namespace {

TEST(Log, AppendsLinesAndKeepsWhatTheFieldHeld) {
    fake::Platform p;
    p.fields[TextField::Msg] = u"typed";
    frmMain::mLog(u"A");
    frmMain::mLog(u"");
    frmMain::mLog(u"B");
    EXPECT_EQ(p.log(), u"typedA\r\n\r\nB\r\n");
    EXPECT_EQ(p.count("processPendingEvents"), 3);
}

TEST(Log, FailuresAreReportedAtTheirLineAndTheCallerGoesOn) {
    struct Row {
        const char* operation;
        const char16_t* location;
    };
    for (const Row& row :
         {Row{"setText(fldMsg)", u"位置： 10\r\n"}, Row{"readText(fldMsg)", u"位置： 10\r\n"},
          Row{"processPendingEvents", u"位置： 20\r\n"}}) {
        SCOPED_TRACE(row.operation);
        fake::Platform p;
        p.failOn(row.operation);
        frmMain::mLog(u"A");
        ASSERT_EQ(p.boxes.size(), 1u);
        EXPECT_THAT(p.boxes[0].text, HasSubstr(u"場所： mLog\r\n"));
        EXPECT_THAT(p.boxes[0].text, HasSubstr(row.location));
        EXPECT_THAT(p.boxes[0].text, HasSubstr(u"処理を中断します。"));
    }
}

TEST(SplitPath, SplitsAfterTheLastSeparatorOfEitherWidth) {
    const std::tuple<Text, Text, Text> rows[] = {
        // path, folder part, file part
        {u"C:\\data\\sales.mdb", u"C:\\data\\", u"sales.mdb"},
        {u"sales.mdb", u"", u"sales.mdb"},
        {u"", u"", u""},
        {u"C:\\data\\", u"C:\\data\\", u""},
        {u"C:＼データ＼売上.mdb", u"C:＼データ＼", u"売上.mdb"},
        {u"C:\\a＼b\\c.mdb", u"C:\\a＼b\\", u"c.mdb"},
        {u"C:\\a\\b＼c.mdb", u"C:\\a\\b＼", u"c.mdb"},
        {u"C:/data/sales.mdb", u"", u"C:/data/sales.mdb"},  // "/" is not a separator here
        {u"\\\\server\\share\\x.mdb", u"\\\\server\\share\\", u"x.mdb"},
        {u"C:\\data\\売上\U0001F600.mdb", u"C:\\data\\", u"売上\U0001F600.mdb"},
    };
    fake::Platform p;
    for (const auto& [path, folderPart, filePart] : rows) {
        SCOPED_TRACE(support::utf8(path));
        Text folder = u"stale", file = u"stale";
        frmMain::mDevidePathFile(path, folder, file);
        EXPECT_EQ(folder, folderPart);
        EXPECT_EQ(file, filePart);
    }
    EXPECT_THAT(p.boxes, testing::IsEmpty());
}

TEST(StampAndClock, AreZeroPaddedTwentyFourHour) {
    EXPECT_EQ(frmMain::stampOf({2026, 1, 2, 3, 4, 5}), u"20260102030405");
    EXPECT_EQ(frmMain::stampOf({2026, 12, 31, 23, 59, 59}), u"20261231235959");
    EXPECT_EQ(frmMain::clockOf({2026, 1, 2, 3, 4, 5}), u"03:04:05");
    EXPECT_EQ(frmMain::clockOf({2026, 1, 2, 0, 0, 0}), u"00:00:00");
}

}  // namespace
