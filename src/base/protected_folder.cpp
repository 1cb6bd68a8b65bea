#include "base/protected_folder.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

namespace {

struct LocalMemory {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ~LocalMemory() { LocalFree(descriptor); }
};

}  // namespace

bool EnsureProtectedFolder(const std::wstring& folder)
{
    LocalMemory sd;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedFolderSddl, SDDL_REVISION_1, &sd.descriptor,
                                                              nullptr))
        return false;
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        SECURITY_ATTRIBUTES security{sizeof security, sd.descriptor, FALSE};
        int created = SHCreateDirectoryExW(nullptr, folder.c_str(), &security);
        if (created != ERROR_SUCCESS) {
            SetLastError(static_cast<DWORD>(created));
            return false;
        }
        return true;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(sd.descriptor, &present, &dacl, &defaulted))
        return false;
    std::wstring path = folder;
    DWORD result = SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT,
                                         DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                         nullptr, dacl, nullptr);
    if (result != ERROR_SUCCESS) {
        SetLastError(result);
        return false;
    }
    return true;
}
