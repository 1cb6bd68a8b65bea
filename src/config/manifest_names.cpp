#include "config/manifest_names.h"

#include <cwctype>

namespace {

std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

bool IsDeviceName(const std::wstring& name)
{
    // The part before the first dot decides: "nul.txt" is the device too.
    std::wstring stem = Upper(name.substr(0, name.find(L'.')));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices) {
        if (stem == device)
            return true;
    }
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0))
        return stem[3] >= L'1' && stem[3] <= L'9';
    return false;
}

}  // namespace

bool IsBareFileName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L"..")
        return false;
    for (wchar_t c : name) {
        if (c < 32 || c == L'\\' || c == L'/' || c == L':' || c == L'<' || c == L'>' || c == L'"' || c == L'|' ||
            c == L'?' || c == L'*')
            return false;
    }
    if (name.back() == L'.' || name.back() == L' ')
        return false;
    return !IsDeviceName(name);
}

bool ManifestNamesSafe(const ProductManifest& manifest, std::wstring& bad)
{
    auto safe = [&bad](const std::wstring& name, const wchar_t* kind) {
        if (IsBareFileName(name))
            return true;
        bad = std::wstring(kind) + L" " + name;
        return false;
    };
    if (!safe(manifest.mainComponentName, L"main_component"))
        return false;
    for (const ManifestTransform& t : manifest.transforms) {
        if (!safe(t.name, L"transform"))
            return false;
    }
    for (const ManifestLanguagePack& p : manifest.languagePacks) {
        if (!safe(p.name, L"language_pack"))
            return false;
    }
    for (const ManifestDependency& d : manifest.dependencies) {
        if (!safe(d.name, L"dependency"))
            return false;
    }
    return true;
}
