#include "platform/win32/file_security.h"

#include <windows.h>
#include <aclapi.h>

#include <vector>

#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

// The attributes a file carries of its own choosing; the others (compressed, encrypted, sparse)
// are the system's and cannot be set this way.
constexpr DWORD kCarriedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A security descriptor the system allocated, freed on every way out.
class Descriptor {
public:
    Descriptor() = default;
    ~Descriptor() { LocalFree(descriptor); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
};

class FileHandle {
public:
    FileHandle(const platform::Text& path, DWORD access)
        : handle_(CreateFileW(wide(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr)) {
        if (handle_ == INVALID_HANDLE_VALUE) throwLastError();
    }
    ~FileHandle() { CloseHandle(handle_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

void check(DWORD result) {
    if (result != ERROR_SUCCESS) throw systemError(result);
}

// The entries of `acl` that were set on the file itself, without those it inherited.
std::vector<DWORD> explicitEntries(const ACL& acl) {
    std::vector<ACE_HEADER*> kept;
    DWORD size = sizeof(ACL);
    for (DWORD i = 0; i < acl.AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(const_cast<ACL*>(&acl), i, &ace)) throwLastError();
        auto* header = static_cast<ACE_HEADER*>(ace);
        if (header->AceFlags & INHERITED_ACE) continue;
        kept.push_back(header);
        size += header->AceSize;
    }
    std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));  // aligned as an ACL must be
    auto* result = reinterpret_cast<ACL*>(storage.data());
    if (!InitializeAcl(result, size, acl.AclRevision)) throwLastError();
    for (ACE_HEADER* header : kept)
        if (!AddAce(result, acl.AclRevision, MAXDWORD, header, header->AceSize)) throwLastError();
    return storage;
}

}  // namespace

// A protected list is copied whole. An unprotected one is given without its inherited entries,
// and the system adds what the folder passes on, so they stay inherited rather than become the
// file's own (both files are in one folder, so the same entries come back).
void copyAccessList(const platform::Text& from, const platform::Text& to) {
    Descriptor read;
    PACL acl = nullptr;
    check(GetNamedSecurityInfoW(wide(from), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                                nullptr, &read.descriptor));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorControl(read.descriptor, &control, &revision)) throwLastError();
    const bool isProtected = (control & SE_DACL_PROTECTED) != 0;

    std::vector<DWORD> own;
    PACL given = acl;  // none: a null list, which lets everyone in, is carried as it is
    if (acl && !isProtected) {
        own = explicitEntries(*acl);
        given = reinterpret_cast<ACL*>(own.data());
    }
    const SECURITY_INFORMATION which =
        DACL_SECURITY_INFORMATION |
        (isProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
    wchar_t* const target = const_cast<wchar_t*>(wide(to));  // the call does not write to it
    check(SetNamedSecurityInfoW(target, SE_FILE_OBJECT, which, nullptr, nullptr, given, nullptr));
}

// Only the creation time: the repaired file was written now, and says so by its last write.
void copyCreationTime(const platform::Text& from, const platform::Text& to) {
    FILETIME created{};
    {
        const FileHandle source(from, FILE_READ_ATTRIBUTES);
        if (!GetFileTime(source.get(), &created, nullptr, nullptr)) throwLastError();
    }
    const FileHandle destination(to, FILE_WRITE_ATTRIBUTES);
    if (!SetFileTime(destination.get(), &created, nullptr, nullptr)) throwLastError();
}

void copyAttributes(const platform::Text& from, const platform::Text& to) {
    const DWORD source = GetFileAttributesW(wide(from));
    if (source == INVALID_FILE_ATTRIBUTES) throwLastError();
    const DWORD carried = source & kCarriedAttributes;
    if (!SetFileAttributesW(wide(to), carried ? carried : FILE_ATTRIBUTE_NORMAL)) throwLastError();
}

// Giving a file another user as its owner takes an administrator's privilege; the system's
// refusal is reported as it is.
void copyOwner(const platform::Text& from, const platform::Text& to) {
    Descriptor read;
    PSID owner = nullptr;
    PSID group = nullptr;
    const SECURITY_INFORMATION which = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION;
    check(GetNamedSecurityInfoW(wide(from), SE_FILE_OBJECT, which, &owner, &group, nullptr, nullptr,
                                &read.descriptor));
    wchar_t* const target = const_cast<wchar_t*>(wide(to));
    check(SetNamedSecurityInfoW(target, SE_FILE_OBJECT, which, owner, group, nullptr, nullptr));
}

}  // namespace win32
