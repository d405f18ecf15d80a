// The version information Explorer's property sheet shows for Harbek.exe, read back through the
// version API from the built file.
#include <gtest/gtest.h>

#include <vector>

#include "harbek_file.h"

namespace {

class VersionInfo : public ::testing::Test {
protected:
    void SetUp() override {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(harbekExePath().c_str(), &ignored);
        ASSERT_NE(size, 0u) << "no version resource, error " << GetLastError();
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(harbekExePath().c_str(), 0, size, block_.data()))
            << "error " << GetLastError();
    }

    // The value at a sub-block path, with its length as VerQueryValueW reports it.
    const void* query(const wchar_t* path, UINT* length) {
        void* value = nullptr;
        *length = 0;
        if (!VerQueryValueW(block_.data(), path, &value, length)) return nullptr;
        return value;
    }

    std::vector<unsigned char> block_;
};

TEST_F(VersionInfo, FixedPartHoldsVersion1_0_0_2OfAnApplication) {
    UINT length = 0;
    auto fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\", &length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000002u);  // .0.2
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000002u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "debug, pre-release or patched";
}

TEST_F(VersionInfo, TranslationIsJapaneseInUnicode) {
    UINT length = 0;
    auto pairs = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", &length));
    ASSERT_NE(pairs, nullptr);
    ASSERT_EQ(length, 4u) << "exactly one language and code page";
    EXPECT_EQ(pairs[0], 0x0411);
    EXPECT_EQ(pairs[1], 1200);
}

TEST_F(VersionInfo, StringsOfTheJapaneseBlock) {
    struct Field {
        const wchar_t* name;
        const wchar_t* value;
    };
    const Field fields[] = {
        {L"ProductName", L"Harbek"},          {L"InternalName", L"Harbek"},
        {L"OriginalFilename", L"Harbek.exe"}, {L"FileVersion", L"1.00.0002"},
        {L"ProductVersion", L"1.00.0002"},    {L"FileDescription", L"MDBファイル修復ツール"},
    };
    for (const Field& field : fields) {
        std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + field.name;
        SCOPED_TRACE(testing::Message() << "field " << field.name);
        UINT length = 0;
        auto text = static_cast<const wchar_t*>(query(path.c_str(), &length));
        ASSERT_NE(text, nullptr) << "missing";
        EXPECT_EQ(std::wstring(text), std::wstring(field.value));
    }
    for (const wchar_t* name : {L"CompanyName", L"LegalCopyright"}) {
        std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        UINT length = 0;
        auto text = static_cast<const wchar_t*>(query(path.c_str(), &length));
        ASSERT_NE(text, nullptr) << name << " missing";
        EXPECT_NE(std::wstring(text), L"");
    }
}

}  // namespace
