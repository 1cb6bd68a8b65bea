// The request every transfer sends, and the failures before any body byte:
// an address that cannot be split, a port where nothing listens, and
// certificates that must be refused.
#include <gtest/gtest.h>

#include "net/cancel_request.h"
#include "net/download_file.h"
#include "net/http_request.h"
#include "net/internet_session.h"
#include "net/net_test_support.h"
#include "support/process_helpers.h"

using namespace net_test;
using testing_support::TempDir;

namespace {

class MemoryStream : public IByteStream {
public:
    bool Append(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), size);
        return true;
    }
    std::string bytes;
};

// What each of the three transfers did with one address.
struct Outcomes {
    bool fileResult = true;
    std::vector<Record> fileRecords;
    std::string fileBytes;
    int64_t contentLength = -1;
    bool streamResult = true;
    std::string streamBytes;
};

Outcomes RunAllThree(const std::wstring& url)
{
    Outcomes out;
    TempDir dir;
    {
        OutputFile file;
        EXPECT_TRUE(file.Open(dir / L"download.bin", OutputFile::Sharing::Exclusive));
        CancelRequest never;
        RecordLog log;
        out.fileResult = DownloadUrlToFile(never, url, file, log);
        out.fileRecords = log.Records();
    }
    out.fileBytes = testing_support::ReadFileBytes(dir / L"download.bin");
    out.contentLength = QueryContentLength(url);
    CancelRequest never;
    MemoryStream stream;
    out.streamResult = DownloadUrlToStream(never, url, stream);
    out.streamBytes = stream.bytes;
    return out;
}

class RequestTest : public ServerTest {};

TEST_F(RequestTest, UnparsableAddressFailsWithoutContactingTheServer)
{
    const std::string path = Path("package.bin");
    ASSERT_TRUE(TheServer().SetRule(path, "size=1000"));
    const std::wstring port = std::to_wstring(TheServer().HttpPort());
    const std::wstring target = L"127.0.0.1:" + port + Widen(path);
    const std::wstring cases[] = {
        L"",
        L"not an address",
        L"http//" + target,                                          // no scheme
        L"http://" + target + L"?" + std::wstring(5000, L'q'),       // a part longer than 4096
    };
    for (const std::wstring& url : cases) {
        SCOPED_TRACE(std::string(url.begin(), url.end()));
        Outcomes out = RunAllThree(url);
        EXPECT_FALSE(out.fileResult);
        ASSERT_EQ(out.fileRecords.size(), 1u) << "one last record and nothing before it";
        EXPECT_TRUE(out.fileRecords[0].SameReport(Record{DownloadStateEnded, 0, 0, 0, L""}))
            << out.fileRecords[0];
        EXPECT_TRUE(SameBytes(out.fileBytes, ""));
        EXPECT_EQ(out.contentLength, 0);
        EXPECT_FALSE(out.streamResult);
        EXPECT_TRUE(SameBytes(out.streamBytes, ""));
    }
    EXPECT_EQ(TheServer().RequestCount(path), 0);
}

TEST_F(RequestTest, UnreachablePortFailsAtTheConnection)
{
    int port = UnusedPort();
    ASSERT_NE(port, 0);
    Outcomes out = RunAllThree(L"http://127.0.0.1:" + std::to_wstring(port) + L"/package.bin");
    EXPECT_FALSE(out.fileResult);
    ASSERT_EQ(out.fileRecords.size(), 1u);
    const Record& last = out.fileRecords[0];
    EXPECT_EQ(last.state, DownloadStateEnded);
    EXPECT_EQ(last.bytesDone, 0);
    EXPECT_NE(last.errorCode, 0u);
    EXPECT_EQ(last.message, L"InternetConnect Failed.");
    EXPECT_EQ(out.contentLength, 0);
    EXPECT_FALSE(out.streamResult);
}

// User agent, Referer, accept types, the extra header and the object name
// (path and query) as the server received them, for each transfer.
TEST_F(RequestTest, EachTransferSendsItsRequestShape)
{
    struct Case {
        const char* name;
        const char* accept;
        const char* contentType;  // "" = none sent
    };
    const Case cases[] = {
        {"file", "*/*", ""},
        {"size", "application/xml, */*", ""},
        {"stream", "application/xml, */*", "application/json"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(c.name);
        ASSERT_TRUE(TheServer().SetRule(path, "size=300"));
        const std::wstring url = Url(path) + L"?lang=1031&v=2";
        CancelRequest never;
        if (std::string(c.name) == "file") {
            TempDir dir;
            OutputFile file;
            ASSERT_TRUE(file.Open(dir / L"f.bin", OutputFile::Sharing::Exclusive));
            RecordLog log;
            EXPECT_TRUE(DownloadUrlToFile(never, url, file, log));
        } else if (std::string(c.name) == "size") {
            EXPECT_EQ(QueryContentLength(url), 300);
        } else {
            MemoryStream stream;
            EXPECT_TRUE(DownloadUrlToStream(never, url, stream));
            EXPECT_TRUE(SameBytes(stream.bytes, Pattern(300)));
        }
        EXPECT_EQ(TheServer().RequestCount(path), 1);
        EXPECT_EQ(TheServer().LatestHeader(path, "User-Agent"), "Pictora Web Installer Client");
        EXPECT_EQ(TheServer().LatestHeader(path, "Referer"), "https://www.pictora-maxora.com/");
        EXPECT_EQ(TheServer().LatestHeader(path, "Accept"), c.accept);
        EXPECT_EQ(TheServer().LatestHeader(path, "Content-Type"), c.contentType);
        std::string log;
        TheServer().Get("/__control/requests?path=" + path, &log);
        EXPECT_NE(log.find("\"method\": \"GET\""), std::string::npos) << log;
        EXPECT_NE(log.find("\"target\": \"" + path + "?lang=1031&v=2\""), std::string::npos) << log;
    }
}

TEST_F(RequestTest, NoRefererIsSentWhileItIsEmpty)
{
    const std::string path = Path("size");
    ASSERT_TRUE(TheServer().SetRule(path, "size=10"));
    std::wstring saved = refererUrl;
    refererUrl.clear();
    EXPECT_EQ(QueryContentLength(Url(path)), 10);
    refererUrl = saved;
    EXPECT_EQ(TheServer().RequestCount(path), 1);
    EXPECT_EQ(TheServer().LatestHeader(path, "Referer"), "");
}

// Certificates are checked: the installer runs what it downloads.
TEST_F(RequestTest, HttpsAcceptsOnlyAValidCertificateForTheHost)
{
    struct Case {
        const char* name;
        TlsCertificate certificate;
        bool accepted;
        DWORD error;  // of the refused handshake
    };
    const Case cases[] = {
        {"valid", TlsCertificate::Valid, true, 0},
        {"expired", TlsCertificate::Expired, false, ERROR_INTERNET_SEC_CERT_DATE_INVALID},
        {"other host", TlsCertificate::OtherHost, false, ERROR_INTERNET_SEC_CERT_CN_INVALID},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(c.certificate == TlsCertificate::Valid ? "valid.bin"
                                      : c.certificate == TlsCertificate::Expired ? "expired.bin" : "other.bin");
        ASSERT_TRUE(TheServer().SetRule(path, "size=5000"));
        Outcomes out = RunAllThree(TheServer().HttpsUrl(c.certificate, Widen(path)));
        ASSERT_FALSE(out.fileRecords.empty());
        const Record& last = out.fileRecords.back();
        EXPECT_EQ(last.state, DownloadStateEnded);
        if (c.accepted) {
            EXPECT_TRUE(out.fileResult) << last;
            EXPECT_TRUE(SameBytes(out.fileBytes, Pattern(5000)));
            EXPECT_EQ(out.contentLength, 5000);
            EXPECT_TRUE(out.streamResult);
            EXPECT_TRUE(SameBytes(out.streamBytes, Pattern(5000)));
            EXPECT_EQ(TheServer().RequestCount(path), 3);
        } else {
            EXPECT_FALSE(out.fileResult);
            EXPECT_EQ(last.errorCode, c.error) << last;
            EXPECT_EQ(last.message, L"HttpSendRequest Failed.");
            EXPECT_TRUE(SameBytes(out.fileBytes, ""));
            EXPECT_EQ(out.contentLength, 0);
            EXPECT_FALSE(out.streamResult);
            EXPECT_TRUE(SameBytes(out.streamBytes, ""));
            EXPECT_EQ(TheServer().RequestCount(path), 0) << "no request may pass a refused handshake";
        }
    }
}

// The size query accepts any status from 200 to 500 except 403 and 404,
// and reads the announced length as a 64-bit count.
TEST_F(RequestTest, SizeQueryFollowsItsStatusRuleAndCountsIn64Bits)
{
    struct Case {
        const char* rule;
        int64_t expected;
    };
    const Case cases[] = {
        {"size=12345", 12345},
        // More than 32 bits can count. The connection closes right after the
        // headers: the body is never read, and closing the request need not
        // wait for 5 GB to pass.
        {"size=5000000000&cut=0", 5000000000},
        {"status=500&body=server+error", 12},
        {"status=404", 0},
        {"status=403&body=forbidden", 0},
        {"status=501&body=not+implemented", 0},
        {"size=12345&nolength=1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::string path = Path("case" + std::to_string(&c - cases));
        ASSERT_TRUE(TheServer().SetRule(path, c.rule));
        EXPECT_EQ(QueryContentLength(Url(path)), c.expected);
        EXPECT_EQ(TheServer().RequestCount(path), 1);
    }
}

// The self-update check stores what DownloadUrlToStream fetches and may
// run it: an error page or a body cut short is a failure.
TEST_F(RequestTest, StreamDownloadFailsOnAnErrorPageOrAShortBody)
{
    struct Case {
        const char* rule;
        bool result;
        size_t appended;  // bytes of the pattern that reached the stream
    };
    const Case cases[] = {
        {"size=70000", true, 70000},
        {"status=404", false, 0},
        {"status=500&body=server+error", false, 0},
        {"size=70000&cut=20000", false, 20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::string path = Path("case" + std::to_string(&c - cases));
        ASSERT_TRUE(TheServer().SetRule(path, c.rule));
        CancelRequest never;
        MemoryStream stream;
        EXPECT_EQ(DownloadUrlToStream(never, Url(path), stream), c.result);
        EXPECT_TRUE(SameBytes(stream.bytes, Pattern(c.appended)));
    }
}

}  // namespace
