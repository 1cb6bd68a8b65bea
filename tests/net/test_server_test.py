"""Checks tools/test_server.py and tools/make_test_certs over real sockets.

Run from the repository root:
    python3 -m unittest tests/net/test_server_test.py
or  python3 -m unittest discover -s tests/net -p '*_test.py'
"""
import http.client
import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.error
import urllib.parse
import urllib.request
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
SERVER = REPO / "tools" / "test_server.py"
MAKE_CERTS = REPO / "tools" / "make_test_certs"


def pattern(n):
    """The generated body: byte i is i % 251."""
    period = bytes(range(251))
    return (period * (n // 251 + 1))[:n]


class Server:
    """One test_server.py process on free ports of 127.0.0.1."""

    def __init__(self, *args, tls=()):
        self.tmp = tempfile.TemporaryDirectory()
        self.port_file = os.path.join(self.tmp.name, "ports")
        cmd = [sys.executable, str(SERVER), "--port-file", self.port_file]
        for cert, key in tls:
            cmd += ["--cert", cert, "--key", key]
        cmd += list(args)
        self.proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        first = self.proc.stdout.readline().split()
        if first[:1] != ["PORT"]:
            self.proc.kill()
            raise RuntimeError("server did not start: %r %s" % (first, self.proc.stderr.read()))
        self.port = int(first[1])
        self.https_ports = [int(self.proc.stdout.readline().split()[1]) for _ in tls]
        self.stdout_lines = "PORT %d\n" % self.port + "".join("HTTPS_PORT %d\n" % p for p in self.https_ports)

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.port, path)

    def control(self, command, **params):
        """(status, text) of a control request."""
        query = urllib.parse.urlencode(params, doseq=True)
        try:
            with urllib.request.urlopen(self.url("/__control/%s?%s" % (command, query)), timeout=5) as r:
                return r.status, r.read().decode()
        except urllib.error.HTTPError as e:
            return e.code, e.read().decode()

    def set(self, path, **params):
        status, text = self.control("set", path=path, **params)
        assert status == 200, text

    def records(self, path=None):
        status, text = self.control("requests", **({"path": path} if path else {}))
        assert status == 200
        return [json.loads(line) for line in text.splitlines()]

    def connection(self):
        return http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)

    def stop(self):
        if self.proc.poll() is None:
            try:
                self.control("shutdown")
            except OSError:
                pass
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc.stdout.close()
        self.proc.stderr.close()
        self.tmp.cleanup()


def raw_exchange(port, request, pause=0.0):
    """Sends raw bytes, reads until the server closes.
    Returns (head, body, ended) with ended 'eof' or 'reset'."""
    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        s.sendall(request)
        if pause:
            time.sleep(pause)
        data, ended = b"", "eof"
        try:
            while True:
                piece = s.recv(65536)
                if not piece:
                    break
                data += piece
        except ConnectionResetError:
            ended = "reset"
    head, _, body = data.partition(b"\r\n\r\n")
    return head.decode("latin-1"), body, ended


def header_lines(head):
    return [line.split(":", 1)[0].lower() for line in head.split("\r\n")[1:]]


def vm_hwm_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise AssertionError("no VmHWM")


class ServingTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        base = Path(cls.dir.name)
        root = base / "site"
        (root / "sub").mkdir(parents=True)
        (root / "hello.txt").write_bytes(b"hello, world\n")
        (root / "sub" / "data.bin").write_bytes(pattern(70000))
        (base / "secret.txt").write_bytes(b"outside the root\n")
        rules = base / "rules.json"
        rules.write_text(json.dumps({"/from-json": {"status": 500, "body": "json rule"},
                                     "/json-headers": {"body": "x", "header": ["X-A: 1", "X-B: 2"]}}))
        cls.server = Server("--root", str(root), "--lifetime", "60", "--rules", str(rules),
                            "--rule", "/from-cli?status=418", "--rule", "/big.bin?size=3145735")

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.dir.cleanup()

    def get(self, path, method="GET", headers=None):
        conn = self.server.connection()
        conn.request(method, path, headers=headers or {})
        r = conn.getresponse()
        body = r.read()
        conn.close()
        return r, body

    def test_port_file_matches_stdout(self):
        with open(self.server.port_file) as f:
            self.assertEqual(f.read(), self.server.stdout_lines)
        self.assertEqual(self.server.control("ping"), (200, "ok\n"))

    def test_files_from_root(self):
        for path, body in [("/hello.txt", b"hello, world\n"), ("/sub/data.bin", pattern(70000)),
                           ("/hello.txt?x=1", b"hello, world\n")]:
            with self.subTest(path=path):
                r, got = self.get(path)
                self.assertEqual(r.status, 200)
                self.assertEqual(got, body)
                self.assertEqual(r.getheader("Content-Length"), str(len(body)))

    def test_missing_folder_and_outside_root_are_404(self):
        # Any ".." segment is refused, even one that stays inside the root.
        for path in ["/nope.txt", "/sub", "/sub/", "/sub/../hello.txt", "/../secret.txt", "/sub/../../secret.txt",
                     "/%2e%2e/secret.txt", "/sub/%2E%2E/%2E%2E/secret.txt", "/..%5csecret.txt"]:
            with self.subTest(path=path):
                r, body = self.get(path)
                self.assertEqual(r.status, 404)
                self.assertNotIn(b"outside", body)
                self.assertEqual(r.getheader("Content-Length"), str(len(body)))

    def test_generated_body_is_the_pattern(self):
        # Sizes around the period and around the sizes of the pieces sent.
        for size in [0, 1, 250, 251, 252, 65536, 1048575, 1048576, 1048577, 1048678, 1048679, 3145735]:
            with self.subTest(size=size):
                self.server.set("/gen", size=size)
                r, body = self.get("/gen")
                self.assertEqual(r.status, 200)
                self.assertEqual(r.getheader("Content-Length"), str(size))
                self.assertEqual(len(body), size)
                self.assertTrue(body == pattern(size), "content differs")
                r, body = self.get("/__fixed/%d" % size)
                self.assertTrue(body == pattern(size), "/__fixed content differs")

    def test_generated_body_in_small_pieces(self):
        for size, chunk in [(10007, 1000), (600, 1), (2000, 251), (1048700, 300000)]:
            with self.subTest(size=size, chunk=chunk):
                self.server.set("/pieces", size=size, chunk=chunk)
                r, body = self.get("/pieces")
                self.assertTrue(body == pattern(size))

    def test_large_generated_body_is_streamed(self):
        size = 64 << 20
        before = vm_hwm_kib(self.server.proc.pid)
        conn = self.server.connection()
        conn.request("GET", "/__fixed/%d" % size)
        r = conn.getresponse()
        got, tail = 0, b""
        while True:
            piece = r.read(1 << 20)
            if not piece:
                break
            got += len(piece)
            tail = (tail + piece)[-1000:]
        conn.close()
        self.assertEqual(got, size)
        self.assertEqual(tail, pattern(size)[-1000:])
        growth_mib = (vm_hwm_kib(self.server.proc.pid) - before) / 1024
        self.assertLess(growth_mib, 16, "server memory grew with the body")

    def test_status_answers(self):
        cases = [
            ({"status": 404}, 404, b"404 Not Found\n"),
            ({"status": 500, "body": "server broke"}, 500, b"server broke"),
            ({"status": 503}, 503, b"503 Service Unavailable\n"),
            ({"status": 500, "size": 300}, 500, pattern(300)),
            ({"status": 201}, 201, b"hello, world\n"),     # 2xx: the file of the path
            ({"status": 404, "file": "hello.txt"}, 404, b"hello, world\n"),
        ]
        for params, status, body in cases:
            with self.subTest(params=params):
                self.server.set("/hello.txt", **params)
                try:
                    r, got = self.get("/hello.txt")
                finally:
                    self.server.control("clear", path="/hello.txt")
                self.assertEqual(r.status, status)
                self.assertEqual(got, body)
                self.assertEqual(r.getheader("Content-Length"), str(len(body)))
                self.assertIsNone(r.getheader("Connection"))

    def test_rules_given_at_start(self):
        for path, status, body in [("/from-cli", 418, None), ("/from-json", 500, b"json rule"),
                                   ("/big.bin", 200, pattern(3145735))]:
            with self.subTest(path=path):
                r, got = self.get(path)
                self.assertEqual(r.status, status)
                if body is not None:
                    self.assertTrue(got == body)
        r, _ = self.get("/json-headers")
        self.assertEqual((r.getheader("X-A"), r.getheader("X-B")), ("1", "2"))

    def test_bodiless_statuses(self):
        self.server.set("/empty", status=204)
        conn = self.server.connection()
        for _ in range(2):  # the connection stays usable after the empty answer
            conn.request("GET", "/empty")
            r = conn.getresponse()
            self.assertEqual((r.status, r.read(), r.getheader("Content-Length")), (204, b"", None))
        conn.close()

    def test_head_announces_length_without_body(self):
        self.server.set("/head", size=5000)
        conn = self.server.connection()
        conn.request("HEAD", "/head")
        r = conn.getresponse()
        self.assertEqual((r.status, r.getheader("Content-Length"), r.read()), (200, "5000", b""))
        conn.request("GET", "/hello.txt")  # same connection: nothing stray was sent
        self.assertEqual(conn.getresponse().read(), b"hello, world\n")
        conn.close()

    def test_without_content_length_the_close_ends_the_body(self):
        for params, body in [({"size": 200000}, pattern(200000)), ({"body": "short"}, b"short"),
                             ({}, b"hello, world\n")]:
            with self.subTest(params=params):
                self.server.set("/hello.txt", nolength=1, **params)
                try:
                    head, got, ended = raw_exchange(self.server.port, b"GET /hello.txt HTTP/1.1\r\nHost: t\r\n\r\n")
                finally:
                    self.server.control("clear", path="/hello.txt")
                self.assertTrue(head.startswith("HTTP/1.1 200"))
                self.assertNotIn("content-length", header_lines(head))
                self.assertIn("Connection: close", head)
                self.assertEqual((got, ended), (body, "eof"))

    def test_slow_body_arrives_in_pieces(self):
        self.server.set("/slow", size=2000, chunk=500, delay=150)
        with socket.create_connection(("127.0.0.1", self.server.port), timeout=10) as s:
            start = time.monotonic()
            s.sendall(b"GET /slow HTTP/1.1\r\nHost: t\r\n\r\n")
            data, first_body_at = b"", None
            while b"\r\n\r\n" not in data or len(data.partition(b"\r\n\r\n")[2]) < 2000:
                piece = s.recv(65536)
                self.assertTrue(piece, "closed early")
                data += piece
                if first_body_at is None and data.partition(b"\r\n\r\n")[2]:
                    first_body_at = time.monotonic() - start
            total = time.monotonic() - start
        head, _, body = data.partition(b"\r\n\r\n")
        self.assertIn(b"Content-Length: 2000", head)
        self.assertEqual(body, pattern(2000))
        self.assertGreaterEqual(total, 3 * 0.150 * 0.9)           # three pauses between four pieces
        self.assertLess(first_body_at, total - 0.2)               # the first piece came before the rest

    def test_cut_connection_announces_full_length(self):
        for abort, ending in [(False, "eof"), (True, "reset")]:
            with self.subTest(abort=abort):
                params = {"size": 100000, "cut": 30000}
                if abort:
                    params["abort"] = 1
                self.server.set("/cut", **params)
                head, body, ended = raw_exchange(self.server.port, b"GET /cut HTTP/1.1\r\nHost: t\r\n\r\n",
                                                 pause=0.1)
                self.assertIn("Content-Length: 100000", head)
                self.assertEqual(ended, ending)
                self.assertEqual(body, pattern(30000))

    def test_ranges(self):
        """206 parts of every body source, 416 past the end, whole bodies for
        the forms not served and with noranges."""
        self.server.set("/r-gen", size=100000)
        self.server.set("/r-file", file="sub/data.bin")
        self.server.set("/r-none", size=100000, noranges=1)
        cases = [
            ("/r-gen", "bytes=60000-", 206, pattern(100000)[60000:], "bytes 60000-99999/100000"),
            ("/r-gen", "bytes=10-19", 206, pattern(100000)[10:20], "bytes 10-19/100000"),
            ("/r-file", "bytes=69999-", 206, pattern(70000)[69999:], "bytes 69999-69999/70000"),
            ("/r-gen", "bytes=100000-", 416, None, "bytes */100000"),
            ("/r-gen", "bytes=-500", 200, pattern(100000), None),
            ("/r-gen", "bytes=1-2,5-6", 200, pattern(100000), None),
            ("/r-none", "bytes=60000-", 200, pattern(100000), None),
        ]
        for path, range_header, status, body, content_range in cases:
            with self.subTest(path=path, range=range_header):
                r, got = self.get(path, headers={"Range": range_header})
                self.assertEqual(r.status, status)
                self.assertEqual(r.getheader("Content-Range"), content_range)
                if body is not None:
                    self.assertEqual(got, body)
                    self.assertEqual(r.getheader("Content-Length"), str(len(body)))
                accepts = None if path == "/r-none" or status == 416 else "bytes"
                self.assertEqual(r.getheader("Accept-Ranges"), accepts)

    def test_a_range_answer_is_cut_after_its_own_bytes_and_sent_bytes_are_counted(self):
        self.server.set("/r-cut", size=100000, cut=30000)
        self.server.control("clear-log")
        head, body, _ = raw_exchange(self.server.port, b"GET /r-cut HTTP/1.1\r\nHost: t\r\n"
                                     b"Range: bytes=50000-\r\n\r\n", pause=0.1)
        self.assertIn("206", head.split("\r\n")[0])
        self.assertEqual(body, pattern(100000)[50000:80000])
        self.assertEqual(self.server.control("sent", path="/r-cut"), (200, "30000\n"))
        self.assertEqual(self.server.control("sent"), (200, "30000\n"))

    def test_stall_and_hang_hold_the_connection_silent(self):
        self.server.set("/stall", size=100000, stall=1000)
        self.server.set("/hang", hang=1)
        for path, expected in [("/stall", pattern(1000)), ("/hang", b"")]:
            with self.subTest(path=path):
                with socket.create_connection(("127.0.0.1", self.server.port), timeout=10) as sock:
                    sock.sendall(b"GET %s HTTP/1.1\r\nHost: t\r\n\r\n" % path.encode())
                    sock.settimeout(1.5)
                    data = b""
                    with self.assertRaises(socket.timeout):
                        while True:
                            piece = sock.recv(65536)
                            self.assertTrue(piece, "the server closed instead of holding")
                            data += piece
                    self.assertEqual(data.partition(b"\r\n\r\n")[2], expected)
                    if path == "/hang":
                        self.assertEqual(data, b"")

    def test_cut_seen_by_http_client(self):
        self.server.set("/cut-file", file="sub/data.bin", cut=1234)
        conn = self.server.connection()
        conn.request("GET", "/cut-file")
        r = conn.getresponse()
        with self.assertRaises(http.client.IncompleteRead) as caught:
            r.read()
        self.assertEqual(caught.exception.partial, pattern(1234))
        conn.close()

    def test_redirects(self):
        self.server.set("/target", body="arrived")
        absolute = self.server.url("/target")
        for params, status in [({"location": "/target"}, 302), ({"status": 301, "location": "/target"}, 301),
                               ({"status": 307, "location": absolute}, 307)]:
            with self.subTest(params=params):
                self.server.set("/from", **params)
                self.server.control("clear-log")
                r, body = self.get("/from")
                self.assertEqual(r.status, status)
                self.assertEqual(r.getheader("Location"), params["location"])
                self.assertEqual(r.getheader("Content-Length"), str(len(body)))
                with urllib.request.urlopen(self.server.url("/from"), timeout=5) as followed:
                    self.assertEqual(followed.read(), b"arrived")
                self.assertEqual([rec["path"] for rec in self.server.records()], ["/from", "/from", "/target"])

    def test_rule_for_a_number_of_requests(self):
        self.server.set("/hello.txt", status=500, times=2)
        statuses = [self.get("/hello.txt")[0].status for _ in range(3)]
        self.assertEqual(statuses, [500, 500, 200])

    def test_prefix_rules(self):
        self.server.set("/pre/*", status=410)
        self.server.set("/pre/deep/*", status=409)
        self.server.set("/pre/exact", status=200, body="exact")
        try:
            for path, status in [("/pre/a", 410), ("/pre/", 410), ("/pre/deep/x/y", 409),
                                 ("/pre/exact", 200), ("/pre/exact/more", 410), ("/prefix", 404)]:
                with self.subTest(path=path):
                    self.assertEqual(self.get(path)[0].status, status)
        finally:
            for path in ("/pre/*", "/pre/deep/*", "/pre/exact"):
                self.server.control("clear", path=path)

    def test_extra_headers_type_and_close(self):
        self.server.set("/h", body="<x/>", type="application/xml", header=["X-One: 1", "X-Two: two words"],
                        close=1)
        head, body, ended = raw_exchange(self.server.port, b"GET /h HTTP/1.1\r\nHost: t\r\n\r\n")
        self.assertIn("Content-Type: application/xml", head)
        self.assertIn("X-One: 1\r\n", head)
        self.assertIn("X-Two: two words", head)
        self.assertIn("Connection: close", head)
        self.assertEqual((body, ended), (b"<x/>", "eof"))

    def test_a_request_asking_to_close_is_answered_with_close(self):
        for request, expected in ((b"GET /hello.txt HTTP/1.1\r\nHost: t\r\nConnection: close\r\n\r\n", True),
                                  (b"GET /hello.txt HTTP/1.1\r\nHost: t\r\nConnection: keep-alive\r\n\r\n",
                                   False)):
            with self.subTest(request=request):
                with socket.create_connection(("127.0.0.1", self.server.port), timeout=10) as s:
                    s.sendall(request)
                    head = b""
                    while b"\r\n\r\n" not in head:
                        piece = s.recv(4096)
                        if not piece:
                            break
                        head += piece
                self.assertEqual("Connection: close" in head.decode("latin-1"), expected)

    def test_keep_alive_across_behaviours(self):
        self.server.set("/ka-404", status=404)
        self.server.set("/ka-500", status=500, body="broken")
        self.server.set("/ka-slow", size=1500, chunk=500, delay=20)
        self.server.set("/ka-redirect", location="/hello.txt")
        self.server.set("/ka-fixed", size=100000)
        sequence = [("GET", "/hello.txt", 200, b"hello, world\n"), ("GET", "/ka-404", 404, b"404 Not Found\n"),
                    ("GET", "/ka-500", 500, b"broken"), ("GET", "/ka-slow", 200, pattern(1500)),
                    ("GET", "/ka-redirect", 302, b"Redirecting to /hello.txt\n"), ("HEAD", "/ka-fixed", 200, b""),
                    ("GET", "/ka-fixed", 200, pattern(100000)), ("GET", "/nothing", 404, b"404 Not Found\n"),
                    ("POST", "/hello.txt", 200, b"hello, world\n"), ("GET", "/hello.txt", 200, b"hello, world\n")]
        self.server.control("clear-log")
        conn = self.server.connection()
        for method, path, status, body in sequence:
            if method == "POST":
                conn.request(method, path, body=b"x" * 5000)
            else:
                conn.request(method, path)
            r = conn.getresponse()
            self.assertEqual((path, r.status, r.read()), (path, status, body))
        conn.close()
        records = self.server.records()
        self.assertEqual([r["path"] for r in records], [p for _, p, _, _ in sequence])
        self.assertEqual(len({r["conn"] for r in records}), 1, "all on one connection")
        self.assertEqual([r["conn_seq"] for r in records], list(range(1, len(sequence) + 1)))
        self.assertEqual(records[8]["body_length"], 5000)

    def test_invalid_rules_are_refused(self):
        for params in [{"path": "/x", "code": "404"}, {"path": "/x", "status": "abc"}, {"path": "/x", "size": "-1"},
                       {"path": "/x", "chunk": "0"}, {"path": "/x", "delay": "60000"},
                       {"path": "/x", "body": "a", "size": "3"}, {"path": "/x", "header": "NoColon"},
                       {"path": "/x", "status": "42"}, {"status": "404"}, {"path": "x", "status": "404"}]:
            with self.subTest(params=params):
                status, text = self.server.control("set", **params)
                self.assertEqual(status, 400, text)
                status, rules = self.server.control("rules")
                self.assertEqual(status, 200)
                self.assertNotIn("/x", json.loads(rules))
        self.assertEqual(self.server.control("no-such-command")[0], 404)

    def test_invalid_start_options_stop_the_server(self):
        for args in [["--rule", "/x?code=404"], ["--rule", "no-slash"], ["--cert", "a.pem"], ["--lifetime", "0"],
                     ["--root", "/nonexistent/folder"]]:
            with self.subTest(args=args):
                done = subprocess.run([sys.executable, str(SERVER)] + args, capture_output=True, text=True,
                                      timeout=10)
                self.assertEqual(done.returncode, 2, done.stderr)
                self.assertEqual(done.stdout, "")


class RequestLogTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.log = os.path.join(self.tmp.name, "requests.jsonl")
        self.server = Server("--lifetime", "60", "--log", self.log)
        self.addCleanup(self.tmp.cleanup)
        self.addCleanup(self.server.stop)

    def send(self, path, headers):
        conn = self.server.connection()
        conn.putrequest("GET", path, skip_host=True, skip_accept_encoding=True)
        for name, value in headers:
            conn.putheader(name, value)
        conn.endheaders()
        conn.getresponse().read()
        conn.close()

    def test_headers_recorded_in_order_with_duplicates(self):
        headers = [("Accept", "application/xml, */*"), ("Referer", "http://www.example.invalid/start"),
                   ("User-Agent", "Test Agent 1.0"), ("Host", "127.0.0.1"), ("X-Dup", "1"),
                   ("Content-Type", "application/json"), ("X-Dup", "2")]
        self.send("/a?q=1&r=2", headers)
        [record] = self.server.records()
        self.assertEqual(record["headers"], [list(h) for h in headers])
        self.assertEqual((record["method"], record["path"], record["query"], record["target"], record["version"]),
                         ("GET", "/a", "q=1&r=2", "/a?q=1&r=2", "HTTP/1.1"))
        self.assertEqual((record["scheme"], record["port"]), ("http", self.server.port))
        self.assertTrue(record["client"].startswith("127.0.0.1:"))

    def test_header_and_count_queries(self):
        self.send("/b", [("User-Agent", "first"), ("Referer", "r1")])
        self.send("/b", [("User-Agent", "second")])
        self.send("/c", [("User-Agent", "third")])
        cases = [(("header", {"path": "/b", "name": "user-agent"}), (200, "second")),
                 (("header", {"path": "/b", "name": "Referer"}), (404, "no such request or header\n")),
                 (("header", {"path": "/c", "name": "User-Agent"}), (200, "third")),
                 (("header", {"path": "/none", "name": "User-Agent"}), (404, "no such request or header\n")),
                 (("count", {"path": "/b"}), (200, "2\n")),
                 (("count", {"path": "/none"}), (200, "0\n")),
                 (("count", {}), (200, "3\n"))]
        for (command, params), expected in cases:
            with self.subTest(command=command, params=params):
                self.assertEqual(self.server.control(command, **params), expected)
        self.assertEqual([r["headers"][0][1] for r in self.server.records("/b")], ["first", "second"])

    def test_control_requests_are_not_recorded_and_log_can_be_cleared(self):
        self.server.set("/x", status=404)
        self.server.control("ping")
        self.send("/x", [("Host", "h")])
        self.assertEqual([r["path"] for r in self.server.records()], ["/x"])
        self.assertEqual(self.server.control("clear-log"), (200, "ok\n"))
        self.assertEqual(self.server.records(), [])
        self.send("/y", [("Host", "h")])
        self.assertEqual([r["seq"] for r in self.server.records()], [2])

    def test_log_file_holds_every_request(self):
        for path in ("/one", "/two", "/three"):
            self.send(path, [("Host", "h"), ("User-Agent", path)])
        served = self.server.records()
        with open(self.log) as f:
            logged = [json.loads(line) for line in f]
        self.assertEqual(logged, served)
        self.assertEqual([r["path"] for r in logged], ["/one", "/two", "/three"])


class LifetimeTest(unittest.TestCase):
    def test_stops_by_itself_after_its_lifetime(self):
        start = time.monotonic()
        server = Server("--lifetime", "1")
        self.addCleanup(server.stop)
        self.assertEqual(server.control("ping"), (200, "ok\n"))
        self.assertEqual(server.proc.wait(10), 0)
        self.assertLess(time.monotonic() - start, 4)
        self.assertIn("lifetime", server.proc.stderr.read())
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.1", server.port), timeout=2).close()

    def test_shutdown_request_stops_it_during_a_slow_answer(self):
        server = Server("--lifetime", "60")
        self.addCleanup(server.stop)
        server.set("/slow", size=100000, chunk=100, delay=1000)
        slow = socket.create_connection(("127.0.0.1", server.port), timeout=10)
        self.addCleanup(slow.close)
        slow.sendall(b"GET /slow HTTP/1.1\r\nHost: t\r\n\r\n")
        slow.recv(1000)
        start = time.monotonic()
        self.assertEqual(server.control("shutdown"), (200, "bye\n"))
        self.assertEqual(server.proc.wait(5), 0)
        self.assertLess(time.monotonic() - start, 3)

    def test_listens_on_loopback_only(self):
        server = Server("--lifetime", "60")
        self.addCleanup(server.stop)
        listening = []
        for table in ("/proc/net/tcp", "/proc/net/tcp6"):
            with open(table) as f:
                for line in f.readlines()[1:]:
                    local, state = line.split()[1], line.split()[3]
                    address, port = local.rsplit(":", 1)
                    if state == "0A" and int(port, 16) == server.port:
                        listening.append((table, address))
        self.assertEqual(listening, [("/proc/net/tcp", "0100007F")])


class HttpsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.certs = Path(cls.tmp.name) / "certs"
        subprocess.run([str(MAKE_CERTS), str(cls.certs)], check=True, timeout=60)
        c = cls.certs
        cls.server = Server("--lifetime", "60", tls=[(str(c / "localhost.pem"), str(c / "localhost.key")),
                                                     (str(c / "expired.pem"), str(c / "expired.key")),
                                                     (str(c / "other-host.pem"), str(c / "other-host.key"))])
        cls.valid, cls.expired, cls.other = cls.server.https_ports

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.tmp.cleanup()

    def context(self):
        return ssl.create_default_context(cafile=str(self.certs / "ca.pem"))

    def fetch(self, port, path, host="localhost", ctx=None):
        conn = http.client.HTTPSConnection(host, port, timeout=10, context=ctx or self.context())
        try:
            conn.request("GET", path)
            r = conn.getresponse()
            return r.status, r.read()
        finally:
            conn.close()

    def test_valid_certificate_is_accepted(self):
        status, body = self.fetch(self.valid, "/__fixed/100000")
        self.assertEqual(status, 200)
        self.assertTrue(body == pattern(100000))

    def test_bad_certificates_are_refused(self):
        no_ca = ssl.create_default_context()  # the system's roots only
        for name, port, host, ctx, code in [("expired", self.expired, "localhost", None, 10),
                                            ("other host", self.other, "localhost", None, 62),
                                            ("valid, asked by address", self.valid, "127.0.0.1", None, 64),
                                            ("CA not trusted", self.valid, "localhost", no_ca, 20)]:
            with self.subTest(name):
                with self.assertRaises(ssl.SSLCertVerificationError) as caught:
                    self.fetch(port, "/__fixed/10", host=host, ctx=ctx)
                self.assertEqual(caught.exception.verify_code, code, caught.exception.verify_message)

    def test_rules_and_log_are_shared_with_plain_http(self):
        self.server.set("/shared", status=500, body="over tls")
        self.server.control("clear-log")
        self.assertEqual(self.fetch(self.valid, "/shared"), (500, b"over tls"))
        [record] = self.server.records("/shared")
        self.assertEqual((record["scheme"], record["port"]), ("https", self.valid))
        self.assertEqual(self.fetch(self.valid, "/__control/count?path=/shared"), (200, b"1\n"))

    def test_a_silent_client_does_not_hold_up_others(self):
        with socket.create_connection(("127.0.0.1", self.valid), timeout=10):
            # No ClientHello from this one; the handshake waits in its own thread.
            self.assertEqual(self.fetch(self.valid, "/__fixed/5"), (200, pattern(5)))

    def test_certificate_contents(self):
        cases = [("ca.pem", "CN = Pictora Test CA", "CA:TRUE", None),
                 ("localhost.pem", "CN = localhost", "CA:FALSE", "DNS:localhost"),
                 ("expired.pem", "CN = localhost", "CA:FALSE", "DNS:localhost"),
                 ("other-host.pem", "CN = other.invalid", "CA:FALSE", "DNS:other.invalid")]
        for name, subject, basic, san in cases:
            with self.subTest(name):
                text = subprocess.run(["openssl", "x509", "-in", str(self.certs / name), "-noout", "-subject",
                                       "-ext", "basicConstraints,subjectAltName"],
                                      capture_output=True, text=True, check=True).stdout
                self.assertIn(subject, text)
                self.assertIn(basic, text)
                if san:
                    self.assertIn(san, text)
                    self.assertEqual(text.count("DNS:"), 1)
        der = subprocess.run(["openssl", "x509", "-in", str(self.certs / "ca.pem"), "-outform", "DER"],
                             capture_output=True, check=True).stdout
        self.assertEqual((self.certs / "ca.der").read_bytes(), der)

    def test_making_certificates_again_keeps_what_fits(self):
        folder = Path(self.tmp.name) / "again"
        shutil.copytree(self.certs, folder)
        before = {p.name: p.read_bytes() for p in folder.iterdir()}
        subprocess.run([str(MAKE_CERTS), str(folder)], check=True, timeout=60)
        self.assertEqual({p.name: p.read_bytes() for p in folder.iterdir()}, before)

        (folder / "expired.pem").unlink()
        subprocess.run([str(MAKE_CERTS), str(folder)], check=True, timeout=60)
        after = {p.name: p.read_bytes() for p in folder.iterdir()}
        self.assertEqual(set(after), set(before))
        self.assertNotEqual(after["expired.pem"], before["expired.pem"])
        self.assertEqual({k: v for k, v in after.items() if not k.startswith("expired.")},
                         {k: v for k, v in before.items() if not k.startswith("expired.")})
        verify = subprocess.run(["openssl", "verify", "-no_check_time", "-CAfile", str(folder / "ca.pem"),
                                 str(folder / "expired.pem")], capture_output=True, text=True)
        self.assertEqual(verify.returncode, 0, verify.stdout + verify.stderr)


if __name__ == "__main__":
    unittest.main()
