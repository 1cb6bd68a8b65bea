#include "i18n/region_check.h"

#include <cwchar>
#include <string>
#include <string_view>

#include "config/registry_key.h"

namespace {

struct Region {
    long geoId;
    std::wstring_view country;
};

constexpr Region kExplicitAcceptanceRegions[] = {
    {122, L"Japan"},       {39, L"Canada"},       {14, L"Austria"},      {21, L"Belgium"},
    {35, L"Bulgaria"},     {108, L"Croatia"},     {59, L"Cyprus"},       {75, L"Czechia"},
    {61, L"Denmark"},      {70, L"Estonia"},      {77, L"Finland"},      {84, L"France"},
    {94, L"Germany"},      {98, L"Greece"},       {109, L"Hungary"},     {68, L"Ireland"},
    {118, L"Italy"},       {140, L"Latvia"},      {141, L"Lithuania"},   {147, L"Luxembourg"},
    {163, L"Malta"},       {176, L"Netherlands"}, {191, L"Poland"},      {193, L"Portugal"},
    {200, L"Romania"},     {143, L"Slovakia"},    {212, L"Slovenia"},    {217, L"Spain"},
    {221, L"Sweden"},      {242, L"United Kingdom"},
};

}  // namespace

bool IsExplicitAcceptanceRegion()
{
    // A missing or unreadable value reads as 0, which is no region of the
    // list: the licence box then starts ticked.
    RegistryKey geo(HKEY_CURRENT_USER, L"Control Panel\\International\\Geo");
    std::wstring nation = geo.QueryString(L"Nation").value_or(std::wstring());
    // As wcstol reads it: leading blanks and a sign, digits up to the
    // first non-digit; no digits give 0.
    long geoId = std::wcstol(nation.c_str(), nullptr, 10);
    for (const Region& region : kExplicitAcceptanceRegions)
        if (region.geoId == geoId)
            return true;
    return false;
}
