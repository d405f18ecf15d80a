// What every measurement is handed: where the programs are, where its files go, where the
// samples are recorded; and the steps they share.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace bench {

struct Context {
    std::filesystem::path samples;
    std::wstring bin;   // harbek_bench.exe and every program it starts (Harbek.exe, the compactors...)
    std::wstring work;  // the measurements' folders; source.mdb, a real Jet database, lies here

    std::wstring program(const std::wstring& name) const { return bin + L"\\" + name; }
    std::wstring sourceDatabase() const { return work + L"\\source.mdb"; }

    void record(const std::string& key, double value) const;
    void record(const std::string& key, const std::string& value) const;
    // Records "<figure>: <why>" as an error of the run and returns 1, the measurement's exit code.
    int fail(const std::string& figure, const std::string& why) const;
};

// work + "\" + name, emptied and created afresh; empty on failure.
std::wstring freshFolder(const Context& context, const std::wstring& name);

// Copies a program of bin into folder under the name as (the copy may already exist: it is
// replaced).
bool copyProgram(const Context& context, const std::wstring& name, const std::wstring& folder,
                 const std::wstring& as);

// Polls every millisecond or so for the first running child of parentId named JetComp.exe and
// opens it for waiting; null when none appears within timeoutMs.
HANDLE waitForCompactor(DWORD parentId, DWORD timeoutMs);

}  // namespace bench
