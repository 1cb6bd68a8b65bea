#include "install/pipeline_fixture.h"

#include <msi.h>

#include <sstream>

#include "config/installed_product.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "support/local_test_server.h"

using namespace registry_test;
using net_test::TheServer;
using testing_support::ReadFileBytes;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::Utf8;
using testing_support::WriteFileBytes;

namespace pipeline_test {

namespace {

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string Element(const char* name, const std::string& value)
{
    std::string element;
    element.append("<").append(name).append(">").append(value).append("</").append(name).append(">");
    return element;
}

const wchar_t kWebView2UserKey[] = L"Software\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
const wchar_t kVcRuntimeKey[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64";
const wchar_t kResourceLanguageKey[] = L"SOFTWARE\\ZYL Systems\\ResourceLangID\\";

}  // namespace

std::string VersionFileText(const std::string& productVersion, const std::string& minInstallerVersion)
{
    std::string release = Element("product_version", productVersion) +
                          Element("min_web_installer_version", minInstallerVersion) +
                          Element("web_installer_download_url", "http://127.0.0.1:9/PictoraSetup.exe");
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<zylwebinstaller>" +
           Element("product_code", Utf8(kProductCode)) + Element("fresh_install", release) +
           Element("patch_install", release) + "</zylwebinstaller>\r\n";
}

void PipelineTest::SetUp()
{
    ASSERT_TRUE(TheServer().Running()) << TheServer().Failure();
    // Request counts are this test's own, also when tests are repeated.
    ASSERT_TRUE(TheServer().ClearRequestLog());
    setupDir_ = std::make_unique<TempDir>();
    workDir_ = std::make_unique<TempDir>();
    productKey_ = std::make_unique<ScopedTestKey>(HKEY_LOCAL_MACHINE, TestKeyPath());
    userProductKey_ = std::make_unique<ScopedTestKey>(HKEY_CURRENT_USER, TestKeyPath());
    for (const wchar_t* name : {L"Major", L"Minor", L"Bld"})
        restoredValues_.push_back(std::make_unique<ScopedValueRestore>(HKEY_LOCAL_MACHINE, kVcRuntimeKey, name));
    restoredValues_.push_back(std::make_unique<ScopedValueRestore>(HKEY_CURRENT_USER, kWebView2UserKey, L"pv"));
    // Left behind by an interrupted run.
    for (const std::wstring& code : {kProductCode, kFailingProductCode, kBonjourProductCode})
        RemoveProduct(code);

    recordFile_ = *workDir_ / L"fixture-records.txt";
    SetEnvironmentVariableW(L"PICTORA_FIXTURE_RECORD", recordFile_.c_str());
    SetEnvironmentVariableW(L"PICTORA_FIXTURE_REGISTRY_KEY", productKey_->Path().c_str());
    boxes = std::make_unique<NotifyRecorder>();
    TheConfig() = InstallerConfig();
    TheRunFlags().existingInstall = 0;
}

void PipelineTest::TearDown()
{
    controller.reset();
    for (const std::wstring& code : {kProductCode, kFailingProductCode, kBonjourProductCode})
        EXPECT_EQ(RemoveProduct(code), 0) << Utf8(code);
    SetEnvironmentVariableW(L"PICTORA_FIXTURE_RECORD", nullptr);
    SetEnvironmentVariableW(L"PICTORA_FIXTURE_REGISTRY_KEY", nullptr);
    boxes.reset();
    restoredValues_.clear();
    TheConfig() = InstallerConfig();
    TheRunFlags().existingInstall = 0;
}

std::string PipelineTest::ServerPath(const std::string& file) const
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    return "/" + name + "/" + file;
}

std::wstring PipelineTest::ServerUrl(const std::string& file) const
{
    return TheServer().Url(Widen(ServerPath(file)));
}

void PipelineTest::Serve(const std::string& file, const std::string& fixture)
{
    ASSERT_TRUE(TheServer().SetRule(ServerPath(file), "file=" + fixture));
}

void PipelineTest::ServeRule(const std::string& file, const std::string& rule)
{
    ASSERT_TRUE(TheServer().SetRule(ServerPath(file), rule));
}

void PipelineTest::ServeText(const std::string& file, const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded = "type=text/xml&body=";
    for (unsigned char c : text) {
        if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    ServeRule(file, encoded);
}

int PipelineTest::Requests(const std::string& file) const
{
    return TheServer().RequestCount(ServerPath(file));
}

void PipelineTest::LoadProduct(const TestManifest& parts)
{
    auto url = [this](const std::string& path) {
        return path.rfind("http", 0) == 0 ? path : Utf8(ServerUrl(path));
    };
    std::ostringstream product;
    product << Element("pid", "PM2026EN") << Element("full_name", "Pictora Maxora 2026")
            << Element("short_name", "Pictora Maxora") << Element("registry", Utf8(productKey_->Path()))
            << Element("standalone", parts.standalone ? "true" : "false")
            << Element("standalone_version", parts.standaloneVersion);
    if (!parts.versionCheckPath.empty())
        product << Element("version_check_url", url(parts.versionCheckPath));
    product << "<main_component>" << Element("name", parts.mainComponent)
            << Element("executable", "PictoraMaxora.exe") << Element("full_url", url(parts.mainComponentPath));
    if (!parts.mainComponentSha256.empty())
        product << Element("sha256", parts.mainComponentSha256);
    for (const TestManifest::Record& t : parts.transforms)
        product << "<transform>" << Element("lang_id", t.keyText) << Element("name", t.name)
                << Element("full_url", url(t.path)) << "</transform>";
    product << "</main_component>";
    for (const TestManifest::Record& p : parts.languagePacks)
        product << "<language_pack>" << Element("lang_id", p.keyText) << Element("pid", "LP" + p.keyText)
                << Element("name", p.name) << Element("full_url", url(p.path)) << "</language_pack>";
    for (const TestManifest::Record& d : parts.dependencies)
        product << "<dependency>" << Element("name", d.keyText) << Element("full_url", url(d.path))
                << Element("install_commandline", d.commandLine) << "</dependency>";
    std::string manifest = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<zylwebinstaller>" +
                           Element("web_installer_version", parts.webInstallerVersion) +
                           Element("product_code", Utf8(kProductCode)) + Element("product", product.str()) +
                           "</zylwebinstaller>\r\n";

    // Each call gets folders of its own: a table of cases loads a product
    // per case.
    ++loads_;
    std::wstring setup = *setupDir_ / std::to_wstring(loads_);
    ASSERT_TRUE(CreateDirectoryW(setup.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((setup + L"\\config").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(setup + L"\\config\\manifest.xml", manifest));
    TheConfig() = InstallerConfig();
    TheRunFlags().existingInstall = 0;
    ASSERT_EQ(LoadConfiguration(TheConfig(), setup + L"\\PictoraSetup.exe", TheRunFlags().existingInstall, L""),
              ConfigurationLoaded);

    installFolder_ = *workDir_ / (L"Pictora Maxora " + std::to_wstring(loads_));
    ASSERT_TRUE(CreateDirectoryW(installFolder_.c_str(), nullptr));
    TheConfig().installFolder = installFolder_ + L"\\";
    restoredValues_.push_back(std::make_unique<ScopedValueRestore>(HKEY_CURRENT_USER, kResourceLanguageKey,
                                                                   installFolder_ + L"\\zylTandora2.exe"));
    controller = std::make_unique<InstallController>();
    controller->retryWaitsMs = {10, 10, 10};
}

PipelineRun PipelineTest::Drive(DWORD timeoutMs, std::function<void(const InstallProgress&)> onPoll)
{
    PipelineRun run;
    StartPipeline(*controller);
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        run.last = PollInstallProgress();
        if (onPoll)
            onPoll(run.last);
        if (run.phases.empty() || run.phases.back() != run.last.phase)
            run.phases.push_back(run.last.phase);
        if (IsFinalPhase(run.last.phase)) {
            // As the status panel does when the run is over.
            controller->WaitForWorker();
            PublishRunResults(*controller);
            break;
        }
        if (GetTickCount64() > deadline) {
            run.timedOut = true;
            RequestCancel(*controller);
            break;
        }
        Sleep(20);
    }
    controller->WaitForWorker();
    return run;
}

std::vector<std::string> PipelineTest::FixtureRecords() const
{
    std::vector<std::string> lines;
    std::istringstream text(ReadFileBytes(recordFile_));
    std::string line;
    while (std::getline(text, line))
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

std::wstring InstalledVersion(const std::wstring& productCode)
{
    return QueryInstalledVersion(productCode);
}

long RemoveProduct(const std::wstring& productCode)
{
    if (InstalledVersion(productCode).empty())
        return 0;
    return RunProcess(testing_support::MsiexecCommand() + L" /x " + productCode + L" /qn", 180000);
}

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name)
{
    std::optional<RawValue> value = ReadRaw(root, path, name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(value->bytes.data()), value->bytes.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

std::optional<DWORD> ReadNumber(HKEY root, const std::wstring& path, const std::wstring& name)
{
    std::optional<RawValue> value = ReadRaw(root, path, name);
    if (!value || value->type != REG_DWORD || value->bytes.size() != sizeof(DWORD))
        return std::nullopt;
    return *reinterpret_cast<const DWORD*>(value->bytes.data());
}

const char* PhaseName(PipelinePhase phase)
{
    switch (phase) {
    case PipelinePhase::NotStarted: return "NotStarted";
    case PipelinePhase::Downloading: return "Downloading";
    case PipelinePhase::Installing: return "Installing";
    case PipelinePhase::Cancelling: return "Cancelling";
    case PipelinePhase::Finished: return "Finished";
    case PipelinePhase::Failed: return "Failed";
    case PipelinePhase::Cancelled: return "Cancelled";
    }
    return "?";
}

}  // namespace pipeline_test
