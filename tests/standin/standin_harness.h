// What the stand-in's tests share: where JetComp.exe and the test databases are, a database's
// first bytes, scratch folders, and JetComp.exe run with its output collected (the stand-in
// writes UTF-8 to pipes).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/owned.h"
#include "support/files.h"
#include "support/process.h"

namespace standin {

std::wstring jetcompExe();
std::wstring testdataFile(const wchar_t* name);

// Bytes 0..19 of a database's first page, naming the engine ("Standard Jet DB" or "Standard ACE DB").
std::string databaseHeader(const char* engine);

// A whole file's bytes; a file that cannot be read fails the test and reads as empty.
std::string readFile(const std::wstring& path);
// A file that cannot be written fails the test.
void writeFile(const std::wstring& path, const std::string& bytes);
std::vector<std::wstring> sorted(std::vector<std::wstring> names);

// A temporary folder with one more folder inside it, leaf, where a test works: a test can put
// spaces or Japanese in its path.
class ScratchFolder : public support::TempFolder {
public:
    explicit ScratchFolder(const std::wstring& leaf = L"work");
    std::wstring operator/(const std::wstring& name) const { return file(name); }
};

// JetComp.exe started as "<exe>" followed by arguments, without a console window, its stdout and
// stderr collected; one that cannot be started fails the test.
support::Process startJetComp(const std::wstring& arguments);

// Runs JetComp.exe to the end (a run that hangs fails the test after 60 s).
support::Finished runJetComp(const std::wstring& arguments);

// The arguments as Harbek writes them: -src:"<source>" -dest:"<destination>".
std::wstring copyArguments(const std::wstring& source, const std::wstring& destination);

}  // namespace standin
