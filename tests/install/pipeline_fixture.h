// The test driver of the installation road: a product set up beside a test
// installer (config\manifest.xml pointing at the local test server), the
// configuration loaded from it as at start-up, one InstallController run to
// its final phase with the phases it went through recorded, and everything
// the run left (the installed packages, registry records, fixture records)
// removed again afterwards.
//
// The server serves the fixtures folder (the packages and programs built
// from tests/install/fixtures); each test reaches them through paths of its
// own ("/<test>/<file>") so that rules and request counts do not mix.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/debug_trace.h"
#include "install/install_controller.h"
#include "install/shared_progress.h"
#include "support/process_helpers.h"
#include "support/registry_test_support.h"

namespace pipeline_test {

// Product codes and versions of the packages in tests/install/fixtures.
inline const std::wstring kProductCode = L"{7D3A1C52-4E8B-4B6F-9A21-5C0E3F6D8B41}";
inline const std::wstring kFailingProductCode = L"{A4C81F0E-3B6D-4E92-8F57-1D2B9C6E0A73}";
inline const std::wstring kBonjourProductCode = L"{C3E5A7B9-1D2F-4A6C-8E0B-9F1D3B5C7E92}";
inline const std::wstring kVersion1 = L"9.1.0.100";
inline const std::wstring kVersion2 = L"9.2.0.200";
// The key the product package writes its own values to.
inline const std::wstring kPackageKey = L"SOFTWARE\\ZYL Systems\\Pictora Maxora Package";

// The parts of a test manifest; the URLs are paths on the test server.
struct TestManifest {
    bool standalone = false;
    std::string webInstallerVersion = "1.0.0.1";
    std::string standaloneVersion = "9.1.0.100";
    // Empty: no "version_check_url"; a path starting with "http" is used as
    // it stands.
    std::string versionCheckPath = "version.xml";
    std::string mainComponent = "pictora_maxora_1.msi";
    std::string mainComponentPath = "pictora_maxora_1.msi";
    std::string mainComponentSha256;  // none when empty
    struct Record {
        std::string keyText;  // lang_id, or the dependency's name
        std::string name;
        std::string path;
        std::string commandLine;  // dependencies only
    };
    std::vector<Record> transforms;
    std::vector<Record> languagePacks;
    std::vector<Record> dependencies;
};

// A version descriptor whose fresh and patch releases name `productVersion`
// and accept installers from `minInstallerVersion` on.
std::string VersionFileText(const std::string& productVersion, const std::string& minInstallerVersion);

// What one run went through.
struct PipelineRun {
    // The phases in the order seen, each once per stretch.
    std::vector<PipelinePhase> phases;
    InstallProgress last;
    bool timedOut = false;

    bool Saw(PipelinePhase phase) const
    {
        for (PipelinePhase seen : phases)
            if (seen == phase)
                return true;
        return false;
    }
};

class PipelineTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Server path of this test for `file`: "/<suite>.<test>/<file>".
    std::string ServerPath(const std::string& file) const;
    std::wstring ServerUrl(const std::string& file) const;
    // Serves fixture `fixture` at this test's path for `file`.
    void Serve(const std::string& file, const std::string& fixture);
    void ServeRule(const std::string& file, const std::string& rule);
    // Serves `text` (a version descriptor) at this test's path for `file`.
    void ServeText(const std::string& file, const std::string& text);
    int Requests(const std::string& file) const;

    // Writes the manifest beside the test installer and loads the
    // configuration from it (result 0 expected); then the folder of the
    // installation is set to a fresh folder of this test.
    void LoadProduct(const TestManifest& parts);

    // StartPipeline and poll every 20 ms until a final phase (or the time
    // is up); `onPoll` sees every copy taken.
    PipelineRun Drive(DWORD timeoutMs = 240000, std::function<void(const InstallProgress&)> onPoll = {});

    // The fixture programs' records: one "<program>\t<command line>" line
    // each, in the order they ran.
    std::vector<std::string> FixtureRecords() const;

    std::wstring InstallFolder() const { return installFolder_; }
    const std::wstring& RegistryKeyPath() const { return productKey_->Path(); }

    // Made by LoadProduct, with waits of 10 ms between download tries.
    std::unique_ptr<InstallController> controller;
    std::unique_ptr<registry_test::NotifyRecorder> boxes;

private:
    std::unique_ptr<testing_support::TempDir> setupDir_;
    std::unique_ptr<testing_support::TempDir> workDir_;
    std::wstring installFolder_;
    int loads_ = 0;
    std::wstring recordFile_;
    std::unique_ptr<registry_test::ScopedTestKey> productKey_;
    std::unique_ptr<registry_test::ScopedTestKey> userProductKey_;
    std::vector<std::unique_ptr<registry_test::ScopedValueRestore>> restoredValues_;
};

// Removes a product from the prefix when it is installed; the msiexec
// result (0 when there was nothing to remove).
long RemoveProduct(const std::wstring& productCode);
// The installed version of a product ("" when not installed).
std::wstring InstalledVersion(const std::wstring& productCode);
// A string value of the registry; nothing when missing.
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name);
std::optional<DWORD> ReadNumber(HKEY root, const std::wstring& path, const std::wstring& name);

const char* PhaseName(PipelinePhase phase);

// Collects the log of one test.
class LogCapture {
public:
    LogCapture() { SetDebugTraceLogPath(path_); }
    ~LogCapture() { SetDebugTraceLogPath(L""); }
    std::string Text() const { return testing_support::ReadFileBytes(path_); }
    bool Has(const std::string& what) const { return Text().find(what) != std::string::npos; }
    // How many times `what` occurs.
    int Count(const std::string& what) const
    {
        std::string text = Text();
        int count = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
            ++count;
        return count;
    }

private:
    testing_support::TempDir dir_;
    std::wstring path_ = dir_ / L"trace.log";
};

}  // namespace pipeline_test

inline void PrintTo(PipelinePhase phase, std::ostream* out)
{
    *out << pipeline_test::PhaseName(phase);
}
