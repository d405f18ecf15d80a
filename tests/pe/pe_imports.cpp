// Only what the import tables need is checked: the DOS and NT headers, a PE32 or PE32+ optional header,
// and section bounds for every address looked up. Anything out of bounds makes the file
// unreadable rather than crashing the reader.
#include "pe_imports.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

namespace pe {
namespace {

class Image {
public:
    explicit Image(const std::string& bytes) : bytes_(bytes) {}

    template <class T>
    std::optional<T> at(std::size_t offset) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) return std::nullopt;
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof(T));
        return value;
    }

    // The file offset of a relative virtual address, through the section that holds it.
    std::optional<std::size_t> offsetOf(DWORD rva) const {
        for (const IMAGE_SECTION_HEADER& s : sections_) {
            const DWORD size = std::max(s.Misc.VirtualSize, s.SizeOfRawData);
            if (rva >= s.VirtualAddress && rva - s.VirtualAddress < size) {
                const std::size_t offset = std::size_t{s.PointerToRawData} + (rva - s.VirtualAddress);
                if (offset < bytes_.size()) return offset;
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> stringAt(DWORD rva) const {
        auto offset = offsetOf(rva);
        if (!offset) return std::nullopt;
        const auto end = bytes_.find('\0', *offset);
        if (end == std::string::npos) return std::nullopt;
        return bytes_.substr(*offset, end - *offset);
    }

    std::string load() {
        auto dos = at<IMAGE_DOS_HEADER>(0);
        if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return "no MZ header";
        const std::size_t ntOffset = static_cast<std::size_t>(dos->e_lfanew);
        auto nt = at<IMAGE_NT_HEADERS32>(ntOffset);
        if (!nt || nt->Signature != IMAGE_NT_SIGNATURE) return "no PE header";
        // The two optional headers differ in the width of a few fields before the directories.
        if (nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
            std::memcpy(directories_, nt->OptionalHeader.DataDirectory, sizeof directories_);
        } else if (nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
            auto nt64 = at<IMAGE_NT_HEADERS64>(ntOffset);
            if (!nt64) return "PE header cut short";
            std::memcpy(directories_, nt64->OptionalHeader.DataDirectory, sizeof directories_);
        } else {
            return "neither a PE32 nor a PE32+ image";
        }
        std::size_t offset =
            ntOffset + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader;
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, offset += sizeof(IMAGE_SECTION_HEADER)) {
            auto section = at<IMAGE_SECTION_HEADER>(offset);
            if (!section) return "section table cut short";
            sections_.push_back(*section);
        }
        return {};
    }

    const IMAGE_DATA_DIRECTORY& directory(int index) const { return directories_[index]; }

private:
    const std::string& bytes_;
    IMAGE_DATA_DIRECTORY directories_[IMAGE_NUMBEROF_DIRECTORY_ENTRIES]{};
    std::vector<IMAGE_SECTION_HEADER> sections_;
};

// Walks a table of descriptors until the all-zero one; nameOf gives a descriptor's name address.
template <class Descriptor, class NameOf>
std::string readNames(const Image& image, DWORD tableRva, NameOf nameOf, std::vector<std::string>& names) {
    if (tableRva == 0) return {};
    for (DWORD rva = tableRva;; rva += sizeof(Descriptor)) {
        auto offset = image.offsetOf(rva);
        if (!offset) return "import table outside every section";
        auto d = image.at<Descriptor>(*offset);
        if (!d) return "import table cut short";
        const DWORD nameRva = nameOf(*d);
        if (nameRva == 0) return {};
        auto name = image.stringAt(nameRva);
        if (!name) return "DLL name outside every section";
        names.push_back(*name);
        if (names.size() > 4096) return "import table does not end";
    }
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

PeImports readImports(const std::string& bytes) {
    PeImports result;
    Image image(bytes);
    result.problem = image.load();
    if (result.problem.empty())
        result.problem = readNames<IMAGE_IMPORT_DESCRIPTOR>(
            image, image.directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress,
            [](const IMAGE_IMPORT_DESCRIPTOR& d) { return d.Name; }, result.dlls);
    if (result.problem.empty())
        result.problem = readNames<IMAGE_DELAYLOAD_DESCRIPTOR>(
            image, image.directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).VirtualAddress,
            [](const IMAGE_DELAYLOAD_DESCRIPTOR& d) { return d.DllNameRVA; }, result.delayed);
    result.ok = result.problem.empty();
    return result;
}

PeImports readImportsOfFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        PeImports result;
        result.problem = "cannot open " + file.string();
        return result;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return readImports(bytes);
}

bool isSystemDll(const std::string& name) {
    static const std::set<std::string> kSystemDlls = {
        "kernel32.dll", "user32.dll",   "gdi32.dll",  "comdlg32.dll", "comctl32.dll",
        "shell32.dll",  "advapi32.dll", "msvcrt.dll", "ole32.dll",
    };
    const std::string n = lower(name);
    return kSystemDlls.count(n) ||
           (n.rfind("api-ms-win-", 0) == 0 && n.find_first_of("\\/:") == std::string::npos);
}

}  // namespace pe
