// CClientValidator's operations and its worker.
#include "selfupdate/client_validator.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <exception>

#include "base/debug_trace.h"
#include "base/desktop_launch.h"
#include "base/notifier.h"
#include "config/installer_config.h"
#include "config/registry_key.h"
#include "config/registry_records.h"
#include "config/run_flags.h"
#include "config/version_descriptor.h"
#include "config/version_rules.h"
#include "net/cancel_request.h"
#include "net/download_file.h"
#include "net/download_paths.h"
#include "net/hashing_file.h"
#include "net/http_request.h"
#include "net/sha256_hash.h"

namespace {

// The worker's pause before the check, so that the dialog is on screen
// before anything can hide it.
constexpr DWORD kWorkerStartDelayMs = 200;

// Fetches `url` into a new file at `path` with a request that nothing
// cancels or pauses; true only when the whole body of a 2xx answer arrived.
// With `hash`, every byte written is added to it as it is written.
bool FetchToFile(const std::wstring& url, const std::wstring& path, OutputFile::Sharing sharing,
                 Sha256Hash* hash = nullptr)
{
    try {
        OutputFile file;
        if (!file.Open(path, sharing))
            return false;
        CancelRequest never;
        if (!hash)
            return DownloadUrlToStream(never, url, file);
        HashingStream hashed(file, *hash);
        return DownloadUrlToStream(never, url, hashed);
    } catch (const std::exception&) {
        return false;
    }
}

// Whether the installer that arrived is the one the descriptor names:
// true when the digests match, or when no digest is given (then the log
// says it was not checked).
bool InstallerMatches(const std::optional<std::wstring>& expectedText, Sha256Hash& hash)
{
    if (!expectedText) {
        DebugTrace(L"PictoraSetup: the newer installer is not checked: the descriptor gives no SHA-256 for it.\r\n");
        return true;
    }
    std::optional<Sha256Digest> expected = ParseSha256Digest(*expectedText);
    std::optional<Sha256Digest> actual = hash.Finish();
    if (expected && actual && *expected == *actual) {
        DebugTrace(L"PictoraSetup: the newer installer matches its SHA-256.\r\n");
        return true;
    }
    DebugTrace(L"PictoraSetup: the newer installer does not match its SHA-256: expected " + *expectedText + L", got " +
               (actual ? Sha256DigestText(*actual) : std::wstring(L"no digest")) + L".\r\n");
    return false;
}

}  // namespace

int32_t CClientValidator::CheckServerVersion()
{
    const bool existing = flags_.existingInstall != 0;
    if (config_.manifest.standalone)
        return DecideVersionAction(config_, existing);

    std::wstring path = MakeDownloadPath(config_, L"version.xml", GetTickCount());
    downloadResult = FetchToFile(config_.manifest.versionCheckUrl, path, OutputFile::Sharing::OthersAllowed) ? 1 : 0;
    // A descriptor that came short or as an error page is not read: what
    // reached the file is not the server's answer.
    if (downloadResult == 0) {
        DebugTrace(L"PictoraSetup: the version descriptor could not be fetched.\r\n");
        return kVerdictServerUnreachable;
    }
    if (!LoadVersionDescriptor(path, config_.manifest)) {
        DebugTrace(L"PictoraSetup: the version descriptor could not be read.\r\n");
        return kVerdictServerUnreachable;
    }
    return DecideVersionAction(config_, existing);
}

bool CClientValidator::FetchNewInstaller()
{
    std::wstring url = InstallerDownloadUrl(config_.manifest.versionInfo, flags_.existingInstall != 0);
    if (url.empty())
        return false;
    updaterPath = MakeUpdaterPath();
    downloadResult = 0;
    Sha256Hash hash;
    if (!updaterPath.empty() && FetchToFile(url, updaterPath, OutputFile::Sharing::Exclusive, &hash))
        downloadResult =
            InstallerMatches(InstallerSha256(config_.manifest.versionInfo, flags_.existingInstall != 0), hash) ? 1 : 0;
    if (downloadResult == 0) {
        // A part of an installer is never started; it is not kept either.
        if (!updaterPath.empty())
            DeleteFileW(updaterPath.c_str());
        DebugTrace(L"PictoraSetup: the newer installer could not be downloaded.\r\n");
        updaterPath.clear();
    }
    return downloadResult != 0;
}

std::wstring CClientValidator::MakeUpdaterPath()
{
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return {};
    std::wstring folder = UpdaterFolderPath(temp, GetTickCount());
    if (PathFileExistsW(folder.c_str()) || SHCreateDirectory(nullptr, folder.c_str()) == ERROR_SUCCESS)
        return UpdaterFilePath(folder, config_.manifest.fullName);
    return {};
}

std::wstring CClientValidator::GetInstalledExecutablePath()
{
    RegistryKey key(HKEY_LOCAL_MACHINE, config_.manifest.registryKey);
    std::wstring program = key.QueryString(registry_records::kProgramValue).value_or(L"");
    if (program.empty() || !PathFileExistsW(program.c_str()))
        return {};
    return program;
}

void CClientValidator::RunWorker(HWND dialog)
{
    Sleep(kWorkerStartDelayMs);
    int32_t verdict = CheckServerVersion();
    lastVerdict = verdict;
    DebugTraceFormat(L"PictoraSetup: self-update verdict %d.\r\n", verdict);
    VerdictPlan plan = PlanForVerdict(verdict);
    if (plan.hideDialog && dialog)
        ShowWindow(dialog, SW_HIDE);
    outcome = plan.outcome;
    if (plan.notice != UpdateNotice::None) {
        const std::wstring& caption = config_.manifest.shortName;
        int answer = Notify(NoticeText(plan.notice, config_.language, caption), caption, plan.noticeStyle, dialog);
        if (plan.offerLaunch && answer == IDYES) {
            std::wstring program = GetInstalledExecutablePath();
            if (!program.empty())
                LaunchInstalledProgram(program);
        }
    }
    if (plan.fetchInstaller)
        outcome = OutcomeAfterFetch(FetchNewInstaller());
    workerDone_ = true;
    if (dialog)
        PostMessageW(dialog, WM_CLOSE, 0, 0);
}
