// The tests' HTTP server: tools/test_server.py, started by the test
// program itself on free ports of 127.0.0.1, with one plain HTTP port and
// three HTTPS ports (a valid certificate for "localhost", an expired one and
// one issued for another host, all signed by the test CA). Rules and the
// request log are reached through its control interface over a plain
// socket, so that nothing the tests check goes through the code under test.
// A program that links this file starts the server before its first test;
// with PICTORA_TEST_SERVER_ROOT (a Unix path) defined it serves that folder.
//
// Under Wine a Linux program is started with CreateProcessW on its Unix
// path mapped through drive Z:, but its process handle cannot be waited
// on: the server is told to stop through its control interface, and it
// stops by itself after a bounded lifetime in any case.
#pragma once

#include <windows.h>

#include <string>

namespace net_test {

enum class TlsCertificate { Valid = 0, Expired = 1, OtherHost = 2 };

class LocalTestServer {
public:
    LocalTestServer() = default;
    ~LocalTestServer() { Stop(); }
    LocalTestServer(const LocalTestServer&) = delete;
    LocalTestServer& operator=(const LocalTestServer&) = delete;

    // Starts the server and waits until every port listens; false (with the
    // reason in Failure()) when it does not come up.
    bool Start();
    void Stop();
    bool Running() const { return httpPort_ != 0; }
    const std::string& Failure() const { return failure_; }

    int HttpPort() const { return httpPort_; }
    // "http://127.0.0.1:<port><path>"
    std::wstring Url(const std::wstring& path) const;
    // "https://localhost:<port><path>" on the port with that certificate.
    std::wstring HttpsUrl(TlsCertificate certificate, const std::wstring& path) const;

    // Sets the rule of `path`: `parameters` as in a rule of test_server.py,
    // "status=404&body=x" (values already URL-encoded). True when accepted.
    bool SetRule(const std::string& path, const std::string& parameters);
    // Forgets the requests recorded so far; true when the server agreed.
    bool ClearRequestLog();
    // Requests recorded for `path`, -1 when the server does not answer.
    int RequestCount(const std::string& path);
    // The value of header `name` in the latest request for `path`; empty
    // when there is no such request or header.
    std::string LatestHeader(const std::string& path, const std::string& name);

    // One GET of `target` on the HTTP port; returns the status (0 when
    // the server did not answer) and the body.
    int Get(const std::string& target, std::string* body = nullptr);

private:
    int httpPort_ = 0;
    int httpsPorts_[3] = {};
    std::wstring runFolder_;
    std::string failure_;
};

// The server of this test program, started by the test environment.
LocalTestServer& TheServer();

// An unused port on 127.0.0.1 (bound, then released): nothing answers there.
int UnusedPort();

// The Windows view (drive Z:) of a Unix path and back; the test program
// passes Unix paths to the server and opens the same files itself.
std::wstring WindowsPathOf(const std::string& unixPath);

}  // namespace net_test
