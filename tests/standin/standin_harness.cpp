#include "standin_harness.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/text.h"

namespace standin {
namespace {

support::Launch jetcompLaunch(const std::wstring& arguments) {
    support::Launch launch;
    launch.exe = jetcompExe();
    launch.arguments = arguments;
    launch.captureOutput = true;
    launch.flags = CREATE_NO_WINDOW;
    return launch;
}

}  // namespace

std::wstring jetcompExe() { return support::windowsPathOf(JETCOMP_EXE); }
std::wstring testdataFile(const wchar_t* name) {
    return support::joinPath(support::windowsPathOf(TESTDATA_DIR), name);
}

std::string databaseHeader(const char* engine) {
    std::string header("\x00\x01\x00\x00", 4);
    header += engine;
    header += '\0';
    return header;
}

std::string readFile(const std::wstring& path) {
    std::optional<std::string> bytes = support::readBytes(path);
    if (!bytes) ADD_FAILURE() << "cannot read " << support::utf8(path) << " (error " << GetLastError() << ")";
    return bytes.value_or("");
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    ASSERT_TRUE(support::writeBytes(path, bytes))
        << "cannot write " << support::utf8(path) << " (error " << GetLastError() << ")";
}

std::vector<std::wstring> sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

ScratchFolder::ScratchFolder(const std::wstring& leaf) : support::TempFolder(L"jetcomp-test", leaf) {
    EXPECT_TRUE(made()) << "cannot create " << support::utf8(path()) << " (error " << GetLastError() << ")";
}

support::Process startJetComp(const std::wstring& arguments) {
    support::Process process;
    if (!process.start(jetcompLaunch(arguments)))
        ADD_FAILURE() << "cannot start JetComp.exe " << support::utf8(arguments) << " (error "
                      << process.error() << ")";
    return process;
}

support::Finished runJetComp(const std::wstring& arguments) {
    support::Finished run = support::runToEnd(jetcompLaunch(arguments), 60000);
    if (!run.started)
        ADD_FAILURE() << "cannot start JetComp.exe " << support::utf8(arguments) << " (error " << run.error
                      << ")";
    else if (run.exitCode == STILL_ACTIVE)
        ADD_FAILURE() << "JetComp.exe " << support::utf8(arguments) << " still runs after 60 s";
    return run;
}

std::wstring copyArguments(const std::wstring& source, const std::wstring& destination) {
    return L"-src:\"" + source + L"\" -dest:\"" + destination + L"\"";
}

}  // namespace standin
