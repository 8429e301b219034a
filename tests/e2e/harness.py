"""End-to-end harness: the built lexorra2 on a virtual X display.

One Session gives a test its own world: an Xvfb display, the openbox window manager, a site
server on 127.0.0.1 that the program's browser uses as its HTTP proxy (so every host the
program visits is answered here and every request line is recorded byte for byte), a
temporary HOME with an empty documents folder, and the program itself. Every process the
session starts is ended by its id when the session stops.

A test case derives from E2ETestCase, which starts a session in setUp (without the program,
so that the test can choose when and how to start it), keeps a screenshot of the display
when the test fails, and stops everything in tearDown:

    class MyCase(E2ETestCase):
        def test_something(self):
            self.session.start_program()
            window = self.session.wait_for_main_window()
            self.session.set_clipboard("辞書")
            request = self.session.server.wait_for_request(lambda r: b"/search" in r.line)

Standard library only; the X tools (Xvfb, openbox, xdotool, xclip, import/convert) are
Debian packages listed in scripts/deps.sh.
"""

from __future__ import annotations

import base64
import contextlib
import http.server
import json
import os
import re
import shutil
import signal
import socket
import socketserver
import struct
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.parse
import urllib.request
from dataclasses import dataclass, field
from pathlib import Path
from typing import Callable, Iterable

MAIN_WINDOW_TITLE = "Lexorra2 professional 64bit ver1.11"
SCREEN_SIZE = (1280, 1024)

REPO_ROOT = Path(__file__).resolve().parents[2]


def program_path() -> Path:
    """The lexorra2 under test: $LEXORRA2_BIN (set by ctest), else the default build."""
    env = os.environ.get("LEXORRA2_BIN")
    return Path(env).resolve() if env else REPO_ROOT / "build" / "src" / "app" / "lexorra2"


# The first line of a report by AddressSanitizer, LeakSanitizer or UBSan, in a build with them.
SANITIZER_REPORT = re.compile(r"^==\d+==ERROR: \w+Sanitizer|^SUMMARY: \w+Sanitizer|"
                              r"^\S+:\d+:\d+: runtime error: ", re.M)

# Every sanitizer report a session's program made, "session name: report", in order; the
# cases fail on the ones that came while they ran (E2ETestCase.fail_on_sanitizer_reports).
sanitizer_reports: list[str] = []


def sanitizer_report(text: str) -> str:
    """The first sanitizer report in a program's error output, "" when there is none."""
    m = SANITIZER_REPORT.search(text)
    return text[m.start():m.start() + 6000] if m else ""


def artifacts_dir() -> Path:
    """Where screenshots of failing cases are kept."""
    env = os.environ.get("E2E_ARTIFACTS")
    path = Path(env) if env else REPO_ROOT / "build" / "e2e-artifacts"
    path.mkdir(parents=True, exist_ok=True)
    return path


def end_process_group(process: subprocess.Popen):
    """Ends a process started with start_new_session=True, and everything it started: asked
    first, then killed after 10 s."""
    if process.poll() is None:
        os.killpg(process.pid, 15)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, 9)
            process.wait()


def wait_until(predicate: Callable[[], object], timeout: float, interval: float = 0.05,
               what: str = "condition"):
    """Polls predicate until it returns a true value, which is returned; TimeoutError after
    timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


def free_tcp_port() -> int:
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


# --------------------------------------------------------------------------- site server

@dataclass
class Request:
    """One request the site server received."""
    time: float          # time.monotonic() at arrival
    line: bytes          # the request line exactly as sent, without CR LF
    method: str
    target: str          # absolute-form URL for proxied requests, host:port for CONNECT
    host: str
    path: str            # path and query, as sent
    headers: dict = field(default_factory=dict)


@dataclass
class Page:
    body: bytes
    status: int = 200
    content_type: str = "text/html; charset=utf-8"


def default_page(host: str, path: str) -> Page:
    title = f"Site {host}{path}"[:200]
    body = (f"<!DOCTYPE html><html><head><meta charset='utf-8'><title>{_html(title)}</title>"
            f"</head><body><h1>{_html(host)}</h1><p>{_html(path)}</p></body></html>")
    return Page(body.encode("utf-8"))


def _html(text: str) -> str:
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


class SiteServer:
    """An HTTP server on 127.0.0.1 that answers for every host, as a proxy would.

    Requests arrive in absolute form ("GET http://host/path HTTP/1.1") when the browser uses
    the server as its proxy, or in origin form when a page is asked for directly. Every
    request line is recorded (in memory and, one per line, in log_path) exactly as its bytes
    came. Pages are served from `pages`, keyed by (host, path) or by path alone; anything
    else gets a small page titled "Site <host><path>". CONNECT (https) is refused with 502,
    so no test ever reaches the internet.
    """

    SERVER_MODES = ("reset", "close", "stall", "404-empty", "500-empty", "404-page", "slow")
    STALL_LIMIT = 120.0
    OWN_ERROR_PAGE_TEXT = "該当する項目は見つかりませんでした"

    def __init__(self, log_path: Path):
        self.log_path = log_path
        self.pages: dict = {}
        self.failures: dict[str, tuple[str, float]] = {}   # host -> (mode, delay)
        self._releases: dict[str, threading.Event] = {}     # held host -> its release
        self._stopping = threading.Event()
        # The page for any (host, path) that `pages` does not name.
        self.default_page: Callable[[str, str], Page] = default_page
        self._requests: list[Request] = []
        self._cond = threading.Condition()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):  # the request log replaces the console noise
                pass

            def handle_one_request(self):
                # Keep the raw request line: BaseHTTPRequestHandler decodes it as latin-1.
                try:
                    super().handle_one_request()
                except (ConnectionError, TimeoutError):
                    self.close_connection = True

            def parse_request(self):
                ok = super().parse_request()
                if ok:
                    server._record(self)
                return ok

            def do_CONNECT(self):
                self.send_response(502, "No internet in tests")
                self.send_header("Content-Length", "0")
                self.end_headers()
                self.close_connection = True

            def _fail(self, mode: str, delay: float, host: str, with_body: bool):
                """Answers as a failing site does; False when the mode still serves the
                page (slow, held)."""
                if mode == "reset":
                    self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                               struct.pack("ii", 1, 0))
                    self.connection.close()
                elif mode == "close":
                    self.connection.shutdown(socket.SHUT_RDWR)
                elif mode == "stall":
                    server._stopping.wait(SiteServer.STALL_LIMIT)
                elif mode == "slow":
                    server._stopping.wait(delay)
                    return False
                elif mode == "held":
                    server._releases[host].wait(SiteServer.STALL_LIMIT)
                    return False
                else:
                    status = int(mode.split("-")[0])
                    body = b""
                    if mode == "404-page":
                        body = (f"<!DOCTYPE html><html><head><meta charset='utf-8'>"
                                f"<title>{_html(host)} 検索結果</title></head><body><h1>"
                                f"{SiteServer.OWN_ERROR_PAGE_TEXT}</h1></body></html>"
                                ).encode("utf-8")
                    self.send_response(status)
                    self.send_header("Content-Type", "text/html; charset=utf-8")
                    self.send_header("Content-Length", str(len(body)))
                    self.send_header("Cache-Control", "no-store")
                    self.end_headers()
                    if with_body:
                        self.wfile.write(body)
                    return True
                self.close_connection = True
                return True

            def _serve(self, with_body: bool):
                host, path = server._split_target(self.path, self.headers.get("Host", ""))
                if host in server.failures and self._fail(*server.failures[host], host,
                                                          with_body):
                    return
                page = server.pages.get((host, path)) or server.pages.get(path) \
                    or server.default_page(host, path)
                if callable(page):
                    page = page(host, path)
                self.send_response(page.status)
                self.send_header("Content-Type", page.content_type)
                self.send_header("Content-Length", str(len(page.body)))
                self.send_header("Cache-Control", "no-store")
                self.end_headers()
                if with_body:
                    self.wfile.write(page.body)

            def do_GET(self):
                self._serve(True)

            def do_POST(self):
                length = int(self.headers.get("Content-Length") or 0)
                if length:
                    self.rfile.read(length)
                self._serve(True)

            def do_HEAD(self):
                self._serve(False)

        class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
            daemon_threads = True
            allow_reuse_address = True

        self._httpd = Server(("127.0.0.1", 0), Handler)
        self.port = self._httpd.server_address[1]
        self._thread = threading.Thread(target=self._httpd.serve_forever, daemon=True)
        self._log = open(log_path, "ab")

    @property
    def proxy(self) -> str:
        return f"http://127.0.0.1:{self.port}"

    def url(self, path: str = "/") -> str:
        return f"http://127.0.0.1:{self.port}{path}"

    def start(self):
        self._thread.start()

    def fail(self, host: str, mode: str, delay: float = 2.0):
        """Makes every request for host fail in this way from now on (SERVER_MODES)."""
        if mode not in self.SERVER_MODES:
            raise ValueError(f"the server can't fail with {mode!r}; Session.fail knows more")
        self.failures[host.lower()] = (mode, delay)

    def hold(self, host: str):
        """Every request for host waits for release(host) before its page is served."""
        self._releases[host.lower()] = threading.Event()
        self.failures[host.lower()] = ("held", 0.0)

    def release(self, host: str):
        """The requests held for host get their pages, and later ones get theirs at once."""
        self._releases[host.lower()].set()

    def heal(self, host: str):
        """host answers normally again."""
        self.failures.pop(host.lower(), None)

    def stop(self):
        self._stopping.set()
        for release in self._releases.values():
            release.set()
        self._httpd.shutdown()
        self._httpd.server_close()
        self._thread.join(timeout=5)
        self._log.close()

    @staticmethod
    def _split_target(target: str, host_header: str) -> tuple[str, str]:
        m = re.match(r"^[A-Za-z][A-Za-z0-9+.-]*://([^/?#]*)(.*)$", target)
        if m:
            return m.group(1).lower(), m.group(2) or "/"
        return host_header.lower(), target

    def _record(self, handler):
        raw = handler.raw_requestline.rstrip(b"\r\n")
        host, path = self._split_target(handler.path, handler.headers.get("Host", ""))
        request = Request(time.monotonic(), raw, handler.command, handler.path, host, path,
                          dict(handler.headers.items()))
        with self._cond:
            self._requests.append(request)
            self._log.write(raw + b"\n")
            self._log.flush()
            self._cond.notify_all()

    def requests(self) -> list[Request]:
        with self._cond:
            return list(self._requests)

    def wait_for_request(self, predicate: Callable[[Request], bool], timeout: float = 20.0,
                         since: int = 0) -> Request:
        """The first request (from index `since` on) that satisfies predicate."""
        deadline = time.monotonic() + timeout
        with self._cond:
            while True:
                for request in self._requests[since:]:
                    if predicate(request):
                        return request
                left = deadline - time.monotonic()
                if left <= 0:
                    lines = b"\n".join(r.line for r in self._requests).decode("latin-1")
                    raise TimeoutError(f"no matching request after {timeout:.1f} s; "
                                       f"received:\n{lines}")
                self._cond.wait(left)


# --------------------------------------------------------------------------- screenshots

class Screenshot:
    """A capture of the whole display, readable pixel by pixel."""

    def __init__(self, path: Path, display: str):
        self.path = path
        subprocess.run(["import", "-display", display, "-window", "root", str(path)],
                       check=True, timeout=30, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self._rgb = subprocess.run(["convert", str(path), "-depth", "8", "rgb:-"],
                                   check=True, timeout=30, capture_output=True).stdout
        size = subprocess.run(["identify", "-format", "%w %h", str(path)], check=True,
                              timeout=30, capture_output=True, text=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])

    def pixel(self, x: int, y: int) -> tuple[int, int, int]:
        i = (y * self.width + x) * 3
        return self._rgb[i], self._rgb[i + 1], self._rgb[i + 2]

    def crop(self, geometry: "Geometry", path: Path):
        subprocess.run(["convert", str(self.path), "-crop",
                        f"{geometry.width}x{geometry.height}+{geometry.x}+{geometry.y}",
                        "+repage", str(path)], check=True, timeout=30)


def close_to(colour: tuple[int, int, int], expected: tuple[int, int, int], tolerance: int = 3):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


# --------------------------------------------------------------------------- processes

def _read_stat(pid: int) -> tuple[int, int] | None:
    """(parent pid, session id) of a process, None when it is gone."""
    try:
        text = Path(f"/proc/{pid}/stat").read_text()
    except OSError:
        return None
    fields = text[text.rindex(")") + 2:].split()
    return int(fields[1]), int(fields[3])


def processes_in_session(sid: int) -> list[int]:
    pids = []
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit():
            stat = _read_stat(int(entry.name))
            if stat and stat[1] == sid:
                pids.append(int(entry.name))
    return sorted(pids)


def _end_process(process: subprocess.Popen, grace: float = 5.0):
    if process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout=grace)


def _end_pid(pid: int):
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


@dataclass
class Geometry:
    x: int
    y: int
    width: int
    height: int


# --------------------------------------------------------------------------- session

class Session:
    """Xvfb + openbox + site server + temporary HOME, and the program when asked for."""

    def __init__(self, name: str = "e2e", remote_debugging: bool = True):
        self.name = name
        # Short: the runtime folder below holds the program's local socket, and a socket's
        # path must fit in 107 bytes.
        self.tmp = Path(tempfile.mkdtemp(prefix=f"lexorra2-{name[:32]}-"))
        self.home = self.tmp / "home"
        self.documents = self.home / "Documents"
        self.documents.mkdir(parents=True)
        (self.home / ".config").mkdir()
        self.display = ""
        self.display_server: subprocess.Popen | None = None   # Xvfb
        self.server = SiteServer(self.tmp / "requests.log")
        self.program: subprocess.Popen | None = None
        self.program_started_at = 0.0
        self.program_args: list[str] = []
        self.devtools_port = free_tcp_port() if remote_debugging else 0
        self._helpers: list[subprocess.Popen] = []   # Xvfb, openbox, xclip, ...
        self._program_sid = 0
        self._stdout = open(self.tmp / "program.out", "wb")
        self._stderr = open(self.tmp / "program.err", "wb")
        self._refused_hosts: list[str] = []
        self._unresolved_hosts: list[str] = []
        self._closed_port: socket.socket | None = None

    def fail(self, host: str, mode: str, delay: float = 2.0):
        """Makes a host fail in one of the ways of SiteServer.fail, or "refuse" (the
        connection is refused) or "unresolved" (the host name is unknown). Those two are the
        browser's own doing: it reaches such a host directly, not through the site server, so
        they must be set before the program starts."""
        if mode in ("refuse", "unresolved"):
            if self.program is not None:
                raise RuntimeError(f"{mode!r} must be set before the program starts")
            (self._refused_hosts if mode == "refuse" else self._unresolved_hosts).append(host)
        else:
            self.server.fail(host, mode, delay)

    def _refusing_port(self) -> int:
        """A port on 127.0.0.1 that is bound but never listens: connecting is refused, and no
        other program can take the port while the session runs."""
        if self._closed_port is None:
            self._closed_port = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            self._closed_port.bind(("127.0.0.1", 0))
        return self._closed_port.getsockname()[1]

    def _browser_network_flags(self) -> list[str]:
        bypass = ["<-loopback>", *self._refused_hosts, *self._unresolved_hosts]
        flags = [f"--proxy-server={self.server.proxy}", f"--proxy-bypass-list={';'.join(bypass)}"]
        rules = [f"MAP {h} 127.0.0.1:{self._refusing_port()}" for h in self._refused_hosts]
        rules += [f"MAP {h} ~NOTFOUND" for h in self._unresolved_hosts]
        if rules:
            # The engine splits its flags at blanks except inside double quotes.
            flags.append(f'--host-resolver-rules="{",".join(rules)}"')
        return flags

    # -- start and stop

    def start(self):
        try:
            self._start_display()
            self._start_window_manager()
            self.server.start()
        except BaseException:
            self.stop()
            raise
        return self

    def _start_display(self):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN_SIZE[0]}x{SCREEN_SIZE[1]}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._helpers.append(xvfb)
        self.display_server = xvfb
        os.close(write_end)
        # Xvfb picks a free display number itself and writes it once it accepts clients.
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or xvfb.poll() is not None:
                os.close(read_end)
                raise RuntimeError("Xvfb did not start")
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def _start_window_manager(self):
        openbox = subprocess.Popen(["openbox", "--sm-disable"], env=self.base_env(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._helpers.append(openbox)
        # openbox is ready once it has claimed the _NET_SUPPORTING_WM_CHECK window.
        wait_until(lambda: b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in subprocess.run(
            ["xprop", "-root", "-display", self.display, "_NET_SUPPORTING_WM_CHECK"],
            capture_output=True, timeout=10).stdout, 20, 0.1, "openbox")

    def stop(self):
        """Ends every process of the session by its id and removes the temporary files; a
        sanitizer report the program made goes to sanitizer_reports."""
        try:
            self.end_program()
        finally:
            report = ""
            if self.program and not self._stderr.closed:
                report = sanitizer_report(self.program_stderr())
            if report:
                sanitizer_reports.append(f"{self.name}: {report}")
            for helper in reversed(self._helpers):
                try:
                    _end_process(helper)
                except Exception:
                    pass
            self._helpers.clear()
            if self._closed_port is not None:
                self._closed_port.close()
            try:
                self.server.stop()
            except Exception:
                pass
            self._stdout.close()
            self._stderr.close()
            shutil.rmtree(self.tmp, ignore_errors=True)

    def base_env(self) -> dict:
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "WAYLAND_", "XDG_", "DBUS_SESSION"))}
        env.update({
            "DISPLAY": self.display,
            "HOME": str(self.home),
            "XDG_CONFIG_HOME": str(self.home / ".config"),
            "XDG_DOCUMENTS_DIR": str(self.documents),
            "XDG_RUNTIME_DIR": str(self._runtime_dir()),
            "LANG": "ja_JP.UTF-8" if _has_locale("ja_JP.utf8") else "C.UTF-8",
        })
        # The program's own logs, e.g. "lexorra2.loads.debug=true", into the stderr artifact.
        if os.environ.get("E2E_LOGGING_RULES"):
            env["QT_LOGGING_RULES"] = os.environ["E2E_LOGGING_RULES"]
        return env

    def _runtime_dir(self) -> Path:
        path = self.tmp / "runtime"
        path.mkdir(mode=0o700, exist_ok=True)
        return path

    def program_env(self) -> dict:
        env = self.base_env()
        env["QTWEBENGINE_CHROMIUM_FLAGS"] = " ".join([
            *self._browser_network_flags(),
            "--no-sandbox", "--disable-gpu",
            "--disable-background-networking", "--disable-component-update",
        ])
        if os.geteuid() == 0:
            env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        if self.devtools_port:
            env["QTWEBENGINE_REMOTE_DEBUGGING"] = f"127.0.0.1:{self.devtools_port}"
        return env

    # -- the program

    def start_program(self, args: Iterable[str] = (), env: dict | None = None,
                      program: Path | None = None, stdin=None) -> subprocess.Popen:
        """Starts lexorra2 in its own session, so that its browser processes can be found.
        stdin as for subprocess.Popen (subprocess.PIPE to write to the program)."""
        self.program_args = [str(program or program_path()), *args]
        self.program_started_at = time.monotonic()
        self.program = subprocess.Popen(self.program_args, env=env or self.program_env(),
                                        cwd=self.home, stdin=stdin, stdout=self._stdout,
                                        stderr=self._stderr, start_new_session=True)
        self._program_sid = self.program.pid
        return self.program

    def program_processes(self) -> list[int]:
        """Every live process of the program's session: the program and its children."""
        return processes_in_session(self._program_sid) if self._program_sid else []

    def wait_program_exit(self, timeout: float = 20.0) -> int:
        return self.program.wait(timeout=timeout)

    def end_program(self):
        if self.program is None:
            return
        leftovers = self.program_processes()
        _end_process(self.program)
        for pid in leftovers:
            if pid != self.program.pid:
                _end_pid(pid)

    def program_stderr(self) -> str:
        self._stderr.flush()
        return (self.tmp / "program.err").read_text(errors="replace")

    # -- X helpers

    def xdotool(self, *args: str, timeout: float = 20.0, check: bool = True) -> str:
        result = subprocess.run(["xdotool", *args], env=self.base_env(), capture_output=True,
                                text=True, timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout

    def find_windows(self, name_regex: str, pid: int | None = None,
                     visible: bool = True) -> list[int]:
        args = ["search", "--all"]
        if visible:
            args.append("--onlyvisible")
        if pid is not None:
            args += ["--pid", str(pid)]
        args += ["--name", name_regex]
        out = self.xdotool(*args, check=False)
        return [int(w) for w in out.split()]

    def wait_for_window(self, name_regex: str, timeout: float = 30.0,
                        pid: int | None = None) -> int:
        """The first visible window whose name matches name_regex."""
        return wait_until(lambda: (self.find_windows(name_regex, pid) or [None])[0], timeout,
                          0.1, f"a window named /{name_regex}/")

    def wait_for_main_window(self, timeout: float = 30.0) -> int:
        return self.wait_for_window("^" + re.escape(MAIN_WINDOW_TITLE) + "$", timeout)

    def window_name(self, window: int) -> str:
        return self.xdotool("getwindowname", str(window)).rstrip("\n")

    def window_geometry(self, window: int) -> Geometry:
        """Position on the screen and size of the window's client area."""
        # xwininfo rather than xdotool, which counts the frame's offset twice once a window
        # manager has reparented the window.
        out = subprocess.run(["xwininfo", "-id", str(window)], env=self.base_env(),
                             capture_output=True, text=True, timeout=10, check=True).stdout
        value = lambda label: int(re.search(rf"^\s*{label}:\s*(-?\d+)", out, re.M).group(1))
        return Geometry(value("Absolute upper-left X"), value("Absolute upper-left Y"),
                        value("Width"), value("Height"))

    def activate(self, window: int):
        self.xdotool("windowactivate", "--sync", str(window))

    def key(self, *keys: str):
        """Key strokes to the focused window, e.g. key("alt+F4"), key("ctrl+v", "Return")."""
        self.xdotool("key", "--delay", "50", *keys)

    def type_text(self, text: str):
        self.xdotool("type", "--delay", "20", text)

    def pointer(self) -> tuple[int, int]:
        """Where the mouse pointer is on the screen."""
        out = self.xdotool("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"])

    def click(self, x: int, y: int, button: int = 1, window: int | None = None):
        """A click at (x, y): screen coordinates, or relative to window's client area."""
        if window is not None:
            origin = self.window_geometry(window)
            x, y = origin.x + x, origin.y + y
        # xdotool's --sync waits for the pointer to move, which a pointer already there never
        # does: it would give up only after seconds, or never on a busy machine.
        if self.pointer() != (x, y):
            self.xdotool("mousemove", "--sync", str(x), str(y))
        self.xdotool("click", str(button))

    def close_window(self, window: int, attempts: int = 3):
        """Closes the window as a user does: Alt+F4, which openbox turns into a close request.
        A key pressed while openbox is still moving the focus can be lost, so the key is
        pressed again while the window stays on the screen."""
        for _ in range(attempts):
            self.activate(window)
            self.key("alt+F4")
            try:
                wait_until(lambda: self.map_state(window) != "IsViewable", 5, 0.1,
                           "the window to close")
                return
            except TimeoutError:
                continue

    def action_bar_items(self, window: int) -> list[tuple[int, int]]:
        """The items of the first row of the window's action bar, left to right, each as the
        range of the client area's columns that its text covers; 12 or more blank columns part
        them."""
        geometry = self.window_geometry(window)
        shot = self.screenshot(self.tmp / "bar.png")
        y0, y1 = geometry.y + 4, geometry.y + 24
        dark = [any(sum(shot.pixel(x, y)) < 300 for y in range(y0, y1))
                for x in range(geometry.x, geometry.x + geometry.width)]
        items, start, gap = [], None, 0
        for x, has_text in enumerate(dark):
            if has_text:
                if start is None:
                    start = x
                gap = 0
            elif start is not None:
                gap += 1
                if gap >= 12:
                    items.append((start, x - gap))
                    start = None
        return items

    def active_window(self) -> int:
        """The window that the window manager names active (_NET_ACTIVE_WINDOW), 0 for none."""
        out = subprocess.run(["xprop", "-root", "-display", self.display, "_NET_ACTIVE_WINDOW"],
                             capture_output=True, text=True, timeout=10).stdout
        m = re.search(r"window id # (0x[0-9a-fA-F]+)", out)
        return int(m.group(1), 16) if m else 0

    def stacking_order(self) -> list[int]:
        """The managed windows from bottom to top (_NET_CLIENT_LIST_STACKING)."""
        out = subprocess.run(["xprop", "-root", "-display", self.display,
                              "_NET_CLIENT_LIST_STACKING"],
                             capture_output=True, text=True, timeout=10).stdout
        return [int(w, 16) for w in re.findall(r"0x[0-9a-fA-F]+", out)]

    def map_state(self, window: int) -> str:
        """"IsViewable", "IsUnMapped" or "IsUnviewable", as xwininfo reports it."""
        out = subprocess.run(["xwininfo", "-id", str(window)], env=self.base_env(),
                             capture_output=True, text=True, timeout=10).stdout
        m = re.search(r"Map State:\s*(\w+)", out)
        return m.group(1) if m else ""

    def start_helper(self, args: list[str]) -> subprocess.Popen:
        """Another X client on the display (a window to cover the program's, say), ended with
        the session."""
        helper = subprocess.Popen(args, env=self.base_env(), stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        self._helpers.append(helper)
        return helper

    def set_clipboard(self, text: str | bytes, target: str = "UTF8_STRING",
                      selection: str = "clipboard"):
        """Makes an xclip process the owner of the CLIPBOARD selection (or of selection, such
        as "primary") with this text."""
        data = text.encode("utf-8") if isinstance(text, str) else text
        xclip = subprocess.Popen(["xclip", "-quiet", "-selection", selection, "-t", target,
                                  "-i"], env=self.base_env(), stdin=subprocess.PIPE,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._helpers.append(xclip)
        xclip.stdin.write(data)
        xclip.stdin.close()
        # Owner once xclip answers a read of the selection with the text.
        wait_until(lambda: self.get_clipboard(target, selection) == data, 10, 0.05,
                   "xclip to own the clipboard")

    def get_clipboard(self, target: str = "UTF8_STRING", selection: str = "clipboard") -> bytes:
        """What the clipboard's owner gives; nothing when it does not answer within 2 s (an
        owner that never answers may still hold the clipboard a moment after a new copy)."""
        try:
            result = subprocess.run(["xclip", "-o", "-selection", selection, "-t", target],
                                    env=self.base_env(), capture_output=True, timeout=2)
        except subprocess.TimeoutExpired:
            return b""
        return result.stdout if result.returncode == 0 else b""

    def screenshot(self, path: Path) -> Screenshot:
        return Screenshot(path, self.display)

    def window_screenshot(self, window: int | str, path: Path):
        """A picture of one window with its frame, as a user sees it ("root": the screen)."""
        frame = [] if window == "root" else ["-frame"]
        subprocess.run(["import", "-display", self.display, *frame, "-window", str(window),
                        str(path)], check=True, timeout=30, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def still_screenshot(self, window: int | str, path: Path, unlike: bytes | None = None,
                         timeout: float = 30) -> bytes:
        """A picture of the window once its painting has ended: two grabs in a row alike (and,
        with unlike, different from that picture). Returns the picture's bytes."""
        previous = path.with_suffix(".previous" + path.suffix)
        self.window_screenshot(window, previous)

        def still() -> bool:
            self.window_screenshot(window, path)
            picture = path.read_bytes()
            if picture == previous.read_bytes() and picture != unlike:
                return True
            path.replace(previous)
            return False

        wait_until(still, timeout, 0.2, "the window to stop changing")
        return path.read_bytes()

    # -- the browser engine, seen through its remote debugging endpoint

    def devtools_pages(self) -> list[dict]:
        """The engine's pages: dicts with "url" and "title". Empty until the engine runs."""
        if not self.devtools_port:
            raise RuntimeError("the session was made without remote debugging")
        try:
            with urllib.request.urlopen(
                    f"http://127.0.0.1:{self.devtools_port}/json/list", timeout=2) as reply:
                return [p for p in json.load(reply) if p.get("type") == "page"]
        except (OSError, ValueError):
            return []

    def wait_for_page(self, predicate: Callable[[dict], bool], timeout: float = 30.0) -> dict:
        return wait_until(lambda: next((p for p in self.devtools_pages() if predicate(p)), None),
                          timeout, 0.05, "a page in the browser engine")


class DevToolsPage:
    """A connection to one page of the browser engine over the DevTools protocol, for what a
    test cannot do from outside: evaluate script in the page, read its state.

        with DevToolsPage(page["webSocketDebuggerUrl"]) as page:
            title = page.evaluate("document.title")
    """

    def __init__(self, ws_url: str, timeout: float = 10.0):
        m = re.match(r"^ws://([^/:]+):(\d+)(/.*)$", ws_url)
        if not m:
            raise ValueError(f"not a DevTools address: {ws_url}")
        self._sock = socket.create_connection((m.group(1), int(m.group(2))), timeout=timeout)
        key = base64.b64encode(os.urandom(16)).decode()
        self._sock.sendall((f"GET {m.group(3)} HTTP/1.1\r\nHost: {m.group(1)}:{m.group(2)}\r\n"
                            f"Upgrade: websocket\r\nConnection: Upgrade\r\n"
                            f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n")
                           .encode())
        reply = b""
        while b"\r\n\r\n" not in reply:
            chunk = self._sock.recv(4096)
            if not chunk:
                raise ConnectionError("DevTools closed the connection")
            reply += chunk
        if b" 101 " not in reply.split(b"\r\n", 1)[0]:
            raise ConnectionError(reply.split(b"\r\n", 1)[0].decode(errors="replace"))
        self._buffer = reply.split(b"\r\n\r\n", 1)[1]
        self._next_id = 0

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        try:
            self._sock.close()
        except OSError:
            pass

    def _send(self, text: str):
        data = text.encode()
        header = bytearray([0x81])
        if len(data) < 126:
            header.append(0x80 | len(data))
        elif len(data) < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(data))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(data))
        mask = os.urandom(4)
        self._sock.sendall(bytes(header) + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))

    def _read(self, n: int) -> bytes:
        while len(self._buffer) < n:
            chunk = self._sock.recv(65536)
            if not chunk:
                raise ConnectionError("DevTools closed the connection")
            self._buffer += chunk
        data, self._buffer = self._buffer[:n], self._buffer[n:]
        return data

    def _receive(self) -> str:
        message = b""
        while True:
            first, second = self._read(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack(">H", self._read(2))[0]
            elif length == 127:
                length = struct.unpack(">Q", self._read(8))[0]
            payload = self._read(length)
            opcode = first & 0x0F
            if opcode == 0x8:
                raise ConnectionError("DevTools closed the connection")
            if opcode in (0x1, 0x0, 0x2):
                message += payload
                if first & 0x80:
                    return message.decode()

    def call(self, method: str, params: dict | None = None) -> dict:
        """Sends one command and returns its result (events that come meanwhile are dropped)."""
        self._next_id += 1
        self._send(json.dumps({"id": self._next_id, "method": method, "params": params or {}}))
        while True:
            reply = json.loads(self._receive())
            if reply.get("id") == self._next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})

    def evaluate(self, expression: str, user_gesture: bool = False):
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                "userGesture": user_gesture})
        if "exceptionDetails" in result:
            raise RuntimeError(f"script failed: {result['exceptionDetails']}")
        return result.get("result", {}).get("value")


def _has_locale(name: str) -> bool:
    try:
        out = subprocess.run(["locale", "-a"], capture_output=True, text=True, timeout=10).stdout
    except OSError:
        return False
    return name.lower() in out.lower().split()


def url_tool_path() -> Path:
    """lexorra2-url of the same build as the program under test."""
    return program_path().parents[1] / "tools" / "lexorra2-url"


FAILURE_PAGE_PREFIX = "lexorra2-failure://page/"


def shown_address(url: str) -> str:
    """The address a tab stands for: the failed one while the program's failure page (at an
    address of its own scheme, carrying the failed address) is shown."""
    if not url.startswith(FAILURE_PAGE_PREFIX):
        return url
    encoded = urllib.parse.parse_qs(urllib.parse.urlsplit(url).query)["address"][0]
    return base64.urlsafe_b64decode(encoded + "=" * (-len(encoded) % 4)).decode("latin-1")


def site_query_url(site_key: str, text: str) -> str:
    """The URL that a lookup of text at one site loads, as the program builds it."""
    return subprocess.run([str(url_tool_path()), site_key, text], capture_output=True,
                          text=True, timeout=10, check=True).stdout.rstrip("\n")


def tools_available() -> list[str]:
    """The X tools the harness needs that are missing."""
    return [tool for tool in ("Xvfb", "openbox", "xdotool", "xclip", "xprop", "xwininfo", "import",
                         "convert", "identify")
            if shutil.which(tool) is None]


# --------------------------------------------------------------------------- test case

class E2ETestCase(unittest.TestCase):
    """A case with its own Session (display, window manager, site server, HOME); a failing
    case leaves a screenshot of the display in artifacts_dir()."""

    remote_debugging = True

    def setUp(self):
        missing = tools_available()
        if missing:
            self.fail(f"tools missing for the end-to-end tests: {', '.join(missing)} "
                      f"(scripts/deps.sh installs them)")
        if not program_path().exists():
            self.fail(f"program not built: {program_path()}")
        self.fail_on_sanitizer_reports()
        self.session = Session(self.id().rsplit(".", 1)[-1],
                               remote_debugging=self.remote_debugging).start()
        self.addCleanup(self.session.stop)

    def fail_on_sanitizer_reports(self):
        """The case fails when the program reports to a sanitizer while it runs; the report
        is read when the session stops (cleanups run last first, so register this first)."""
        since = len(sanitizer_reports)

        def check():
            if len(sanitizer_reports) > since:
                self.fail("the program made a sanitizer report:\n"
                          + "\n".join(sanitizer_reports[since:]))
        self.addCleanup(check)

    def _callTestMethod(self, method):
        try:
            super()._callTestMethod(method)
        except unittest.SkipTest:
            raise
        except BaseException:
            self.keep_screenshot()
            raise

    @contextlib.contextmanager
    def subTest(self, msg=None, **params):
        """As unittest's, and a failing part leaves its own screenshot too."""
        with super().subTest(msg, **params):
            try:
                yield
            except unittest.SkipTest:
                raise
            except BaseException:
                part = re.sub(r"[^\w-]+", "_", str(msg or params)).strip("_")[:60]
                self.keep_screenshot(f"failure-{part}")
                raise

    def keep_screenshot(self, suffix: str = "failure") -> Path | None:
        path = artifacts_dir() / f"{self.id()}-{suffix}.png"
        try:
            self.session.screenshot(path)
            err = self.session.program_stderr()
            (artifacts_dir() / f"{self.id()}-stderr.txt").write_text(err)
            return path
        except Exception:
            return None
