#include "base/file_trust.h"

#include <aclapi.h>
#include <sddl.h>

namespace {

constexpr ACCESS_MASK kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                      FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

bool IsAdministrative(PSID sid)
{
    if (IsWellKnownSid(sid, WinLocalSystemSid) || IsWellKnownSid(sid, WinBuiltinAdministratorsSid))
        return true;
    // NT SERVICE\TrustedInstaller, owner of the system's own files.
    PSID trustedInstaller = nullptr;
    if (!ConvertStringSidToSidW(L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
                                &trustedInstaller))
        return false;
    bool same = EqualSid(sid, trustedInstaller);
    LocalFree(trustedInstaller);
    return same;
}

bool ObjectLetsNonAdministratorsWrite(const std::wstring& path)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &sd) != ERROR_SUCCESS)
        return true;
    bool writable = AccessListLetsNonAdministratorsWrite(dacl);
    LocalFree(sd);
    return writable;
}

}  // namespace

bool AccessListLetsNonAdministratorsWrite(const ACL* dacl)
{
    if (!dacl)
        return true;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(const_cast<ACL*>(dacl), i, &entry))
            return true;
        const ACE_HEADER* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        const ACCESS_ALLOWED_ACE* ace = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        PSID sid = const_cast<DWORD*>(&ace->SidStart);
        if ((ace->Mask & kChangeRights) && !IsAdministrative(sid))
            return true;
    }
    return false;
}

bool IsWritableByNonAdministrators(const std::wstring& path)
{
    if (ObjectLetsNonAdministratorsWrite(path))
        return true;
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return true;
    std::wstring folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':')
        folder += L'\\';
    return ObjectLetsNonAdministratorsWrite(folder);
}
