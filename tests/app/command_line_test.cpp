// The option parse, over the real application object's option table.
#include <gtest/gtest.h>

#include "app/installer_app.h"

namespace {

struct Flags {
    int silent, skip, launch;
    const wchar_t* language;
    int quiet = 0;
    int logRequested = 0;
    const wchar_t* logPath = L"";
};

struct Case {
    const char* what;
    std::vector<std::wstring> arguments;
    Flags expected;
};

const Case kCases[] = {
    {"no options", {L"C:\\setup.exe"}, {0, 0, 0, L""}},
    {"silent", {L"setup.exe", L"/s"}, {1, 0, 0, L""}},
    {"options are case-insensitive", {L"setup.exe", L"/S", L"/N", L"/L"}, {1, 1, 1, L""}},
    {"language value", {L"setup.exe", L"/lang", L"1031"}, {0, 0, 0, L"1031"}},
    {"language value keeps its case", {L"setup.exe", L"/LANG", L"De-x"}, {0, 0, 0, L"De-x"}},
    {"language as last argument", {L"setup.exe", L"/lang"}, {0, 0, 0, L""}},
    {"empty language value", {L"setup.exe", L"/lang", L""}, {0, 0, 0, L""}},
    {"value beginning with a backslash", {L"setup.exe", L"/lang", L"\\1031"}, {0, 0, 0, L""}},
    {"value is examined as an option too", {L"setup.exe", L"/lang", L"/s"}, {1, 0, 0, L"/s"}},
    {"value of a flag is ignored", {L"setup.exe", L"/s", L"1"}, {1, 0, 0, L""}},
    {"unknown arguments change nothing", {L"setup.exe", L"/x", L"file.txt", L"-s", L"s"}, {0, 0, 0, L""}},
    {"options must match whole", {L"setup.exe", L"/silent", L"/s ", L"/language"}, {0, 0, 0, L""}},
    {"the executable's own path is examined", {L"/l"}, {0, 0, 1, L""}},
    {"the last language wins", {L"setup.exe", L"/lang", L"1031", L"/lang", L"1036"}, {0, 0, 0, L"1036"}},
    {"language followed by an option keeps it", {L"setup.exe", L"/lang", L"/L"}, {0, 0, 1, L"/L"}},
    {"quiet is silent too", {L"setup.exe", L"/QUIET"}, {1, 0, 0, L"", 1}},
    {"silent alone is not quiet", {L"setup.exe", L"/s", L"/n"}, {1, 1, 0, L"", 0}},
    {"quiet must match whole", {L"setup.exe", L"/q", L"/quiet:yes"}, {0, 0, 0, L""}},
    {"log path", {L"setup.exe", L"/log", L"C:\\Logs\\Setup Run.log"}, {0, 0, 0, L"", 0, 1, L"C:\\Logs\\Setup Run.log"}},
    {"log path keeps its case", {L"setup.exe", L"/LOG", L"D:\\MiXeD.LOG", L"/quiet"},
     {1, 0, 0, L"", 1, 1, L"D:\\MiXeD.LOG"}},
    {"log without a path is still asked for", {L"setup.exe", L"/quiet", L"/log"}, {1, 0, 0, L"", 1, 1, L""}},
    {"log followed by an option", {L"setup.exe", L"/log", L"/s"}, {1, 0, 0, L"", 0, 1, L"/s"}},
};

TEST(CommandLine, OptionTable)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        RunFlags app;
        ParseCommandLine(c.arguments, BuildOptionTable(app));
        EXPECT_EQ(app.silentMode, c.expected.silent);
        EXPECT_EQ(app.skipSelfUpdate, c.expected.skip);
        EXPECT_EQ(app.launchAfterInstall, c.expected.launch);
        EXPECT_EQ(app.requestedLanguage, c.expected.language);
        EXPECT_EQ(app.quietMode, c.expected.quiet);
        EXPECT_EQ(app.logRequested, c.expected.logRequested);
        EXPECT_EQ(app.logPath, c.expected.logPath);
        EXPECT_EQ(app.existingInstall, 0);
    }
}

TEST(CommandLine, ValueIsTheNextArgumentUnchanged)
{
    std::vector<std::wstring> seen;
    OptionTable table{{"/v", [&](const std::wstring& value) { seen.push_back(value); }}};
    ParseCommandLine({L"x", L"/V", L"MiXeD \u00e9", L"/v"}, table);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], L"MiXeD \u00e9");
    EXPECT_EQ(seen[1], L"");
}

}  // namespace
