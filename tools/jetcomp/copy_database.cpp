// How the copy is kept safe:
// - the source is opened for reading, sharing reading only: nothing can write to it while it is
//   copied, and a database that someone holds open for writing is refused (error 32);
// - the copy is written to "<destination>.~jetcomp-<pid>.tmp" in the destination's folder,
//   created with CREATE_NEW so no file of the user's is ever opened, and marked for deletion on
//   close until it is complete, so it vanishes even when this process is killed midway;
// - once flushed it is renamed with MoveFileExW without MOVEFILE_REPLACE_EXISTING, so a
//   destination that appeared in the meantime is left alone and the copy is deleted instead.
// A kill can still strand the partial file in two gaps of a few instructions each: between
// creating it and marking it, and between unmarking it and the rename.
#include "copy_database.h"

#include <windows.h>

#include <memory>
#include <string>

#include "exit_codes.h"
#include "platform/win32/owned.h"
#include "signature.h"

namespace jetcomp {
namespace {

constexpr DWORD kBlockSize = 1u << 20;  // memory stays flat whatever the database's size

// The system's text for an error, on one line (it is in the system's language).
std::wstring systemText(DWORD code) {
    win32::OwnedLocal<wchar_t*> text;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
    std::wstring result = length != 0 ? std::wstring(text.get(), length) : std::wstring();
    for (wchar_t& c : result)
        if (c == L'\r' || c == L'\n') c = L' ';
    while (!result.empty() && result.back() == L' ') result.pop_back();
    return result;
}

std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

CopyOutcome refused(int exitCode, std::wstring reason) { return {exitCode, std::move(reason), 0}; }

CopyOutcome failed(int exitCode, const std::wstring& what, DWORD error) {
    std::wstring reason = what + L" (error " + std::to_wstring(error);
    const std::wstring text = systemText(error);
    if (!text.empty()) reason += L": " + text;
    return {exitCode, reason + L")", 0};
}

// Fills the buffer up to capacity or to the end of the file; got tells how far.
DWORD readBlock(HANDLE file, unsigned char* buffer, DWORD capacity, DWORD& got) {
    got = 0;
    while (got < capacity) {
        DWORD n = 0;
        if (!ReadFile(file, buffer + got, capacity - got, &n, nullptr)) return GetLastError();
        if (n == 0) break;
        got += n;
    }
    return ERROR_SUCCESS;
}

DWORD writeBlock(HANDLE file, const unsigned char* data, DWORD size) {
    while (size > 0) {
        DWORD n = 0;
        if (!WriteFile(file, data, size, &n, nullptr)) return GetLastError();
        if (n == 0) return ERROR_WRITE_FAULT;
        data += n;
        size -= n;
    }
    return ERROR_SUCCESS;
}

// The copy while it is being written, beside the destination. Unless renameTo succeeds, the
// file is gone once this object is.
class PartialCopy {
public:
    PartialCopy() = default;
    PartialCopy(const PartialCopy&) = delete;
    PartialCopy& operator=(const PartialCopy&) = delete;
    ~PartialCopy() {
        file_.reset();  // a file still marked for deletion goes here
        if (!name_.empty() && !kept_) DeleteFileW(name_.c_str());
    }

    DWORD create(const std::wstring& destination) {
        const std::wstring base = destination + L".~jetcomp-" + std::to_wstring(GetCurrentProcessId());
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::wstring name = base + (attempt == 0 ? L"" : L"-" + std::to_wstring(attempt)) + L".tmp";
            file_.reset(CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file_) {
                const DWORD error = GetLastError();
                if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;  // not ours
                return error;
            }
            name_ = std::move(name);  // only a file this run created is ever deleted by name
            // Where the file system cannot mark it, the destructor still deletes it by name.
            marked_ = markForDeletion(true);
            return ERROR_SUCCESS;
        }
        return ERROR_FILE_EXISTS;
    }

    HANDLE handle() const { return file_.get(); }
    const std::wstring& name() const { return name_; }

    // Flushes and closes the complete copy, no longer marked for deletion.
    DWORD finish() {
        if (!FlushFileBuffers(file_.get())) return GetLastError();
        if (marked_ && !markForDeletion(false)) return GetLastError();
        marked_ = false;
        if (!file_.close()) return GetLastError();
        return ERROR_SUCCESS;
    }

    DWORD renameTo(const std::wstring& destination) {
        // Never replaces: MOVEFILE_REPLACE_EXISTING is deliberately absent.
        if (!MoveFileExW(name_.c_str(), destination.c_str(), MOVEFILE_WRITE_THROUGH)) return GetLastError();
        kept_ = true;
        return ERROR_SUCCESS;
    }

private:
    bool markForDeletion(bool on) {
        FILE_DISPOSITION_INFO info{BOOLEAN(on ? TRUE : FALSE)};
        return SetFileInformationByHandle(file_.get(), FileDispositionInfo, &info, sizeof info) != 0;
    }

    win32::OwnedHandle file_;
    std::wstring name_;
    bool marked_ = false;
    bool kept_ = false;
};

}  // namespace

CopyOutcome copyDatabase(const std::wstring& source, const std::wstring& destination) {
    const win32::OwnedHandle in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in) return failed(kExitIoFailure, L"cannot open the source " + quoted(source), GetLastError());

    const std::unique_ptr<unsigned char[]> buffer(new unsigned char[kBlockSize]);
    DWORD got = 0;
    if (const DWORD error = readBlock(in.get(), buffer.get(), kBlockSize, got))
        return failed(kExitIoFailure, L"cannot read the source " + quoted(source), error);
    if (!hasDatabaseSignature(buffer.get(), got)) {
        if (got < kSignatureEnd)
            return refused(kExitNotDatabase, quoted(source) + L" is too short to be a Jet or ACE database (" +
                                                 std::to_wstring(got) + L" bytes)");
        return refused(kExitNotDatabase, quoted(source) +
                                             L" is not a Jet or ACE database (no \"Standard Jet DB\""
                                             L" or \"Standard ACE DB\" at byte 4)");
    }

    if (GetFileAttributesW(destination.c_str()) != INVALID_FILE_ATTRIBUTES)
        return refused(kExitDestinationExists,
                       L"the destination " + quoted(destination) + L" already exists; it is left as it is");

    PartialCopy copy;
    if (const DWORD error = copy.create(destination))
        return failed(kExitIoFailure, L"cannot create a file beside the destination " + quoted(destination),
                      error);

    unsigned long long total = 0;
    for (;;) {
        if (const DWORD error = writeBlock(copy.handle(), buffer.get(), got))
            return failed(kExitIoFailure, L"cannot write " + quoted(copy.name()), error);
        total += got;
        if (got < kBlockSize) break;  // readBlock only stops short at the end of the file
        if (const DWORD error = readBlock(in.get(), buffer.get(), kBlockSize, got))
            return failed(kExitIoFailure, L"cannot read the source " + quoted(source), error);
    }

    if (const DWORD error = copy.finish())
        return failed(kExitIoFailure, L"cannot finish writing " + quoted(copy.name()), error);
    if (const DWORD error = copy.renameTo(destination)) {
        const bool taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        return failed(taken ? kExitDestinationExists : kExitIoFailure,
                      L"cannot rename " + quoted(copy.name()) + L" to " + quoted(destination), error);
    }
    return {kExitCopied, {}, total};
}

}  // namespace jetcomp
