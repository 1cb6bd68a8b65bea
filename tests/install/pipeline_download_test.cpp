// The installation road over a network that fails now and then and a
// server that may serve the wrong file: resumed downloads, SHA-256 checks
// that stop a wrong package, and downloaded files that nobody can change
// before they are used.
#include <windows.h>

#include <gtest/gtest.h>

#include "config/installer_config.h"
#include "install/pipeline_fixture.h"
#include "net/sha256_hash.h"
#include "support/local_test_server.h"
#include "support/process_helpers.h"

using namespace pipeline_test;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using net_test::TheServer;

namespace {

// The SHA-256 of a fixture file, in upper case.
std::string FixtureSha256(const std::string& fixture)
{
    std::string bytes = ReadFileBytes(net_test::WindowsPathOf(PICTORA_TEST_SERVER_ROOT "/" + fixture));
    EXPECT_FALSE(bytes.empty());
    Sha256Hash hash;
    hash.Update(bytes.data(), bytes.size());
    std::wstring text = Sha256DigestText(hash.Finish().value());
    std::string upper;
    for (wchar_t c : text)
        upper += static_cast<char>(toupper(static_cast<char>(c)));
    return upper;
}

// The package's digest decides: the right one (upper case) installs it,
// a wrong one deletes the file after a second try and fails the run
// with the connect message, and nothing is installed.
TEST_F(PipelineTest, ThePackageDigestDecidesWhetherItIsInstalled)
{
    std::string right = FixtureSha256("pictora_maxora_1.msi");
    std::string wrong = right;
    wrong[0] = wrong[0] == '0' ? '1' : '0';
    struct Case {
        const char* what;
        std::string digest;
        PipelinePhase phase;
        int requests;
    };
    const Case cases[] = {
        {"right digest", right, PipelinePhase::Finished, 1},
        {"wrong digest", wrong, PipelinePhase::Failed, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
        std::string package = std::string("package") + std::to_string(&c - cases) + ".msi";
        Serve(package, "pictora_maxora_1.msi");
        TestManifest parts;
        parts.mainComponentPath = package;
        parts.mainComponentSha256 = c.digest;
        ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
        TheConfig().hasLanguageChoice = 0;
        boxes->boxes.clear();

        PipelineRun run = Drive();

        EXPECT_EQ(run.last.phase, c.phase) << PhaseName(run.last.phase);
        EXPECT_EQ(Requests(package), c.requests);
        bool installed = c.phase == PipelinePhase::Finished;
        EXPECT_EQ(InstalledVersion(kProductCode), installed ? kVersion1 : L"");
        if (!installed) {
            EXPECT_FALSE(FileExists(TheConfig().msiFolder + L"pictora_maxora_1.msi")) << "the wrong file is deleted";
            EXPECT_EQ(controller->failureReason, 4);
            ASSERT_EQ(boxes->boxes.size(), 1u);
        }
        RemoveProduct(kProductCode);
        controller.reset();
    }
}

// A connection that drops in the middle of the package: the next try
// continues it with a Range request, and the installation goes on.
TEST_F(PipelineTest, ADroppedPackageDownloadIsResumed)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    const std::string package = ServerPath("pictora_maxora_1.msi");
    ASSERT_TRUE(TheServer().SetRule(package + "*", "file=pictora_maxora_1.msi"));
    ASSERT_TRUE(TheServer().SetRule(package, "file=pictora_maxora_1.msi&cut=20000&times=1"));
    TestManifest parts;
    parts.mainComponentSha256 = FixtureSha256("pictora_maxora_1.msi");
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 0;

    PipelineRun run = Drive();

    ASSERT_EQ(run.last.phase, PipelinePhase::Finished) << PhaseName(run.last.phase);
    EXPECT_EQ(Requests("pictora_maxora_1.msi"), 2);
    EXPECT_EQ(TheServer().LatestHeader(package, "Range"), "bytes=20000-");
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
}

// While the Windows Installer works on the downloaded package, another
// process cannot open it to write: the installer holds it.
TEST_F(PipelineTest, ADownloadedPackageCannotBeChangedBeforeItIsInstalled)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    ASSERT_NO_FATAL_FAILURE(LoadProduct({}));
    TheConfig().hasLanguageChoice = 0;
    const std::wstring local = TheConfig().msiFolder + L"pictora_maxora_1.msi";
    long writerExit = -1;
    std::string before;
    controller->installerMessageHook = [&](UINT, int) {
        if (writerExit != -1)
            return;
        before = ReadFileBytes(local);
        writerExit = testing_support::RunProcess(L"cmd.exe /c echo planted>>\"" + local + L"\"", 30000);
    };

    PipelineRun run = Drive();

    ASSERT_EQ(run.last.phase, PipelinePhase::Finished) << PhaseName(run.last.phase);
    // (cmd says "Sharing violation." when it cannot open the file; its exit
    // code does not tell, the file's bytes do.)
    EXPECT_NE(writerExit, -1) << "no installer message arrived";
    EXPECT_FALSE(before.empty());
    EXPECT_EQ(ReadFileBytes(local), before) << "the other process appended to the package";
}

}  // namespace
