// The shared routines: message presets, the error report, the open-file dialog and the wait for a
// launched process.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace mdlFunctionStandard {

using platform::Text;

// What a trap hands to the error report: taken before the report can fail.
struct ErrorContext {
    std::int32_t number;
    Text description;
    int line;  // last numbered step begun; 0 when none
};

// Shows a preset message (kinds 0-4). An empty message or title is replaced by the kind's default,
// written back to the caller. True only for Yes on a kind that wants an answer.
bool gMsgbox(std::int32_t& kind, Text& message, Text& title);

// Shows the error report for `error` under `place`, with the closing sentence and icon of `mode`.
// True only for Yes in mode 2.
bool gErrMsg(Text& place, std::int32_t& mode, const ErrorContext& error);

// Returns once the process has ended (whatever its exit code), or after one poll when it cannot be
// opened; window events are handled meanwhile.
void gWatchShellEnd(std::uint32_t processId);

// The open-file dialog; the chosen full path, or empty text on cancel. An empty title becomes
// "ファイルを開く" in the caller's variable. No trap: failures reach the caller.
Text gstrGetOpenFile(platform::WindowHandle& owner, Text& title, Text& pattern, Text& patternName,
                     Text& initialDir);

// The dialog's filter list and record, apart from the call (kept here so they can be tested).
Text openFileFilter(const Text& pattern, const Text& patternName);
platform::OpenFileRequest openFileRequest(platform::WindowHandle owner, const Text& title, const Text& filter,
                                          const Text& initialDir);

}  // namespace mdlFunctionStandard
