// Harbek.exe ships alone: every DLL it imports must come with Windows.
// The import table is read from the file itself, so a runtime DLL of the compiler that slipped in
// (libstdc++, libgcc, libwinpthread) shows up here and not only on a user's machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "harbek_file.h"

namespace {

class PeFile {
public:
    explicit PeFile(const std::wstring& path) {
        std::ifstream in(path.c_str(), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        auto dos = at<IMAGE_DOS_HEADER>(0);
        if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return;
        nt_ = at<IMAGE_NT_HEADERS32>(dos->e_lfanew);
        if (!nt_ || nt_->Signature != IMAGE_NT_SIGNATURE ||
            nt_->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
            nt_ = nullptr;
            return;
        }
        std::size_t first = dos->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                            nt_->FileHeader.SizeOfOptionalHeader;
        std::size_t last = first + (nt_->FileHeader.NumberOfSections - 1) * sizeof(IMAGE_SECTION_HEADER);
        if (nt_->FileHeader.NumberOfSections > 0 && at<IMAGE_SECTION_HEADER>(last))
            sections_ = at<IMAGE_SECTION_HEADER>(first);
    }

    bool valid() const { return nt_ && sections_; }

    std::vector<std::string> importedDlls() const {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& dir = nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (dir.VirtualAddress == 0) return names;
        for (DWORD rva = dir.VirtualAddress;; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            auto d = atRva<IMAGE_IMPORT_DESCRIPTOR>(rva);
            if (!d || d->Name == 0) break;
            names.push_back(stringAtRva(d->Name));
        }
        return names;
    }

private:
    template <class T>
    const T* at(std::size_t offset) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) return nullptr;
        return reinterpret_cast<const T*>(bytes_.data() + offset);
    }

    std::size_t offsetOfRva(DWORD rva) const {
        for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections_[i];
            DWORD size = std::max(s.Misc.VirtualSize, s.SizeOfRawData);
            if (rva >= s.VirtualAddress && rva - s.VirtualAddress < size)
                return s.PointerToRawData + (rva - s.VirtualAddress);
        }
        return bytes_.size();  // outside the file
    }

    template <class T>
    const T* atRva(DWORD rva) const {
        return at<T>(offsetOfRva(rva));
    }

    std::string stringAtRva(DWORD rva) const {
        std::string text;
        for (std::size_t i = offsetOfRva(rva); i < bytes_.size() && bytes_[i]; ++i) text += bytes_[i];
        return text;
    }

    std::vector<char> bytes_;
    const IMAGE_NT_HEADERS32* nt_ = nullptr;
    const IMAGE_SECTION_HEADER* sections_ = nullptr;
};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool comesWithWindows(const std::string& dll) {
    static const std::set<std::string> system = {
        "kernel32.dll", "user32.dll", "gdi32.dll",    "comdlg32.dll", "comctl32.dll",
        "shell32.dll",  "advapi32.dll", "msvcrt.dll", "ole32.dll",
    };
    std::string name = lower(dll);
    return system.count(name) || name.rfind("api-ms-win-", 0) == 0;
}

TEST(Imports, OnlyDllsThatComeWithWindows) {
    PeFile exe(harbekExePath());
    ASSERT_TRUE(exe.valid()) << "Harbek.exe is not a 32-bit PE file";
    std::vector<std::string> imported = exe.importedDlls();

    std::set<std::string> all;
    for (const std::string& dll : imported) all.insert(lower(dll));
    EXPECT_EQ(all.count("kernel32.dll"), 1u) << "the import table was not read";
    for (const std::string& dll : imported) EXPECT_TRUE(comesWithWindows(dll)) << "imports " << dll;
}

}  // namespace
