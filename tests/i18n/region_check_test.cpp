// IsExplicitAcceptanceRegion against the user's real country setting,
// saved before and put back after each case.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "i18n/region_check.h"
#include "i18n_test_support.h"

using namespace i18n_testing;

namespace {

constexpr wchar_t kGeoKey[] = L"Control Panel\\International\\Geo";

struct NationCase {
    const wchar_t* nation;  // REG_SZ data
    bool expected;
};

// The countries where the licence is accepted explicitly: Japan, Canada,
// the member states of the European Union and the United Kingdom.
const long kListed[] = {122, 39,  14,  21,  35,  108, 59,  75,  61,  70,  77,  84,  94,  98,  109,
                        68,  118, 140, 141, 147, 163, 176, 191, 193, 200, 143, 212, 217, 221, 242};

// How the text of the value is read.
const NationCase kNationCases[] = {
    {L" 122", true},         // leading blank
    {L"+84", true},          // sign
    {L"94abc", true},        // digits up to the first non-digit
    {L"0242", true},
    {L"-94", false},
    {L"", false},
    {L"abc", false},
    {L"4294967390", false},  // 2^32 + 94: out of range, not Germany
};

class RegionCheck : public ::testing::Test {
protected:
    SavedRegistryValue nation{HKEY_CURRENT_USER, kGeoKey, L"Nation"};
};

TEST_F(RegionCheck, TrueForTheListedGeoIdsOnly)
{
    for (long geoId = 0; geoId <= 300; ++geoId) {
        bool listed = std::find(std::begin(kListed), std::end(kListed), geoId) != std::end(kListed);
        SCOPED_TRACE(testing::Message() << "Nation " << geoId);
        ASSERT_TRUE(nation.SetString(std::to_wstring(geoId)));
        EXPECT_EQ(IsExplicitAcceptanceRegion(), listed);
    }
}

TEST_F(RegionCheck, ReadsTheValueAsWcstolDoes)
{
    for (const NationCase& c : kNationCases) {
        SCOPED_TRACE(testing::Message() << "Nation \"" << std::wstring(c.nation) << "\"");
        ASSERT_TRUE(nation.SetString(c.nation));
        EXPECT_EQ(IsExplicitAcceptanceRegion(), c.expected);
    }
}

TEST_F(RegionCheck, MissingOrOddValuesCountAsOutsideTheList)
{
    nation.Delete();
    EXPECT_FALSE(IsExplicitAcceptanceRegion()) << "missing";
    // A number, read as text: its bytes are no digits.
    ASSERT_TRUE(nation.SetNumber(94));
    EXPECT_FALSE(IsExplicitAcceptanceRegion()) << "REG_DWORD";
}

TEST_F(RegionCheck, ReadsAValueStoredWithoutItsTerminatingZero)
{
    for (const NationCase& c : {NationCase{L"94", true}, NationCase{L"244", false}, NationCase{L"1", false}}) {
        SCOPED_TRACE(c.nation);
        ASSERT_TRUE(nation.SetString(c.nation, /*terminated=*/false));
        EXPECT_EQ(IsExplicitAcceptanceRegion(), c.expected);
    }
}

}  // namespace
