#include "escape_ignored.h"

#include "support/text.h"
#include "keyboard.h"
#include "open_file_dialog.h"

namespace e2e {

void expectEscapeIgnored(const support::HarbekSession& harbek, HWND target, const std::string& where) {
    SCOPED_TRACE("Esc in " + where);
    const std::wstring path = harbek.path();
    const std::wstring log = harbek.log();
    postEscape(target);
    HWND box = waitForDialogWindow(harbek.processId(), 1000);
    EXPECT_EQ(box, nullptr) << "Esc made a window appear: " << describeDialogWindow(box);
    ASSERT_TRUE(harbek.windowOpen()) << "the window closed (Harbek "
                                     << (harbek.running() ? "runs" : "has ended") << ")";
    EXPECT_EQ(support::utf8(harbek.path()), support::utf8(path)) << "the path field changed";
    EXPECT_EQ(support::utf8(harbek.log()), support::utf8(log)) << "the log changed";
    EXPECT_EQ(focusOfThreadOf(harbek.window()), target) << "the focus moved";
}

}  // namespace e2e
