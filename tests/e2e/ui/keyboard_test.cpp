// The keyboard as it reaches Harbek through its own message loop: where the focus starts, where
// Tab takes it, what Enter and Esc do.
#include "../scenarios/repair_scenario.h"

#include "support/files.h"
#include "escape_ignored.h"
#include "keyboard.h"
#include "main_window_controls.h"
#include "successful_run.h"

namespace e2e {
namespace {

class Keyboard : public RepairScenario {
protected:
    void start() {
        installProgram();
        ASSERT_TRUE(startHarbek());
        ASSERT_TRUE(findMainWindowControls(harbek_.window(), controls_))
            << "a control of the window is missing";
    }

    HWND focus() const { return focusOfThreadOf(harbek_.window()); }

    // Waits (briefly) for the focus to be on expected; the failure names where it is instead.
    ::testing::AssertionResult focusBecomes(HWND expected) const {
        if (support::waitUntil([&] { return focus() == expected; }, 2000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the focus is on " << nameOfControl(controls_, focus())
                                             << ", not on " << nameOfControl(controls_, expected);
    }

    // Tab in the control that has the focus; the focus must then be on expected.
    ::testing::AssertionResult tabTo(HWND expected) const {
        HWND from = focus();
        postKeyDown(from, VK_TAB);
        ::testing::AssertionResult moved = focusBecomes(expected);
        if (!moved) moved << " after Tab in " << nameOfControl(controls_, from);
        return moved;
    }

    MainWindowControls controls_;
};

TEST_F(Keyboard, FocusStartsInThePathFieldAndTabWalksTheTabOrder) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(focusBecomes(controls_.path)) << "at start";
    const HWND order[] = {controls_.browse, controls_.run, controls_.cancel, controls_.log, controls_.path};
    for (HWND next : order) ASSERT_TRUE(tabTo(next));
    EXPECT_TRUE(harbek_.windowOpen());
}

TEST_F(Keyboard, EscInThePathFieldOrTheLogDoesNothing) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(harbek_.typePath(L"Z:\\打ち込んだ\\パス.mdb"));
    ASSERT_TRUE(focusBecomes(controls_.path));
    expectEscapeIgnored(harbek_, controls_.path, "the path field");

    for (HWND next : {controls_.browse, controls_.run, controls_.cancel, controls_.log})
        ASSERT_TRUE(tabTo(next));
    expectEscapeIgnored(harbek_, controls_.log, "the log");
}

TEST_F(Keyboard, EnterInThePathFieldRunsTheRepair) {
    ASSERT_NO_FATAL_FAILURE(start());
    std::wstring database = placeDatabase(L"data", L"sales.mdb");
    std::optional<std::string> original = support::readBytes(database);
    ASSERT_TRUE(original);
    ASSERT_TRUE(harbek_.typePath(database));
    ASSERT_TRUE(focusBecomes(controls_.path));

    postKeyDown(controls_.path, VK_RETURN);
    expectRepairedAndEnded(harbek_, dataFolder(L"data"), L"sales.mdb", *original);
}

}  // namespace
}  // namespace e2e
