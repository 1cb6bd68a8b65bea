// XML reader benchmark: generated manifests of 4, 16 and 64 MiB (many
// language packs and dependencies with text, references and CDATA), each
// loaded from a file and parsed. Prints the load-and-parse time, its
// throughput, the parse alone, the ratio to a bare scan for "<" over the
// same UTF-16 text, and the time per MiB at 64 MiB against 4 MiB.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "xml/xml_reader.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A manifest of about `bytes` bytes of UTF-8.
std::string MakeManifest(size_t bytes)
{
    std::string doc =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<zylwebinstaller>\r\n"
        "  <web_installer_version>1.0.0.1</web_installer_version>\r\n"
        "  <product_code>{6A1F0C2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B}</product_code>\r\n"
        "  <product>\r\n    <pid>PMX-17-EN</pid>\r\n    <full_name>Pictora Maxora &amp; Friends</full_name>\r\n"
        "    <short_name>Pictora</short_name>\r\n    <registry>SOFTWARE\\ZYL Systems\\Pictora Maxora</registry>\r\n";
    doc.reserve(bytes + 4096);
    for (unsigned i = 0; doc.size() < bytes; ++i) {
        std::string n = std::to_string(i);
        if (i % 2 == 0) {
            doc += "    <language_pack>\r\n      <lang_id>" + std::to_string(1024 + i % 2000) +
                   "</lang_id>\r\n      <pid>LP-" + n + "</pid>\r\n      <name>Language pack " + n +
                   " &#x2013; caf&eacute; &lt;beta&gt;</name>\r\n"
                   "      <full_url>https://downloads.pictora.example/lp/" + n + ".exe?a=1&amp;b=2</full_url>\r\n"
                   "    </language_pack>\r\n";
        } else {
            doc += "    <dependency>\r\n      <name>prerequisite" + n + ".exe</name>\r\n"
                   "      <full_url>https://downloads.pictora.example/dep/" + n + ".exe</full_url>\r\n"
                   "      <install_commandline><![CDATA[/quiet /norestart LOG=\"%TEMP%\\dep" + n +
                   ".log\" <&>]]></install_commandline>\r\n    </dependency>\r\n";
        }
    }
    doc += "  </product>\r\n</zylwebinstaller>\r\n";
    return doc;
}

struct Figures {
    double mib, load, parse, scan;
};

template <typename F>
double Best(int runs, F f)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        double t0 = Now();
        f();
        best = std::min(best, Now() - t0);
    }
    return best;
}

Figures Measure(size_t mebibytes, const std::wstring& folder)
{
    std::string doc = MakeManifest(mebibytes << 20);
    std::wstring path = folder + L"\\bench-" + std::to_wstring(mebibytes) + L".xml";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, doc.data(), static_cast<DWORD>(doc.size()), &written, nullptr);
    CloseHandle(file);

    Figures f{};
    f.mib = static_cast<double>(doc.size()) / (1 << 20);
    bool ok = true;
    f.load = Best(3, [&] {
        xml::XmlReader reader;
        reader.SetDocument();
        ok = reader.LoadFile(path) && ok;
    });
    xml::XmlReader reader;
    reader.LoadFile(path);
    std::wstring text = reader.Document();
    f.parse = Best(3, [&] {
        xml::XmlReader r;
        r.SetDocument(text);
    });
    volatile size_t sink = 0;
    f.scan = Best(3, [&] {
        size_t count = 0;
        for (wchar_t c : text)
            count += c == L'<';
        sink = count;
    });
    DeleteFileW(path.c_str());
    if (!ok)
        std::printf("warning: the %zu MiB document did not parse as well-formed\n", mebibytes);
    return f;
}

}  // namespace

int main()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder(temp);
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();

    std::printf("%-8s %12s %10s %12s %12s %14s\n", "size", "load+parse", "MiB/s", "parse only", "scan '<'",
                "parse / scan");
    Figures small{}, large{};
    for (size_t size : {4u, 16u, 64u}) {
        Figures f = Measure(size, folder);
        std::printf("%5.1f MiB %9.1f ms %10.1f %9.1f ms %9.2f ms %13.1fx\n", f.mib, f.load * 1e3, f.mib / f.load,
                    f.parse * 1e3, f.scan * 1e3, f.parse / f.scan);
        if (size == 4)
            small = f;
        if (size == 64)
            large = f;
    }
    double perMiBSmall = small.load / small.mib, perMiBLarge = large.load / large.mib;
    std::printf("time per MiB: %.2f ms at 4 MiB, %.2f ms at 64 MiB (ratio %.2f; 1.00 is linear)\n",
                perMiBSmall * 1e3, perMiBLarge * 1e3, perMiBLarge / perMiBSmall);
    return 0;
}
