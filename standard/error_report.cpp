// gErrMsg: the error report of fixed layout every trap shows.
#include <new>

#include "standard/mdlFunctionStandard.h"
#include "standard/text_format.h"
#include "standard/trap.h"

namespace mdlFunctionStandard {

namespace {

constexpr std::int32_t kOldDataFile = 3265;
using namespace platform::box;

Text reportBody(const Text& place, std::int32_t mode, const ErrorContext& error) {
    const Text location = error.line == 0 ? Text(u"位置情報は設定されていません") : decimal(error.line);
    const Text headline = error.number == kOldDataFile
                              ? Text(u"データファイルのバージョンが古いため必要な項目が足りません")
                              : Text(u"プログラムの実行中にエラーが発生しました。");
    Text body = headline + u"\r\n" + u"場所： " + place + u"\r\n" + u"\r\n" + u"番号： " +
                decimal(error.number) + u"\r\n" + u"\r\n" + u"内容： " + error.description + u"\r\n" +
                u"\r\n" + u"位置： " + location + u"\r\n" + u"\r\n" + u"\r\n";
    switch (mode) {
        case 0:
            body += u"処理を続けます。";
            break;
        case 1:
            body += u"処理を中断します。";
            break;
        case 2:
            body += u"処理を続けますか？";
            break;
        default:
            break;
    }
    return body;
}

// The report's own trap: one plain box with the application title. Nothing is left to report a
// failure of that box with, so it is dropped.
void reportOwnFailure(std::int32_t number, const Text& description) {
    try {
        platform::window().messageBox(u"gErrMsgでエラーが発生しました" + decimal(number) + description, kOk,
                                      nullptr);
    } catch (const platform::RuntimeError&) {
    } catch (const std::bad_alloc&) {}
}

}  // namespace

bool gErrMsg(Text& place, std::int32_t& mode, const ErrorContext& error) {
    // `error` was captured by the caller before anything here could fail.
    bool result = false;
    try {
        const Text body = reportBody(place, mode, error);
        const std::int32_t flags = mode == 2 ? kIconStop | kYesNo : kIconStop;
        const Text title = u"エラーが発生しました";
        const std::int32_t answer = platform::window().messageBox(body, flags, &title);
        if (mode == 2) {
            if (answer == kAnswerYes) result = true;
            if (answer == kAnswerNo) result = false;
        }
    } catch (const platform::RuntimeError& e) {
        reportOwnFailure(e.number, e.description);
    } catch (const std::bad_alloc&) {
        reportOwnFailure(kOutOfMemory, kOutOfMemoryText);
    }
    return result;
}

void report(const char16_t* place, std::int32_t mode, const ErrorContext& error) {
    Text placeName = place;
    gErrMsg(placeName, mode, error);
}

}  // namespace mdlFunctionStandard
