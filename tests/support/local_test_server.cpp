#include <winsock2.h>
#include <ws2tcpip.h>

#include "support/local_test_server.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "net/internet_session.h"
#include "support/process_helpers.h"

namespace net_test {

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
// The server stops by itself after this long, should the test program die
// before it says so.
constexpr int kServerLifetimeSeconds = 600;

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string CertFile(const char* name)
{
    return std::string(PICTORA_NET_CERT_DIR) + "/" + name;
}

// "GET target" on 127.0.0.1:port with a fresh connection; the status (0
// when there was no answer) and the body.
int RawGet(int port, const std::string& target, std::string* body)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return 0;
    DWORD timeoutMs = 10000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string response;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        if (send(s, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size())) {
            char buffer[4096];
            int n;
            while ((n = recv(s, buffer, sizeof buffer, 0)) > 0)
                response.append(buffer, n);
        }
    }
    closesocket(s);
    int status = 0;
    if (response.compare(0, 9, "HTTP/1.1 ") == 0 || response.compare(0, 9, "HTTP/1.0 ") == 0)
        status = std::atoi(response.c_str() + 9);
    if (body) {
        size_t end = response.find("\r\n\r\n");
        *body = end == std::string::npos ? std::string() : response.substr(end + 4);
    }
    return status;
}

std::string EncodeQueryValue(const std::string& value)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '/' || c == '~')
            out += static_cast<char>(c);
        else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

int TrustCa(bool trust)
{
    std::wstring line = L"\"" + testing_support::BinaryDir() + L"\\trust_ca.exe\" " + (trust ? L"" : L"/remove ") +
                        L"\"" + WindowsPathOf(CertFile("ca.der")) + L"\"";
    return static_cast<int>(testing_support::RunProcess(line, 60000));
}

// Brings up what every network test needs: the internet session, the
// trusted test CA and the server; takes the CA out again at the end.
class NetTestEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        PrepareInternetSession();
        trusted_ = TrustCa(true) == 0;
        EXPECT_TRUE(trusted_) << "trust_ca could not add the test CA";
        EXPECT_TRUE(TheServer().Start()) << TheServer().Failure();
    }
    void TearDown() override
    {
        TheServer().Stop();
        if (trusted_) {
            EXPECT_EQ(TrustCa(false), 0) << "trust_ca could not remove the test CA";
        }
        WSACleanup();
    }

private:
    bool trusted_ = false;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new NetTestEnvironment);

}  // namespace

std::wstring WindowsPathOf(const std::string& unixPath)
{
    std::wstring path = L"Z:" + Widen(unixPath);
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    return path;
}

LocalTestServer& TheServer()
{
    static LocalTestServer server;
    return server;
}

int UnusedPort()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    closesocket(s);
    return port;
}

bool LocalTestServer::Start()
{
    if (Running())
        return true;
    std::string runFolder = std::string(PICTORA_NET_RUN_DIR) + "/" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(WindowsPathOf(PICTORA_NET_RUN_DIR).c_str(), nullptr);
    CreateDirectoryW(WindowsPathOf(runFolder).c_str(), nullptr);
    runFolder_ = WindowsPathOf(runFolder);
    std::wstring portFile = runFolder_ + L"\\ports";
    DeleteFileW(portFile.c_str());

    std::ostringstream script;
    script << "exec python3 '" << PICTORA_SOURCE_DIR << "/tools/test_server.py' --port-file '" << runFolder
           << "/ports' --lifetime " << kServerLifetimeSeconds;
#ifdef PICTORA_TEST_SERVER_ROOT
    script << " --root '" << PICTORA_TEST_SERVER_ROOT << "'";
#endif
    for (const char* name : {"localhost", "expired", "other-host"})
        script << " --cert '" << CertFile(name) << ".pem' --key '" << CertFile(name) << ".key'";
    script << " </dev/null >'" << runFolder << "/server.log' 2>&1";
    std::wstring line = L"Z:\\bin\\sh -c \"" + Widen(script.str()) + L"\"";
    // For a Linux program Wine gives no usable process handle (it may be
    // null), so success is CreateProcessW's own result.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        failure_ = "the server could not be started (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    if (info.hThread)
        CloseHandle(info.hThread);
    if (info.hProcess)
        CloseHandle(info.hProcess);

    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 50) {
        std::string ports = testing_support::ReadFileBytes(portFile);
        std::istringstream lines(ports);
        std::string word;
        int value = 0, https = 0, http = 0;
        while (lines >> word >> value) {
            if (word == "PORT")
                http = value;
            else if (word == "HTTPS_PORT" && https < 3)
                httpsPorts_[https++] = value;
        }
        if (http && https == 3) {
            httpPort_ = http;
            return true;
        }
        Sleep(50);
    }
    failure_ = "the server did not write its ports within 30 s; see " + runFolder + "/server.log";
    return false;
}

void LocalTestServer::Stop()
{
    if (!Running())
        return;
    Get("/__control/shutdown");
    httpPort_ = 0;
    DeleteFileW((runFolder_ + L"\\ports").c_str());
    DeleteFileW((runFolder_ + L"\\server.log").c_str());
    RemoveDirectoryW(runFolder_.c_str());
}

std::wstring LocalTestServer::Url(const std::wstring& path) const
{
    return L"http://127.0.0.1:" + std::to_wstring(httpPort_) + path;
}

std::wstring LocalTestServer::HttpsUrl(TlsCertificate certificate, const std::wstring& path) const
{
    return L"https://localhost:" + std::to_wstring(httpsPorts_[static_cast<int>(certificate)]) + path;
}

int LocalTestServer::Get(const std::string& target, std::string* body)
{
    return RawGet(httpPort_, target, body);
}

bool LocalTestServer::SetRule(const std::string& path, const std::string& parameters)
{
    std::string answer;
    int status = Get("/__control/set?path=" + EncodeQueryValue(path) + "&" + parameters, &answer);
    EXPECT_EQ(status, 200) << "rule " << path << "?" << parameters << ": " << answer;
    return status == 200;
}

bool LocalTestServer::ClearRequestLog()
{
    return Get("/__control/clear-log") == 200;
}

int LocalTestServer::RequestCount(const std::string& path)
{
    std::string answer;
    if (Get("/__control/count?path=" + EncodeQueryValue(path), &answer) != 200)
        return -1;
    return std::atoi(answer.c_str());
}

std::string LocalTestServer::LatestHeader(const std::string& path, const std::string& name)
{
    std::string answer;
    if (Get("/__control/header?path=" + EncodeQueryValue(path) + "&name=" + EncodeQueryValue(name), &answer) != 200)
        return {};
    return answer;
}

}  // namespace net_test
