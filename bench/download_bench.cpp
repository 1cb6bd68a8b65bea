// Download benchmark, one variant per process so that each has its own
// peak working set:
//
//   download_bench job  URL FILE   CDownloadJob::Run with a component-style
//                                  percentage callback
//   download_bench bare URL FILE   a bare WinINet loop: the same request, 4 KiB
//                                  reads, each written straight to the file
//   download_bench retries URL FILE  DownloadWithRetries, the pipeline's
//                                  download over a link that drops (the
//                                  server cuts each answer): with resume when
//                                  the server takes ranges, without otherwise
//
// Each prints one line:
//   RESULT <variant> <bytes> <seconds> <MB/s> <idle peak MiB> <peak MiB> [<MiB at 25/50/75/100 %>]
//   RESULT retries <bytes in the file> <seconds> <complete 0|1> <tries>
// (MB = 10^6 bytes; peaks are PeakWorkingSetSize, idle = before the
// download). tools/bench download runs them alternately, with curl, and
// prints the ratios. It never fails on a figure; exit 1 means the download
// itself failed.
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "bare_download.h"
#include "base/unique_handle.h"
#include "net/download_job.h"
#include "net/download_retries.h"
#include "net/internet_session.h"

namespace {

double MiB(SIZE_T bytes)
{
    return bytes / (1024.0 * 1024.0);
}

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

class BenchEvents : public IDownloadEventSource {
public:
    BenchEvents() : cancel_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), run_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}
    HANDLE CancelEvent() const override { return cancel_.Get(); }
    HANDLE RunEvent() const override { return run_.Get(); }

private:
    UniqueHandle cancel_;
    UniqueHandle run_;
};

int RunJob(const std::wstring& url, const std::wstring& file, double idlePeak)
{
    BenchEvents events;
    // What the pipeline's component callback does with each record: a
    // percentage in unsigned 64-bit arithmetic, handed on as a progress report.
    volatile uint64_t percent = 0;
    uint64_t nextQuarter = 25;
    double quarters[4] = {};
    int64_t bytes = 0;
    CDownloadJob job(url, file);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    bool ok = job.Run(&events, [&](DownloadStatusInfo& status) {
        uint64_t total = static_cast<uint64_t>(status.totalBytes);
        percent = total ? static_cast<uint64_t>(status.bytesDone) * 100 / total : 0;
        bytes = status.bytesDone;
        if (percent >= nextQuarter && nextQuarter <= 100) {
            quarters[nextQuarter / 25 - 1] = MiB(Memory().WorkingSetSize);
            nextQuarter += 25;
        }
    });
    QueryPerformanceCounter(&end);
    double seconds = Seconds(start, end);
    DeleteFileW(file.c_str());
    if (!ok) {
        fwprintf(stderr, L"download_bench: the job failed\n");
        return 1;
    }
    wprintf(L"RESULT job %lld %.3f %.1f %.1f %.1f %.1f/%.1f/%.1f/%.1f\n", static_cast<long long>(bytes), seconds,
            bytes / seconds / 1e6, idlePeak, MiB(Memory().PeakWorkingSetSize), quarters[0], quarters[1],
            quarters[2], quarters[3]);
    return 0;
}

int RunBare(const std::wstring& url, const std::wstring& file, double idlePeak)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    int64_t bytes = BareDownload(url, file);
    QueryPerformanceCounter(&end);
    if (bytes < 0)
        return 1;
    double seconds = Seconds(start, end);
    DeleteFileW(file.c_str());
    wprintf(L"RESULT bare %lld %.3f %.1f %.1f %.1f\n", static_cast<long long>(bytes), seconds, bytes / seconds / 1e6,
            idlePeak, MiB(Memory().PeakWorkingSetSize));
    return 0;
}

int RunRetries(const std::wstring& url, const std::wstring& file)
{
    BenchEvents events;
    int64_t bytes = 0;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    DownloadOutcome outcome =
        DownloadWithRetries(&events, url, file, [&](DownloadStatusInfo& status) { bytes = status.bytesDone; });
    QueryPerformanceCounter(&end);
    DeleteFileW(file.c_str());
    wprintf(L"RESULT retries %lld %.3f %d %d\n", static_cast<long long>(outcome.complete ? bytes : 0),
            Seconds(start, end), outcome.complete ? 1 : 0, outcome.tries);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4) {
        fwprintf(stderr, L"usage: download_bench job|bare|retries URL FILE\n");
        return 2;
    }
    PrepareInternetSession();
    double idlePeak = MiB(Memory().PeakWorkingSetSize);
    std::wstring variant = argv[1];
    if (variant == L"job")
        return RunJob(argv[2], argv[3], idlePeak);
    if (variant == L"bare")
        return RunBare(argv[2], argv[3], idlePeak);
    if (variant == L"retries")
        return RunRetries(argv[2], argv[3]);
    fwprintf(stderr, L"download_bench: unknown variant\n");
    return 2;
}
