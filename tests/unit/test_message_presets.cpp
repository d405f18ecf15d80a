// gMsgbox: the kinds' flags, defaults written back, answers, and carrying on after a failure.
#include "support/text_printer.h"

#include "standard/mdlFunctionStandard.h"
#include "tests/unit/fake_platform.h"

using fake::Text;
using mdlFunctionStandard::gMsgbox;
using support::HasSubstr;

namespace {

struct KindRow {
    std::int32_t kind;
    std::int32_t flags;
    const char16_t* text;
    const char16_t* title;
    bool wantsAnswer;
};

const KindRow kKinds[] = {
    {0, 64, u"", u"情報", false},
    {1, 36, u"よろしいですか？", u"確認", true},
    {2, 308, u"よろしいですか？", u"警告", true},
    {3, 16, u"中止します", u"中止", false},
    {4, 36, u"キャンセルします。よろしいですか？", u"キャンセルの確認", true},
    {7, 0, u"", u"", false},
    {-1, 0, u"", u"", false},
};

TEST(MessagePresets, EachKindShowsItsDefaultsAndWritesThemBack) {
    for (const KindRow& row : kKinds) {
        SCOPED_TRACE("kind " + std::to_string(row.kind));
        fake::Platform p;
        std::int32_t kind = row.kind;
        Text message, title;
        gMsgbox(kind, message, title);
        ASSERT_EQ(p.boxes.size(), 1u);
        EXPECT_EQ(p.boxes[0].text, row.text);
        EXPECT_EQ(p.boxes[0].flags, row.flags);
        ASSERT_TRUE(p.boxes[0].title.has_value());  // an empty title is still passed as a title
        EXPECT_EQ(*p.boxes[0].title, row.title);
        EXPECT_EQ(message, row.text);
        EXPECT_EQ(title, row.title);
    }
}

TEST(MessagePresets, AnswersCountOnlyForKindsThatAsk) {
    for (const KindRow& row : kKinds) {
        SCOPED_TRACE("kind " + std::to_string(row.kind));
        for (std::int32_t answer : {6, 7, 1, 2}) {
            fake::Platform p;
            p.answers = {answer};
            std::int32_t kind = row.kind;
            Text message = u"m", title = u"t";
            EXPECT_EQ(gMsgbox(kind, message, title), row.wantsAnswer && answer == 6) << answer;
        }
    }
}

TEST(MessagePresets, GivenTextsAreKept) {
    fake::Platform p;
    std::int32_t kind = 3;
    Text message = u"C:\\a.mdbは存在しません。", title = u"独自";
    gMsgbox(kind, message, title);
    EXPECT_EQ(p.boxes.at(0).text, u"C:\\a.mdbは存在しません。");
    EXPECT_EQ(*p.boxes.at(0).title, u"独自");
}

TEST(MessagePresets, AFailedBoxIsReportedAndTheResultStaysFalse) {
    fake::Platform p;
    p.failOn("messageBox", 1);
    p.answers = {6};  // would be Yes, but it goes to the report's box
    std::int32_t kind = 1;
    Text message, title;
    EXPECT_FALSE(gMsgbox(kind, message, title));
    ASSERT_EQ(p.boxes.size(), 1u);  // the box that failed never showed
    const fake::Box& report = p.boxes[0];
    EXPECT_EQ(report.flags, 16);
    EXPECT_EQ(*report.title, u"エラーが発生しました");
    EXPECT_THAT(report.text, HasSubstr(u"場所： gMsgbox\r\n"));
    EXPECT_THAT(report.text, HasSubstr(u"位置： 位置情報は設定されていません\r\n"));
    EXPECT_EQ(report.text.substr(report.text.size() - 8), u"処理を続けます。");
}

}  // namespace
