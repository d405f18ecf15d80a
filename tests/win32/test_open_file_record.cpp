// The record handed to GetOpenFileNameA, and texts through the ANSI code page.
#include <gtest/gtest.h>

#include <cstddef>

#include "platform/win32/open_file_dialog.h"
#include "platform/win32/environment.h"
#include "platform/win32/text.h"
#include "standard/mdlFunctionStandard.h"
namespace {

TEST(OpenFileRecord, HoldsExactlyTheRequestedValues) {
    win32::Environment environment(GetModuleHandleW(nullptr));
    platform::install({nullptr, &environment, nullptr});
    const platform::Text filter = mdlFunctionStandard::openFileFilter(u"*.mdb", u"MDBファイル(.mdb)");
    const platform::OpenFileRequest request =
        mdlFunctionStandard::openFileRequest(0x1234, u"MDBファイルを選択してください。", filter, u"");
    win32::AnsiOpenFileRecord dialog;
    win32::prepareOpenFileRecord(request, dialog);
    const OPENFILENAMEA& r = dialog.record;
    // The short record, up to lpTemplateName: 76 bytes in the 32-bit build, 88 in the 64-bit one.
    EXPECT_EQ(r.lStructSize, offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(r.lStructSize, 76u);
    }
    EXPECT_EQ(r.hwndOwner, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(r.hInstance, GetModuleHandleW(nullptr));
    EXPECT_EQ(win32::fromAnsi(std::string(r.lpstrFilter, dialog.filter.size())), filter);
    EXPECT_EQ(r.lpstrCustomFilter, nullptr);
    EXPECT_EQ(r.nMaxCustFilter, 0u);
    EXPECT_EQ(r.nFilterIndex, 1u);
    EXPECT_EQ(r.lpstrFile, dialog.file);
    EXPECT_EQ(r.nMaxFile, 256u);
    EXPECT_EQ(r.lpstrFileTitle, dialog.fileTitle);
    EXPECT_EQ(r.nMaxFileTitle, 256u);
    EXPECT_STREQ(r.lpstrInitialDir, "");
    EXPECT_EQ(win32::fromAnsi(r.lpstrTitle), u"MDBファイルを選択してください。");
    EXPECT_EQ(r.Flags, 0x81804u);  // explorer, file and path must exist, no read-only box
    EXPECT_EQ(r.nFileOffset, 0);
    EXPECT_EQ(r.lpstrDefExt, nullptr);
    EXPECT_EQ(r.lCustData, 0);
    EXPECT_EQ(r.lpfnHook, nullptr);
    EXPECT_EQ(r.lpTemplateName, nullptr);
    EXPECT_EQ(dialog.file[0], '\0');
    EXPECT_EQ(dialog.file[255], '\0');
    platform::install({});
}

TEST(AnsiCodePage, JapanesePathsRoundTripThroughCodePage932) {
    ASSERT_EQ(GetACP(), 932u) << "run the tests with LC_ALL=ja_JP.UTF-8";
    const platform::Text path = u"C:\\データ\\売上 ｶﾅ 2024＼表.mdb";
    const std::string ansi = win32::toAnsi(path);
    EXPECT_LT(ansi.size(), path.size() * 2 + 1);
    EXPECT_EQ(win32::fromAnsi(ansi), path);
    // Characters outside the code page do not survive: the dialog cannot hand them back.
    EXPECT_NE(win32::fromAnsi(win32::toAnsi(u"C:\\한국.mdb")), u"C:\\한국.mdb");
}

}  // namespace
