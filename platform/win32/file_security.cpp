// Carrying what a file has beyond its bytes to another file: access list, creation time,
// attributes, owner and group. Each raises the system's error when it cannot be done, but for an
// owner this account may not give.
#include <windows.h>
#include <aclapi.h>

#include <functional>
#include <vector>

#include "platform/win32/errors.h"
#include "platform/win32/files.h"
#include "platform/win32/owned.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

// The attributes a file carries of its own choosing; the others (compressed, encrypted, sparse)
// are the system's and cannot be set this way.
constexpr DWORD kCarriedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

using Descriptor = OwnedLocal<PSECURITY_DESCRIPTOR>;

OwnedHandle openFile(const platform::Text& path, DWORD access) {
    OwnedHandle handle(CreateFileW(wide(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle) throwLastError();
    return handle;
}

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

// Enables the restore privilege in this process's token where the account holds it; where it
// does not, nothing changes and setting another owner fails as it would have.
void enableRestorePrivilege() {
    OwnedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.put())) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_RESTORE_NAME, &privileges.Privileges[0].Luid)) return;
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

}  // namespace

// A protected list is copied whole. An unprotected one is given without its inherited entries,
// and the system adds what the folder passes on, so they stay inherited rather than become the
// file's own (both files are in one folder, so the same entries come back).
void FileSystem::copyAccessList(const platform::Text& from, const platform::Text& to) {
    Descriptor read;
    PACL acl = nullptr;
    check(GetNamedSecurityInfoW(wide(from), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                                nullptr, read.put()));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorControl(read.get(), &control, &revision)) throwLastError();
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
void FileSystem::copyCreationTime(const platform::Text& from, const platform::Text& to) {
    FILETIME created{};
    if (!GetFileTime(openFile(from, FILE_READ_ATTRIBUTES).get(), &created, nullptr, nullptr))
        throwLastError();
    const OwnedHandle destination = openFile(to, FILE_WRITE_ATTRIBUTES);
    if (!SetFileTime(destination.get(), &created, nullptr, nullptr)) throwLastError();
}

void FileSystem::copyAttributes(const platform::Text& from, const platform::Text& to) {
    const DWORD source = GetFileAttributesW(wide(from));
    if (source == INVALID_FILE_ATTRIBUTES) throwLastError();
    const DWORD carried = source & kCarriedAttributes;
    if (!SetFileAttributesW(wide(to), carried ? carried : FILE_ATTRIBUTE_NORMAL)) throwLastError();
}

// Giving a file another account as its owner takes the restore privilege, which administrators
// and backup operators hold but have disabled until a program asks for it. The usual user of a
// shared folder holds none, and the repaired file then keeps the owner the system gave it (the
// user who ran the repair): its access list, carried before, is what lets colleagues in, and
// that refusal is no news to report on every repair. Any other refusal is reported as it is.
void FileSystem::copyOwner(const platform::Text& from, const platform::Text& to) {
    Descriptor read;
    PSID owner = nullptr;
    PSID group = nullptr;
    check(GetNamedSecurityInfoW(wide(from), SE_FILE_OBJECT,
                                OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION, &owner, &group,
                                nullptr, nullptr, read.put()));
    enableRestorePrivilege();
    wchar_t* const target = const_cast<wchar_t*>(wide(to));
    check(setOwnerAndGroup([&](SECURITY_INFORMATION which) {
        return SetNamedSecurityInfoW(target, SE_FILE_OBJECT, which, owner, group, nullptr, nullptr);
    }));
}

DWORD setOwnerAndGroup(const std::function<DWORD(SECURITY_INFORMATION which)>& set) {
    const DWORD result = set(OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION);
    return result == ERROR_INVALID_OWNER ? set(GROUP_SECURITY_INFORMATION) : result;
}

}  // namespace win32
