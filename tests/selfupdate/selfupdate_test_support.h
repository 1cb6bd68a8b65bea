// Shared pieces of the self-update tests: a configuration whose manifest
// points at the local test server, version descriptors served there, the
// message boxes answered and recorded, and a real window standing in for
// the dialog that the worker hides and closes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/installer_config.h"
#include "config/run_flags.h"
#include "net/net_test_support.h"
#include "support/process_helpers.h"
#include "support/registry_test_support.h"

// Descriptors are written with designated initializers that name only
// the fields a test changes; the others keep their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace selfupdate_test {

// This build's own version, as the manifest beside it would give it.
inline constexpr wchar_t kOwnVersion[] = L"17.0.0.9";

// A version descriptor; an empty field leaves its element out.
struct Descriptor {
    std::string freshVersion = "17.0.2.600";
    std::string freshMinimum = "17.0.0.9";
    std::string freshUrl;
    std::string patchVersion = "17.0.2.601";
    std::string patchMinimum = "17.0.0.9";
    std::string patchUrl;
    std::string freshSha256;  // the fresh installer's digest; none when empty

    std::string Xml() const
    {
        auto element = [](const char* name, const std::string& text) {
            return text.empty() ? std::string() : "    <" + std::string(name) + ">" + text + "</" + name + ">\r\n";
        };
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<zylwebinstaller>\r\n"
               "  <product_code>{0B1E5A7C-7C11-4A55-9C1D-5E0A2C6B0F42}</product_code>\r\n"
               "  <fresh_install>\r\n" +
               element("product_version", freshVersion) + element("min_web_installer_version", freshMinimum) +
               element("web_installer_download_url", freshUrl) + element("sha256", freshSha256) +
               "  </fresh_install>\r\n  <patch_install>\r\n" +
               element("product_version", patchVersion) + element("min_web_installer_version", patchMinimum) +
               element("web_installer_download_url", patchUrl) + "  </patch_install>\r\n</zylwebinstaller>\r\n";
    }
};

// `text` as a value of a server rule.
inline std::string EncodeRuleValue(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~')
            out += static_cast<char>(c);
        else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// Records every message box and answers it with `answer`.
class AnsweringNotifier {
public:
    struct Box {
        std::wstring text;
        std::wstring caption;
        UINT style;
    };
    explicit AnsweringNotifier(int answer = IDOK) : answer_(answer)
    {
        SetNotifyHandler([this](const std::wstring& text, const std::wstring& caption, UINT style) {
            boxes.push_back({text, caption, style});
            return answer_;
        });
    }
    ~AnsweringNotifier() { SetNotifyHandler({}); }
    AnsweringNotifier(const AnsweringNotifier&) = delete;
    AnsweringNotifier& operator=(const AnsweringNotifier&) = delete;

    void Answer(int answer) { answer_ = answer; }
    std::vector<Box> boxes;

private:
    int answer_;
};

// A visible top-level window of the test thread in the dialog's place.
class StandInDialog {
public:
    StandInDialog()
        : window_(CreateWindowExW(0, L"STATIC", L"Preparing...", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~StandInDialog() { DestroyWindow(window_); }
    StandInDialog(const StandInDialog&) = delete;
    StandInDialog& operator=(const StandInDialog&) = delete;

    HWND Get() const { return window_; }
    bool Visible() const { return IsWindowVisible(window_) != FALSE; }
    // How many WM_CLOSE messages wait in the window's queue (taken out).
    int PostedCloses() const
    {
        int count = 0;
        MSG message;
        while (PeekMessageW(&message, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE))
            ++count;
        return count;
    }

private:
    HWND window_;
};

// A configuration of the test's own: a web package whose working folder
// is a fresh temporary folder, whose registry key is the test's own, and
// whose descriptor is served at the test's own path.
class SelfUpdateTest : public net_test::ServerTest {
protected:
    void SetUp() override
    {
        net_test::ServerTest::SetUp();
        config.exeFolder = work.Path();
        config.componentFolder = work.Path() + L"\\";
        ProductManifest& m = config.manifest;
        m.webInstallerVersion = kOwnVersion;
        m.fullName = L"Pictora Maxora";
        m.shortName = L"Pictora";
        m.registryKey = productKey.Path();
        m.standaloneVersion = L"17.0.1.500";
        m.versionCheckUrl = Url(Path("version.xml"));
    }

    // Serves `descriptor` as the test's version.xml.
    void ServeDescriptor(const Descriptor& descriptor)
    {
        ASSERT_TRUE(net_test::TheServer().SetRule(Path("version.xml"),
                                                  "type=text/xml&body=" + EncodeRuleValue(descriptor.Xml())));
    }
    // Serves the command recorder at `name` under the test's path; returns its address.
    // `extra`: further rule parameters ("&cut=1000").
    std::string ServeInstaller(const std::string& name, const std::string& extra = "")
    {
        EXPECT_TRUE(net_test::TheServer().SetRule(Path(name), "file=command_recorder.exe" + extra));
        return testing_support::Utf8(Url(Path(name)));
    }

    testing_support::TempDir work;
    registry_test::ScopedTestKey productKey{HKEY_LOCAL_MACHINE, registry_test::TestKeyPath()};
    InstallerConfig config;
    RunFlags flags;
};

// Waits until `path` holds something; its content, or empty at the deadline.
inline std::string WaitForContent(const std::wstring& path, DWORD timeoutMs = 20000)
{
    for (ULONGLONG start = GetTickCount64(); GetTickCount64() - start < timeoutMs; Sleep(50)) {
        std::string bytes = testing_support::ReadFileBytes(path);
        if (!bytes.empty())
            return bytes;
    }
    return {};
}

}  // namespace selfupdate_test
