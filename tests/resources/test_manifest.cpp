// Harbek.exe's manifest: present once as resource 1, and read by the loader the way Windows reads
// it (an activation context made from the exe), so a misspelt namespace or a dependency that does
// not resolve fails here instead of being ignored silently at run time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harbek_file.h"

using ::testing::HasSubstr;

namespace {

BOOL CALLBACK collectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

TEST(Manifest, OneManifestResourceNamedOne) {
    HarbekData harbek;
    ASSERT_NE(harbek.module(), nullptr) << "error " << GetLastError();
    std::vector<ULONG_PTR> names;
    EnumResourceNamesW(harbek.module(), RT_MANIFEST, collectName, reinterpret_cast<LONG_PTR>(&names));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], 1u) << "the loader reads manifest 1 of an executable";

    std::string text(harbek.resource(MAKEINTRESOURCEW(1), RT_MANIFEST));
    EXPECT_THAT(text, HasSubstr(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"));
    EXPECT_THAT(text, HasSubstr("PerMonitorV2"));
    EXPECT_THAT(text, HasSubstr(R"(name="Harbek" version="1.0.0.2" processorArchitecture="x86")"));
}

// An activation context made from Harbek.exe's own manifest, released with the object.
class HarbekContext : public ::testing::Test {
protected:
    void SetUp() override {
        std::wstring exe = harbekExePath();
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = exe.c_str();
        request.lpResourceName = MAKEINTRESOURCEW(1);
        context_ = CreateActCtxW(&request);
        ASSERT_NE(context_, INVALID_HANDLE_VALUE)
            << "the loader rejects the manifest, error " << GetLastError();
    }
    void TearDown() override {
        if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
    }

    std::wstring setting(const wchar_t* nameSpace, const wchar_t* name) {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, context_, nameSpace, name, value, 64, &written)) return L"(none)";
        return value;
    }

    HANDLE context_ = INVALID_HANDLE_VALUE;
};

// The context's second assembly is the first dependency, resolved to an installed assembly. (Wine's
// side-by-side comctl32 is a real version-6 assembly but its DllGetVersion says 5.81, so the
// identity is what is checked.)
TEST_F(HarbekContext, ResolvesVersion6OfTheCommonControls) {
    alignas(8) unsigned char buffer[4096] = {};
    DWORD index = 2;
    ASSERT_TRUE(QueryActCtxW(0, context_, &index, AssemblyDetailedInformationInActivationContext, buffer,
                             sizeof(buffer), nullptr))
        << "no dependency, error " << GetLastError();
    auto assembly = reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer);
    ASSERT_NE(assembly->lpAssemblyEncodedAssemblyIdentity, nullptr);
    std::wstring identity = assembly->lpAssemblyEncodedAssemblyIdentity;
    EXPECT_EQ(identity.rfind(L"Microsoft.Windows.Common-Controls,", 0), 0u) << identity;
    EXPECT_THAT(identity, HasSubstr(L"version=\"6."));

    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context_, &cookie)) << "error " << GetLastError();
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    DeactivateActCtx(0, cookie);
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(comctl, path, MAX_PATH);
    FreeLibrary(comctl);
    CharLowerW(path);
    EXPECT_THAT(std::wstring(path), HasSubstr(L"\\winsxs\\"))
        << "comctl32 is not from the side-by-side store";
}

TEST_F(HarbekContext, DeclaresPerMonitorDpiAwareness) {
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              L"PerMonitorV2, PerMonitor");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true/pm");
}

TEST_F(HarbekContext, RunsAsInvokerOnVistaTo11) {
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
    ASSERT_TRUE(QueryActCtxW(0, context_, nullptr, RunlevelInformationInActivationContext, &level,
                             sizeof(level), nullptr))
        << "error " << GetLastError();
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(level.UiAccess, 0u);

    // The element as Windows 10 and Wine fill it; MinGW's header lacks MaxVersionTested.
    struct Element {
        GUID id;
        ACTCTX_COMPATIBILITY_ELEMENT_TYPE type;
        ULONGLONG maxVersionTested;
    };
    struct {
        DWORD count;
        Element elements[16];
    } compatibility{};
    ASSERT_TRUE(QueryActCtxW(0, context_, nullptr, CompatibilityInformationInActivationContext,
                             &compatibility, sizeof(compatibility), nullptr))
        << "error " << GetLastError();
    const GUID vista = {0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}};
    const GUID seven = {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}};
    const GUID eight = {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}};
    const GUID eightOne = {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}};
    const GUID ten = {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}};
    struct Os {
        const char* name;
        const GUID* id;
    };
    for (Os os : {Os{"Vista", &vista}, Os{"7", &seven}, Os{"8", &eight}, Os{"8.1", &eightOne},
                  Os{"10 and 11", &ten}}) {
        bool listed = false;
        for (DWORD i = 0; i < compatibility.count && i < 16; ++i)
            listed |= compatibility.elements[i].type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS &&
                      IsEqualGUID(compatibility.elements[i].id, *os.id);
        EXPECT_TRUE(listed) << "Windows " << os.name << " is not among the supported systems";
    }
}

}  // namespace
