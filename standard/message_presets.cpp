// gMsgbox: the five preset kinds of message. A failing step is reported and the routine goes on with
// its next step, with every value as the failed step left it.
#include "standard/mdlFunctionStandard.h"
#include "standard/trap.h"

namespace mdlFunctionStandard {

namespace {

struct Kind {
    std::int32_t flags;
    const char16_t* defaultText;
    const char16_t* defaultTitle;
    bool wantsAnswer;
};

using namespace platform::box;

Kind kindRow(std::int32_t kind) {
    switch (kind) {
        case 0:
            return {kIconInformation | kOk, u"", u"情報", false};
        case 1:
            return {kIconQuestion | kYesNo, u"よろしいですか？", u"確認", true};
        case 2:
            return {kIconExclamation | kYesNo | kDefaultButton2, u"よろしいですか？", u"警告", true};
        case 3:
            return {kIconStop | kOk, u"中止します", u"中止", false};
        case 4:
            return {kIconQuestion | kYesNo, u"キャンセルします。よろしいですか？", u"キャンセルの確認", true};
        default:
            return {kOk, u"", u"", false};
    }
}

constexpr std::int32_t kMode = 0;
constexpr const char16_t* kPlace = u"gMsgbox";

}  // namespace

bool gMsgbox(std::int32_t& kind, Text& message, Text& title) {
    bool result = false;
    Kind row{0, u"", u"", false};
    std::int32_t answer = 0;
    trapped(kPlace, kMode, [&](int&) { row = kindRow(kind); });
    trapped(kPlace, kMode, [&](int&) {
        if (message.empty()) message = row.defaultText;
    });
    trapped(kPlace, kMode, [&](int&) {
        if (title.empty()) title = row.defaultTitle;
    });
    trapped(kPlace, kMode, [&](int&) { answer = platform::window().messageBox(message, row.flags, &title); });
    trapped(kPlace, kMode, [&](int&) {
        if (row.wantsAnswer) {
            if (answer == kAnswerYes) result = true;
            if (answer == kAnswerNo) result = false;
        }
    });
    return result;
}

}  // namespace mdlFunctionStandard
