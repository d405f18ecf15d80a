// Message boxes: the caption given, the application title when none is, and the answer.
#include <gtest/gtest.h>

#include "support/text.h"
#include "tests/win32/harness.h"

using namespace win32test;
using support::utf8;

namespace {

class MessageBoxes : public WithServices {};

TEST_F(MessageBoxes, ShowTheTextAndTitleAndReturnTheButton) {
    struct Row {
        const char16_t* title;  // nullptr: no title
        const wchar_t* caption;
        std::int32_t flags;
        int button;
    };
    const Row rows[] = {
        {u"情報", L"情報", 64, IDOK},  {u"", L"", 0, IDOK},           {nullptr, L"Harbek", 0, IDOK},
        {u"確認", L"確認", 36, IDYES}, {u"警告", L"警告", 308, IDNO},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.caption));
        SeenBox seen;
        answerNextBox(seen, row.button);
        const platform::Text title = row.title ? row.title : u"";
        const std::int32_t answer =
            services.messageBox(u"終了しました。\r\n次の行", row.flags, row.title ? &title : nullptr);
        ASSERT_TRUE(seen.seen);
        EXPECT_EQ(seen.caption, row.caption);
        EXPECT_EQ(seen.text, L"終了しました。\r\n次の行");
        EXPECT_EQ(answer, row.button);
    }
}

}  // namespace
