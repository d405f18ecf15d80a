// gErrMsg: the report's layout, headline, closing sentences, answers and its own trap.
#include "support/text_printer.h"

#include "standard/mdlFunctionStandard.h"
#include "tests/unit/fake_platform.h"

using fake::Text;
using mdlFunctionStandard::ErrorContext;
using mdlFunctionStandard::gErrMsg;
using support::HasSubstr;

namespace {

bool reportOf(fake::Platform&, Text place, std::int32_t mode, ErrorContext e) {
    return gErrMsg(place, mode, e);
}

TEST(ErrorReport, LaysOutTheBodyLineByLine) {
    fake::Platform p;
    reportOf(p, u"cmdOk_Click", 1, {53, u"ファイルが見つかりません。", 28});
    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_EQ(p.boxes[0].text,
              u"プログラムの実行中にエラーが発生しました。\r\n"
              u"場所： cmdOk_Click\r\n"
              u"\r\n"
              u"番号： 53\r\n"
              u"\r\n"
              u"内容： ファイルが見つかりません。\r\n"
              u"\r\n"
              u"位置： 28\r\n"
              u"\r\n"
              u"\r\n"
              u"処理を中断します。");
    EXPECT_EQ(p.boxes[0].flags, 16);
    EXPECT_EQ(*p.boxes[0].title, u"エラーが発生しました");
}

TEST(ErrorReport, OldDataFileChangesOnlyTheHeadline) {
    fake::Platform p;
    reportOf(p, u"mLog", 1, {3265, u"d", 10});
    reportOf(p, u"mLog", 1, {-3265, u"d", 10});
    const Text oldHead = u"データファイルのバージョンが古いため必要な項目が足りません";
    const Text plainHead = u"プログラムの実行中にエラーが発生しました。";
    const Text& old = p.boxes.at(0).text;
    Text plain = p.boxes.at(1).text;
    ASSERT_EQ(old.substr(0, oldHead.size()), oldHead);
    ASSERT_EQ(plain.substr(0, plainHead.size()), plainHead);
    plain.erase(plain.find(u"-3265"), 1);
    EXPECT_EQ(old.substr(oldHead.size()), plain.substr(plainHead.size()));
}

TEST(ErrorReport, LineZeroReadsNotSetAndNegativeNumbersKeepTheirSign) {
    fake::Platform p;
    reportOf(p, u"cmdRef_Click", 1, {-2147467259, u"エラーを特定できません", 0});
    const Text& t = p.boxes.at(0).text;
    EXPECT_THAT(t, HasSubstr(u"番号： -2147467259\r\n"));
    EXPECT_THAT(t, HasSubstr(u"位置： 位置情報は設定されていません\r\n"));
}

TEST(ErrorReport, ModesChooseTheClosingSentenceFlagsAndAnswer) {
    struct Row {
        std::int32_t mode;
        const char16_t* closing;
        std::int32_t flags;
        std::int32_t answer;
        bool result;
    };
    const Row rows[] = {
        {0, u"処理を続けます。", 16, 6, false},
        {1, u"処理を中断します。", 16, 6, false},
        {2, u"処理を続けますか？", 20, 6, true},
        {2, u"処理を続けますか？", 20, 7, false},
        {5, u"", 16, 6, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("mode " + std::to_string(row.mode) + " answer " + std::to_string(row.answer));
        fake::Platform p;
        p.answers = {row.answer};
        EXPECT_EQ(reportOf(p, u"x", row.mode, {1, u"d", 1}), row.result);
        const Text& t = p.boxes.at(0).text;
        const Text tail = Text(u"位置： 1\r\n\r\n\r\n") + row.closing;
        ASSERT_GE(t.size(), tail.size());
        EXPECT_EQ(t.substr(t.size() - tail.size()), tail);
        EXPECT_EQ(p.boxes[0].flags, row.flags);
    }
}

TEST(ErrorReport, ItsOwnFailureShowsOnePlainBoxWithTheNewError) {
    fake::Platform p;
    p.failOn("messageBox", 1);
    p.failure = {5, u"アクセスが拒否されました。"};
    EXPECT_FALSE(reportOf(p, u"mLog", 2, {53, u"d", 10}));
    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_EQ(p.boxes[0].text, u"gErrMsgでエラーが発生しました5アクセスが拒否されました。");
    EXPECT_EQ(p.boxes[0].flags, 0);
    EXPECT_FALSE(p.boxes[0].title.has_value());  // the platform shows the application title
}

TEST(ErrorReport, AFailingPlainBoxDoesNotLoop) {
    fake::Platform p;
    p.failOn("messageBox", 1);  // inside the report
    p.failOn("messageBox", 2);  // inside its trap
    EXPECT_FALSE(reportOf(p, u"mLog", 1, {53, u"d", 10}));
    EXPECT_EQ(p.count("messageBox"), 2);
}

}  // namespace
