// RegistryKey against the real registry: every test works below a key of
// its own under HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE, removed afterwards.
#include "config/registry_key.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

#include "support/registry_test_support.h"

using namespace registry_test;

namespace {

class RegistryKeyTest : public testing::Test {
protected:
    ScopedTestKey machine_{HKEY_LOCAL_MACHINE, TestKeyPath()};
    ScopedTestKey user_{HKEY_CURRENT_USER, TestKeyPath()};
    const std::wstring& base() const { return machine_.Path(); }
};

TEST_F(RegistryKeyTest, OpenCreatesMissingKeysAndLeavesThemInPlace)
{
    struct Case {
        HKEY root;
        std::wstring subPath;
    } cases[] = {
        {HKEY_LOCAL_MACHINE, L"Product"},
        {HKEY_LOCAL_MACHINE, L"Several\\Levels\\Deep"},
        {HKEY_CURRENT_USER, L"Product"},
    };
    for (const Case& c : cases) {
        std::wstring path = base() + L"\\" + c.subPath;
        SCOPED_TRACE(testing::Message() << (c.root == HKEY_CURRENT_USER ? "HKCU\\" : "HKLM\\")
                                        << std::string(path.begin(), path.end()));
        ASSERT_FALSE(KeyExists(c.root, path));
        {
            RegistryKey key(c.root, path);
            EXPECT_TRUE(key.CanRead());
            EXPECT_TRUE(key.CanWrite());
            EXPECT_EQ(key.Path(), path);
        }
        // A reader leaves the key it read from in existence.
        EXPECT_TRUE(KeyExists(c.root, path));
    }
}

TEST_F(RegistryKeyTest, OpenKeepsWhatAnExistingKeyHolds)
{
    std::wstring path = base() + L"\\Existing";
    ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, path, L"exe", REG_SZ, TextBytes(std::wstring(L"C:\\x.exe", 9))),
              ERROR_SUCCESS);
    ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, path + L"\\1031", L"", REG_SZ, {}), ERROR_SUCCESS);

    RegistryKey key(HKEY_LOCAL_MACHINE, path);
    EXPECT_TRUE(key.CanWrite());
    EXPECT_EQ(key.QueryString(L"EXE"), L"C:\\x.exe");  // names are case-insensitive
    std::vector<std::wstring> subkeys;
    key.EnumerateSubkeys(subkeys);
    EXPECT_EQ(subkeys, std::vector<std::wstring>{L"1031"});
}

TEST_F(RegistryKeyTest, KeyThatRefusesWritingIsOpenedForReadingOnly)
{
    std::wstring path = base() + L"\\ReadOnly";
    ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, path, L"Version", REG_SZ, TextBytes(std::wstring(L"1.2.3.4", 8))),
              ERROR_SUCCESS);

    // Allow everyone KEY_READ and nothing else, through a handle that stays
    // open to put the original security back.
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &raw), ERROR_SUCCESS);
    struct SecurityRestore {
        UniqueRegistryKey key;
        std::vector<BYTE> original;
        ~SecurityRestore()
        {
            if (!original.empty())
                RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, original.data());
        }
    } restore{UniqueRegistryKey(raw), {}};
    DWORD sdSize = 0;
    ASSERT_EQ(RegGetKeySecurity(raw, DACL_SECURITY_INFORMATION, nullptr, &sdSize), ERROR_INSUFFICIENT_BUFFER);
    std::vector<BYTE> original(sdSize);
    ASSERT_EQ(RegGetKeySecurity(raw, DACL_SECURITY_INFORMATION, original.data(), &sdSize), ERROR_SUCCESS);
    restore.original = original;

    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof everyone;
    ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize));
    BYTE aclBuffer[256];
    PACL acl = reinterpret_cast<PACL>(aclBuffer);
    ASSERT_TRUE(InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION));
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone));
    SECURITY_DESCRIPTOR readOnly;
    ASSERT_TRUE(InitializeSecurityDescriptor(&readOnly, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&readOnly, TRUE, acl, FALSE));
    ASSERT_EQ(RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, &readOnly), ERROR_SUCCESS);

    {
        RegistryKey key(HKEY_LOCAL_MACHINE, path);
        EXPECT_TRUE(key.CanRead());
        EXPECT_FALSE(key.CanWrite());
        EXPECT_EQ(key.QueryString(L"Version"), L"1.2.3.4");
        EXPECT_EQ(key.SetString(L"Version", L"9.9.9.9"), ERROR_CANTWRITE);
        EXPECT_EQ(key.SetNumber(L"Major", 14), ERROR_CANTWRITE);
    }
    ASSERT_EQ(RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, original.data()), ERROR_SUCCESS);
    EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, path, L"Version")->bytes, TextBytes(std::wstring(L"1.2.3.4", 8)));
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, path, L"Major"));
}

TEST_F(RegistryKeyTest, KeyThatCanNeitherBeCreatedNorOpenedFailsQuietly)
{
    // The registry refuses a lasting key below a volatile one.
    std::wstring volatilePath = base() + L"\\Volatile";
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, volatilePath.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    UniqueRegistryKey volatileKey(raw);
    std::wstring path = volatilePath + L"\\Child";

    RegistryKey key(HKEY_LOCAL_MACHINE, path);
    EXPECT_FALSE(key.CanRead());
    EXPECT_FALSE(key.CanWrite());
    EXPECT_FALSE(key.QueryValue(L"exe"));
    EXPECT_FALSE(key.QueryString(L"exe"));
    EXPECT_FALSE(key.QueryNumber(L"InitialLangID"));
    EXPECT_EQ(key.SetString(L"exe", L"C:\\x.exe"), ERROR_CANTWRITE);
    EXPECT_EQ(key.SetNumber(L"InitialLangID", 1031), ERROR_CANTWRITE);
    std::vector<std::wstring> names{L"kept"};
    key.EnumerateSubkeys(names);
    EXPECT_EQ(names, std::vector<std::wstring>{L"kept"});
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, path));
}

TEST_F(RegistryKeyTest, ReadOnlyOpenNeverCreatesAKey)
{
    std::wstring missing = base() + L"\\Vendor";
    {
        RegistryKey key(HKEY_LOCAL_MACHINE, missing, RegistryOpen::ReadOnly);
        EXPECT_FALSE(key.CanRead());
        EXPECT_FALSE(key.QueryString(L"Version"));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, missing));

    ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, missing, L"Major", REG_DWORD, NumberBytes(14)), ERROR_SUCCESS);
    RegistryKey key(HKEY_LOCAL_MACHINE, missing, RegistryOpen::ReadOnly);
    EXPECT_TRUE(key.CanRead());
    EXPECT_FALSE(key.CanWrite());
    EXPECT_EQ(key.QueryNumber(L"Major"), 14u);
    EXPECT_EQ(key.SetNumber(L"Major", 15), ERROR_CANTWRITE);
}

TEST_F(RegistryKeyTest, QueryValueOfMissingOrEmptyValues)
{
    std::wstring path = base() + L"\\Values";
    ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, path, L"Empty", REG_SZ, {}), ERROR_SUCCESS);
    RegistryKey key(HKEY_LOCAL_MACHINE, path);

    EXPECT_FALSE(key.QueryValue(L"Missing"));
    EXPECT_FALSE(key.QueryString(L"Missing"));
    EXPECT_FALSE(key.QueryNumber(L"Missing"));

    // A value without data exists: an empty buffer, an empty text.
    std::optional<RegistryData> empty = key.QueryValue(L"Empty");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    EXPECT_EQ(key.QueryString(L"Empty"), L"");
}

TEST_F(RegistryKeyTest, StringDataIsTerminatedBeforeUse)
{
    // Raw data as other software may have stored it; the buffer holds exactly
    // the stored bytes and the text never runs past them.
    std::vector<BYTE> abc = TextBytes(L"abc");
    std::vector<BYTE> abcTerminated = TextBytes(std::wstring(L"abc", 4));
    std::vector<BYTE> abcOddByte = abc;
    abcOddByte.push_back('d');
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> bytes;
        std::wstring text;
    } cases[] = {
        {"terminated", REG_SZ, abcTerminated, L"abc"},
        {"no terminating zero", REG_SZ, abc, L"abc"},
        {"odd byte count", REG_SZ, abcOddByte, L"abc"},
        {"zero inside", REG_SZ, TextBytes(std::wstring(L"ab\0cd\0", 6)), L"ab"},
        {"expandable, unterminated", REG_EXPAND_SZ, TextBytes(L"%TEMP%\\x"), L"%TEMP%\\x"},
        {"binary holding text", REG_BINARY, TextBytes(L"1.2"), L"1.2"},
    };
    std::wstring path = base() + L"\\Strings";
    for (const Case& c : cases)
        ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, path, std::wstring(c.what, c.what + strlen(c.what)), c.type, c.bytes),
                  ERROR_SUCCESS);

    RegistryKey key(HKEY_LOCAL_MACHINE, path);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring name(c.what, c.what + strlen(c.what));
        EXPECT_EQ(key.QueryValue(name), c.bytes);
        std::optional<std::wstring> text = key.QueryString(name);
        ASSERT_TRUE(text);
        EXPECT_EQ(*text, c.text);
        EXPECT_EQ(text->size(), c.text.size());
    }
}

TEST_F(RegistryKeyTest, SetStringStoresTheTextWithItsTerminatingZero)
{
    std::wstring path = base() + L"\\Written";
    RegistryKey key(HKEY_LOCAL_MACHINE, path);
    const std::wstring texts[] = {
        L"",
        L"C:\\Program Files\\ZYL Systems\\",
        L"Fran\u00e7ais \u65e5\u672c\u8a9e",
        std::wstring(300, L'x'),
    };
    for (const std::wstring& text : texts) {
        SCOPED_TRACE(testing::Message() << "length " << text.size());
        ASSERT_EQ(key.SetString(L"InstallDir", text), ERROR_SUCCESS);
        std::optional<RawValue> stored = ReadRaw(HKEY_LOCAL_MACHINE, path, L"InstallDir");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored->bytes.size(), (text.size() + 1) * 2);
        EXPECT_EQ(stored->bytes, TextBytes(std::wstring(text.c_str(), text.size() + 1)));
        EXPECT_EQ(key.QueryString(L"InstallDir"), text);
    }
}

TEST_F(RegistryKeyTest, SetNumberStoresFourByteNumbers)
{
    std::wstring path = base() + L"\\Numbers";
    RegistryKey key(HKEY_LOCAL_MACHINE, path);
    // A string value of the same name is replaced, type included.
    ASSERT_EQ(key.SetString(L"InitialLangID", L"1036"), ERROR_SUCCESS);
    for (uint32_t number : {1036u, 0u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(number);
        ASSERT_EQ(key.SetNumber(L"InitialLangID", number), ERROR_SUCCESS);
        std::optional<RawValue> stored = ReadRaw(HKEY_LOCAL_MACHINE, path, L"InitialLangID");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(stored->bytes, NumberBytes(number));
        EXPECT_EQ(key.QueryNumber(L"InitialLangID"), number);
    }
}

TEST_F(RegistryKeyTest, QueryNumberReadsFourBytesWhateverTheType)
{
    struct Case {
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> bytes;
        std::optional<uint32_t> number;
    } cases[] = {
        {L"dword", REG_DWORD, NumberBytes(1036), 1036u},
        {L"string of four bytes", REG_SZ, NumberBytes(1036), 1036u},
        {L"binary of four bytes", REG_BINARY, NumberBytes(2052), 2052u},
        {L"text of a number", REG_SZ, TextBytes(std::wstring(L"1036", 5)), std::nullopt},
        {L"two bytes", REG_BINARY, {0x0C, 0x04}, std::nullopt},
        {L"no bytes", REG_DWORD, {}, std::nullopt},
        {L"qword", REG_QWORD, {0x0C, 0x04, 0, 0, 0, 0, 0, 0}, std::nullopt},
    };
    std::wstring path = base() + L"\\Numbers";
    for (const Case& c : cases)
        ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, path, c.name, c.type, c.bytes), ERROR_SUCCESS);
    RegistryKey key(HKEY_LOCAL_MACHINE, path);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        EXPECT_EQ(key.QueryNumber(c.name), c.number);
    }
}

TEST_F(RegistryKeyTest, EnumerateSubkeysAppendsInRegistryOrder)
{
    std::wstring path = base() + L"\\Packs";
    const std::wstring longest(255, L'k');  // the longest name a key may have
    for (const std::wstring& name : {std::wstring(L"b"), std::wstring(L"C"), std::wstring(L"a"),
                                     std::wstring(L"9"), std::wstring(L"10"), longest})
        ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, path + L"\\" + name, L"", REG_SZ, {}), ERROR_SUCCESS);

    RegistryKey key(HKEY_CURRENT_USER, path);
    std::vector<std::wstring> names{L"already there"};
    key.EnumerateSubkeys(names);
    // The registry enumerates subkeys sorted by name, ignoring case.
    std::vector<std::wstring> expected{L"already there", L"10", L"9", L"a", L"b", L"C", longest};
    EXPECT_EQ(names, expected);

    RegistryKey leaf(HKEY_CURRENT_USER, path + L"\\a");
    std::vector<std::wstring> none;
    leaf.EnumerateSubkeys(none);
    EXPECT_TRUE(none.empty());
}

}  // namespace
