// Starting the installed product as the desktop user: real programs of
// ours, started through the real desktop shell of the prefix. The program
// is the windowless held_recorder (a console program started by the shell
// would open a console window).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "base/debug_trace.h"
#include "base/desktop_launch.h"
#include "base/notifier.h"
#include "base/unique_handle.h"
#include "support/process_helpers.h"

using namespace testing_support;

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// What a file holds once something was written to it; empty at the deadline.
std::string WaitForContent(const std::wstring& path, DWORD timeoutMs = 20000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
        std::string bytes = ReadFileBytes(path);
        if (!bytes.empty())
            return bytes;
    }
    return {};
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs = 20000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
        if (FileExists(path))
            return true;
    }
    return false;
}

class DesktopLaunch : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetNotifyHandler([this](const std::wstring& text, const std::wstring&, UINT) {
            shown.push_back(text);
            return IDOK;
        });
        SetDebugTraceLogPath(temp / L"trace.log");
    }
    void TearDown() override
    {
        // The launcher says in its traces which road it took.
        std::string road = LaunchTraces();
        if (!road.empty())
            std::cout << "[ launch ] " << road;
        SetDebugTraceLogPath(L"");
        SetNotifyHandler({});
    }

    // A copy of a fixture program at `relative` under the temp folder.
    std::wstring Place(const wchar_t* fixture, const std::wstring& relative)
    {
        std::wstring path = temp / relative;
        size_t slash = relative.find_last_of(L'\\');
        if (slash != std::wstring::npos)
            CreateDirectoryW((temp / relative.substr(0, slash)).c_str(), nullptr);
        EXPECT_TRUE(CopyFileTo(BinaryDir() + L"\\" + fixture, path)) << Utf8(path);
        return path;
    }

    // The launcher's own trace lines.
    std::string LaunchTraces()
    {
        std::string log = ReadFileBytes(temp / L"trace.log"), lines;
        for (size_t start = 0, end; start < log.size(); start = end + 2) {
            end = std::min(log.find("\r\n", start), log.size());
            std::string line = log.substr(start, end - start);
            if (line.find("LaunchAsDesktopUser") != std::string::npos)
                lines += line + "\n";
        }
        return lines;
    }

    TempDir temp;
    std::vector<std::wstring> shown;
};

TEST_F(DesktopLaunch, StartsTheProgramWhosePathHasBlanks)
{
    std::wstring program = Place(L"held_recorder.exe", L"Pictora Maxora\\Pictora Maxora.exe");
    // What the path would start if its blanks split it.
    std::wstring decoy = Place(L"held_recorder.exe", L"Pictora.exe");

    LaunchInstalledProgram(program);

    std::string args = WaitForContent(program + L".args");
    ASSERT_FALSE(args.empty()) << "nothing started the program; decoy started: " << FileExists(decoy + L".args")
                               << "\n" << LaunchTraces();
    EXPECT_NE(Lower(args).find(Lower(Utf8(program))), std::string::npos) << args;
    EXPECT_FALSE(FileExists(decoy + L".args"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(DesktopLaunch, ReturnsWhileTheStartedProgramRunsAndHandsItsCreationOver)
{
    std::wstring program = Place(L"held_recorder.exe", L"Pictora Maxora\\Pictora.exe");
    std::wstring hold = program + L".hold";
    ASSERT_TRUE(WriteFileBytes(hold, ""));

    // The program cannot end before the hold is taken away below, so a call
    // that waited for it would not return here.
    UniqueHandle caller(CreateThread(
        nullptr, 0,
        [](void* path) -> DWORD {
            LaunchInstalledProgram(*static_cast<std::wstring*>(path));
            return 0;
        },
        &program, 0, nullptr));
    ASSERT_TRUE(caller);
    bool returned = WaitForSingleObject(caller.Get(), 20000) == WAIT_OBJECT_0;
    if (!returned) {
        DeleteFileW(hold.c_str());
        WaitForSingleObject(caller.Get(), 150000);
    }
    ASSERT_TRUE(returned) << "the call waited for the started program";

    std::string args = WaitForContent(program + L".args");
    ASSERT_FALSE(args.empty()) << "not started\n" << LaunchTraces();
    EXPECT_FALSE(FileExists(program + L".ended")) << "the program ended while it was held";
    // Created by the desktop shell, not as a child of the (elevated) caller.
    std::string parent = ReadFileBytes(program + L".parent");
    EXPECT_NE(parent, "0");
    EXPECT_NE(parent, std::to_string(GetCurrentProcessId())) << "the caller created the program itself";

    ASSERT_TRUE(DeleteFileW(hold.c_str()));
    EXPECT_TRUE(WaitForFile(program + L".ended")) << "the held program did not end";
    EXPECT_TRUE(shown.empty());
}

TEST_F(DesktopLaunch, MissingFileStartsNothing)
{
    // Each missing path beside the program that its blanks would name.
    struct Case {
        std::wstring path;
        std::wstring decoy;
    } cases[] = {
        {temp / L"Pictora Maxora.exe", Place(L"held_recorder.exe", L"Pictora.exe")},
        {temp / L"missing folder\\Pictora.exe", Place(L"held_recorder.exe", L"missing.exe")},
        {L"", L""},
    };
    for (const Case& c : cases)
        LaunchInstalledProgram(c.path);

    // Time for a wrongly started program to show.
    Sleep(2000);
    for (const Case& c : cases) {
        if (!c.decoy.empty()) {
            EXPECT_FALSE(FileExists(c.decoy + L".args")) << Utf8(c.path);
        }
    }
    // The launch was not even tried.
    EXPECT_EQ(LaunchTraces(), "");
    EXPECT_TRUE(shown.empty());
}

}  // namespace
