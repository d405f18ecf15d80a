// The main window built from frmMain's description: controls, sizes, focus, tab order, keyboard,
// text fields and event processing. The buttons' handlers are replaced by counters here.
#include <gtest/gtest.h>

#include <vector>

#include "main_window/frmMain.h"
#include "platform/win32/layout.h"
#include "platform/win32/form_window.h"
#include "platform/win32/environment.h"
#include "platform/win32/processes.h"
#include "platform/win32/window.h"
#include "support/text.h"
#include "tests/win32/harness.h"

using namespace win32test;
using support::utf8;

namespace {

int okClicks = 0, refClicks = 0, cancelClicks = 0, closeQueries = 0;

std::wstring className(HWND h) {
    wchar_t name[64];
    GetClassNameW(h, name, 64);
    return name;
}

class Window : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        services = new win32::Window(GetModuleHandleW(nullptr));
        platform::install({services, &environment, &processes});
        form = new platform::FormDescription(frmMain::form());
        for (auto& c : form->controls) {
            if (c.name == "cmdOk") c.onClick = [] { ++okClicks; };
            if (c.name == "cmdRef") c.onClick = [] { ++refClicks; };
            if (c.name == "cmdCancel") c.onClick = [] { ++cancelClicks; };
        }
        form->queryClose = [] {
            ++closeQueries;
            return false;
        };
        services->showMainWindow(*form);
    }
    static void TearDownTestSuite() { platform::install({}); }

    void SetUp() override {
        okClicks = refClicks = cancelClicks = closeQueries = 0;
        services->processPendingEvents();
    }

    static HWND control(const std::string& name) {
        for (HWND c = GetWindow(win32::mainWindow(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const int index = GetDlgCtrlID(c) - 100;
            if (form->controls.at(static_cast<std::size_t>(index)).name == name) return c;
        }
        return nullptr;
    }

    static void key(HWND target, WPARAM vk, bool alt = false) {
        if (alt) {
            // What TranslateMessage makes of Alt+key: the dialog manager reads the character.
            PostMessageW(target, WM_SYSCHAR, vk | 0x20, 0x20000000);
        } else {
            PostMessageW(target, WM_KEYDOWN, vk, 0);
            if (vk == VK_RETURN || vk == VK_ESCAPE) PostMessageW(target, WM_CHAR, vk, 0);
        }
        services->processPendingEvents();
    }

    static inline win32::Window* services = nullptr;
    static inline win32::Environment environment{GetModuleHandleW(nullptr)};
    static inline win32::Processes processes;
    static inline platform::FormDescription* form = nullptr;
};

TEST_F(Window, HasTheCaptionControlsAndSizesInPixelsAtItsDpi) {
    HWND w = win32::mainWindow();
    ASSERT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(windowText(w), L"MDBファイル修復ツール");
    const UINT dpi = win32::windowDpi(w);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, win32::twipsToPixels(8115, dpi));
    EXPECT_EQ(client.bottom, win32::twipsToPixels(4005, dpi));
    if (dpi == 96) {
        EXPECT_EQ(client.right, 541);
        EXPECT_EQ(client.bottom, 267);
    }
    struct Row {
        const char* name;
        const wchar_t* cls;
        const wchar_t* text;
        int left, top, width, height;
    };
    const Row rows[] = {
        {"Label1", L"Static", L"修復するMDBファイル", 120, 180, 4275, 255},
        {"fldMdbFile", L"Edit", L"", 120, 420, 7035, 375},
        {"cmdRef", L"Button", L"参照(&R)", 7200, 420, 795, 375},
        {"fldMsg", L"Edit", L"", 120, 1020, 7875, 2175},
        {"cmdOk", L"Button", L"修復の実行(&R)", 5220, 3480, 1395, 375},
        {"cmdCancel", L"Button", L"ｷｬﾝｾﾙ", 6600, 3480, 1395, 375},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND c = control(row.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(_wcsicmp(className(c).c_str(), row.cls), 0) << utf8(className(c));
        EXPECT_EQ(windowText(c), row.text);
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, win32::twipsToPixels(row.left, dpi));
        EXPECT_EQ(r.top, win32::twipsToPixels(row.top, dpi));
        EXPECT_EQ(r.right - r.left, win32::twipsToPixels(row.width, dpi));
        EXPECT_EQ(r.bottom - r.top, win32::twipsToPixels(row.height, dpi));
    }
    EXPECT_TRUE(GetWindowLongW(control("fldMsg"), GWL_STYLE) & ES_MULTILINE);
    EXPECT_FALSE(GetWindowLongW(control("fldMdbFile"), GWL_STYLE) & ES_MULTILINE);
    // The controls use the system's message font, not the stock system font.
    EXPECT_NE(SendMessageW(control("cmdOk"), WM_GETFONT, 0, 0), 0);
}

TEST_F(Window, FocusStartsInThePathFieldAndTabFollowsTheTabOrder) {
    HWND w = win32::mainWindow();
    const std::vector<HWND> order = {control("fldMdbFile"), control("cmdRef"), control("cmdOk"),
                                     control("cmdCancel"), control("fldMsg")};
    EXPECT_EQ(GetFocus(), order[0]);
    for (std::size_t i = 1; i <= order.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetNextDlgTabItem(w, order[i - 1], FALSE), order[i % order.size()]);
    }
    key(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), order[1]);
    SetFocus(order[0]);
}

TEST_F(Window, EnterPressesTheRunButtonAndEscDoesNothing) {
    SetFocus(control("fldMdbFile"));
    key(control("fldMdbFile"), VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    key(control("fldMsg"), VK_ESCAPE);
    key(control("fldMdbFile"), VK_ESCAPE);
    EXPECT_TRUE(IsWindow(win32::mainWindow()));
    EXPECT_EQ(closeQueries, 0);
    EXPECT_EQ(cancelClicks, 0);
}

TEST_F(Window, ShiftTabGoesBackAndTheSharedAccessKeyNeverPressesBoth) {
    SetFocus(control("fldMdbFile"));
    PostMessageW(control("fldMdbFile"), WM_KEYDOWN, VK_SHIFT, 0);
    services->processPendingEvents();
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    key(control("fldMdbFile"), VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), control("fldMsg"));  // backwards from the first control wraps to the last

    // Two buttons share R: the window system's rule for a shared mnemonic applies, and at most one
    // of them acts on one key press.
    SetFocus(control("fldMdbFile"));
    key(control("fldMdbFile"), 'R', true);
    printf("Alt+R from the path field: focus on %s, ok %d, ref %d\n",
           GetFocus() == control("cmdRef")  ? "cmdRef"
           : GetFocus() == control("cmdOk") ? "cmdOk"
                                            : "other",
           okClicks, refClicks);
    EXPECT_LE(okClicks + refClicks, 1);
    EXPECT_TRUE(GetFocus() == control("cmdRef") || GetFocus() == control("cmdOk"));
    SetFocus(control("fldMdbFile"));
}

TEST_F(Window, TheCloseBoxAsksTheForm) {
    SendMessageW(win32::mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(closeQueries, 1);
    EXPECT_TRUE(IsWindow(win32::mainWindow()));  // the form said no
}

TEST_F(Window, TextFieldsReadWhatIsTypedAndShowWhatIsSet) {
    SendMessageW(control("fldMdbFile"), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"C:\\データ\\売上 2024.mdb"));
    EXPECT_EQ(services->readText(platform::TextField::MdbFile), u"C:\\データ\\売上 2024.mdb");
    services->setText(platform::TextField::Msg, u"開始:09:05:03\r\nMDBファイルの存在:OK\r\n");
    EXPECT_EQ(windowText(control("fldMsg")), L"開始:09:05:03\r\nMDBファイルの存在:OK\r\n");
    EXPECT_EQ(services->readText(platform::TextField::Msg), u"開始:09:05:03\r\nMDBファイルの存在:OK\r\n");
    services->setText(platform::TextField::MdbFile, u"");
    EXPECT_EQ(services->readText(platform::TextField::MdbFile), u"");
}

TEST_F(Window, TheLogGrowsToExactlyTheTextSetAndKeepsItsNewestLineInView) {
    HWND log = control("fldMsg");
    services->setText(platform::TextField::Msg, u"");
    platform::Text expected;
    for (int i = 0; i < 40; ++i) {
        expected +=
            u"修復前のファイル名を変更 " + platform::Text(1, static_cast<char16_t>(u'A' + i % 26)) + u"\r\n";
        services->setText(platform::TextField::Msg, expected);
    }
    EXPECT_EQ(services->readText(platform::TextField::Msg), expected);
    const LRESULT lines = SendMessageW(log, EM_GETLINECOUNT, 0, 0);
    RECT r;
    GetClientRect(log, &r);
    const POINTL lastCorner{r.left + 2, r.bottom - 2};
    const LRESULT lastShown =
        HIWORD(SendMessageW(log, EM_CHARFROMPOS, 0, MAKELPARAM(lastCorner.x, lastCorner.y)));
    EXPECT_GE(lastShown, lines - 2) << "the view stays at the top of a " << lines << "-line log";

    // Text that does not extend what is shown replaces it whole.
    services->setText(platform::TextField::Msg, u"開始:10:00:00\r\n");
    EXPECT_EQ(services->readText(platform::TextField::Msg), u"開始:10:00:00\r\n");

    // Past the control's limit for typed and appended text, the whole text is still set.
    SendMessageW(log, EM_SETLIMITTEXT, 20, 0);
    services->setText(platform::TextField::Msg, u"開始:10:00:00\r\nMDBファイルの存在:OK\r\n");
    EXPECT_EQ(services->readText(platform::TextField::Msg), u"開始:10:00:00\r\nMDBファイルの存在:OK\r\n");
    SendMessageW(log, EM_SETLIMITTEXT, 0, 0);
    services->setText(platform::TextField::Msg, u"");
}

TEST_F(Window, PendingEventsAreHandledAndTheCallReturnsWhenNoneAreLeft) {
    PostMessageW(control("cmdRef"), BM_CLICK, 0, 0);
    PostMessageW(control("cmdCancel"), BM_CLICK, 0, 0);
    services->processPendingEvents();
    EXPECT_EQ(refClicks, 1);
    EXPECT_EQ(cancelClicks, 1);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

}  // namespace
