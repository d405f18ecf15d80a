// The window at 96 and at 144 DPI: its client area and every control keep their places in twips,
// turned into pixels at the screen's DPI, and the keyboard still works at 144.
#include "../scenarios/repair_scenario.h"

#include "support/files.h"
#include "escape_ignored.h"
#include "keyboard.h"
#include "main_window_controls.h"
#include "screen_dpi.h"
#include "successful_run.h"

#include <cmath>
#include <cstdio>

namespace e2e {
namespace {

constexpr int kTwipsPerInch = 1440;

// pixels is twips at dpi, give or take one pixel of rounding.
::testing::AssertionResult withinOnePixel(long pixels, int twips, UINT dpi) {
    double exact = static_cast<double>(twips) * dpi / kTwipsPerInch;
    char text[96];
    std::snprintf(text, sizeof text, "%ld px where %d twips at %u DPI are %.2f px", pixels, twips, dpi,
                  exact);
    if (std::fabs(pixels - exact) <= 1.0) return ::testing::AssertionSuccess() << text;
    return ::testing::AssertionFailure() << text;
}

class DpiLayout : public RepairScenario {
protected:
    void SetUp() override {
        RepairScenario::SetUp();
        makeDriverDpiAware();
    }
    void TearDown() override { screenDpi_.restore(); }

    // Harbek started with the prefix's screen set to dpi.
    void startAt(UINT dpi) {
        std::string error;
        ASSERT_TRUE(screenDpi_.set(dpi, error)) << error;
        installProgram();
        ASSERT_TRUE(startHarbek());
        ASSERT_TRUE(findMainWindowControls(harbek_.window(), controls_))
            << "a control of the window is missing";
    }

    void expectLayoutAt(UINT dpi) {
        RECT client{};
        ASSERT_TRUE(GetClientRect(harbek_.window(), &client));
        std::printf("client area at %u DPI: %ld x %ld px\n", dpi, client.right - client.left,
                    client.bottom - client.top);
        EXPECT_TRUE(withinOnePixel(client.right - client.left, 8115, dpi)) << "the client area's width";
        EXPECT_TRUE(withinOnePixel(client.bottom - client.top, 4005, dpi)) << "the client area's height";

        struct Row {
            const char* name;
            HWND control;
            int left, top, width, height;
        };
        const Row rows[] = {
            {"Label1", controls_.label, 120, 180, 4275, 255},
            {"fldMdbFile", controls_.path, 120, 420, 7035, 375},
            {"cmdRef", controls_.browse, 7200, 420, 795, 375},
            {"fldMsg", controls_.log, 120, 1020, 7875, 2175},
            {"cmdOk", controls_.run, 5220, 3480, 1395, 375},
            {"cmdCancel", controls_.cancel, 6600, 3480, 1395, 375},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            RECT r{};
            ASSERT_TRUE(GetWindowRect(row.control, &r));
            MapWindowPoints(nullptr, harbek_.window(), reinterpret_cast<POINT*>(&r), 2);
            EXPECT_TRUE(withinOnePixel(r.left, row.left, dpi)) << "left";
            EXPECT_TRUE(withinOnePixel(r.top, row.top, dpi)) << "top";
            EXPECT_TRUE(withinOnePixel(r.right - r.left, row.width, dpi)) << "width";
            EXPECT_TRUE(withinOnePixel(r.bottom - r.top, row.height, dpi)) << "height";
        }
    }

    MainWindowControls controls_;

private:
    ScopedLogPixels screenDpi_;
};

TEST_F(DpiLayout, At96TheWindowIsItsTwipsInPixels) {
    ASSERT_NO_FATAL_FAILURE(startAt(96));
    expectLayoutAt(96);
}

TEST_F(DpiLayout, At144TheWindowScalesAndTheKeyboardStillWorks) {
    ASSERT_NO_FATAL_FAILURE(startAt(144));
    expectLayoutAt(144);

    std::wstring database = placeDatabase(L"data", L"sales.mdb");
    std::optional<std::string> original = support::readBytes(database);
    ASSERT_TRUE(original);
    ASSERT_TRUE(harbek_.typePath(database));
    ASSERT_EQ(focusOfThreadOf(harbek_.window()), controls_.path)
        << "the focus is on " << nameOfControl(controls_, focusOfThreadOf(harbek_.window()));
    expectEscapeIgnored(harbek_, controls_.path, "the path field");
    postKeyDown(controls_.path, VK_RETURN);
    expectRepairedAndEnded(harbek_, dataFolder(L"data"), L"sales.mdb", *original, false);
}

}  // namespace
}  // namespace e2e
