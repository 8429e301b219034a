"""A Wayland session where the compositor hands X programs a copy only while an X window is
active (sway): with Lexorra2 an XWayland window in the background and a Wayland program
focused, a copy made with wl-copy is looked up exactly once, through the data-control
protocol; files and pictures are not looked up. Skipped, with the reason, where sway cannot
start."""

import json
import os
import pwd
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import E2ETestCase, site_query_url, wait_until
from test_lookup_flow import JAPANESE_DICTIONARY, START_PAGE_URL, LookupSession


class Sway:
    """A headless sway 1.7 with XWayland. sway refuses to run as root: there it runs as the
    user nobody, in a runtime folder of mode 0700 that nobody owns; its clients (wl-copy, a
    focused window) run as the same user."""

    def __init__(self, test: unittest.TestCase):
        self.test = test
        self.runtime = Path(tempfile.mkdtemp(prefix="lexorra2-sway-", dir="/tmp"))
        self._processes: list[subprocess.Popen] = []
        self.socket = ""
        self.xwayland_display = ""
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(self.runtime, nobody.pw_uid, nobody.pw_gid)
            self.prefix = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}",
                           "--clear-groups"]
        else:
            self.prefix = []
        os.chmod(self.runtime, 0o700)

    def user_env(self, **extra: str) -> list[str]:
        """The command prefix for a program of the sway session's user."""
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": str(self.runtime),
               "XDG_RUNTIME_DIR": str(self.runtime), **extra}
        return [*self.prefix, "env", "-i", *[f"{k}={v}" for k, v in env.items()]]

    def start(self):
        if shutil.which("sway") is None:
            raise unittest.SkipTest("sway is not installed (scripts/deps.sh installs it)")
        config = self.runtime / "config"
        config.write_text("xwayland enable\n")
        if self.prefix:
            os.chown(config, pwd.getpwnam("nobody").pw_uid, -1)
        log = open(self.runtime / "sway.log", "wb")
        sway = subprocess.Popen(
            self.user_env(WLR_BACKENDS="headless", WLR_RENDERER="pixman",
                          WLR_LIBINPUT_NO_DEVICES="1") + ["sway", "-c", str(config)],
            cwd="/", stdout=log, stderr=log, start_new_session=True)
        log.close()
        self._processes.append(sway)

        def socket():
            if sway.poll() is not None:
                return "ended"
            found = sorted(self.runtime.glob("wayland-*[0-9]"))
            return str(found[0]) if found and found[0].is_socket() else None
        try:
            found = wait_until(socket, 30, 0.1, "sway's socket")
        except TimeoutError:
            found = "ended"
        if found == "ended" or not list(self.runtime.glob("sway-ipc.*.sock")):
            tail = (self.runtime / "sway.log").read_text(errors="replace")[-400:]
            raise unittest.SkipTest(f"sway could not start here: {tail!r}")
        self.socket = found
        # XWayland's display is what sway hands the programs it starts.
        display_file = self.runtime / "display"
        self.swaymsg("exec", f"echo $DISPLAY > {display_file}")
        self.xwayland_display = wait_until(
            lambda: display_file.exists() and display_file.read_text().strip(), 20, 0.1,
            "sway's XWayland display")
        if self.prefix:
            # XWayland lets in only its own user: Lexorra2 runs as root.
            subprocess.run(self.user_env() + [
                "python3", str(Path(__file__).with_name("x_allow_user.py")),
                self.xwayland_display, "root"], check=True, timeout=30)
        return self

    def swaymsg(self, *args: str) -> str:
        sock = next(self.runtime.glob("sway-ipc.*.sock"))
        result = subprocess.run(self.user_env(SWAYSOCK=str(sock)) + ["swaymsg", *args],
                                capture_output=True, text=True, timeout=20)
        if result.returncode != 0:
            raise RuntimeError(f"swaymsg {' '.join(args)}: {result.stderr.strip()}")
        return result.stdout

    def focused(self) -> dict | None:
        def find(node):
            if node.get("focused"):
                return node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                hit = find(child)
                if hit:
                    return hit
            return None
        return find(json.loads(self.swaymsg("-t", "get_tree", "--raw")))

    def run_client(self, args: list[str], stdin: bytes | None = None):
        """Runs a Wayland program of the session's user and waits for it (wl-copy forks to
        serve its copy and returns)."""
        # Not captured: wl-copy's serving child keeps its streams open.
        subprocess.run(self.user_env(WAYLAND_DISPLAY=self.socket) + args, input=stdin,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20,
                       check=True)

    def start_client(self, args: list[str]) -> subprocess.Popen:
        client = subprocess.Popen(self.user_env(WAYLAND_DISPLAY=self.socket) + args,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  start_new_session=True)
        self._processes.append(client)
        return client

    def stop(self):
        for process in reversed(self._processes):
            if process.poll() is None:
                os.killpg(process.pid, 15)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, 9)
                    process.wait()
        shutil.rmtree(self.runtime, ignore_errors=True)


class WaylandClipboardTest(E2ETestCase):

    def setUp(self):
        self.sway = Sway(self)
        self.addCleanup(self.sway.stop)
        self.sway.start()
        super().setUp()

    def start_in_the_background(self):
        """Lexorra2 as an XWayland window under sway, a Wayland program in front of it."""
        env = self.session.program_env()
        env.update({"WAYLAND_DISPLAY": self.sway.socket, "XDG_SESSION_TYPE": "wayland",
                    "DISPLAY": self.sway.xwayland_display})
        self.session.start_program(env=env)
        self.session.wait_for_page(lambda p: p["url"] == START_PAGE_URL)
        wait_until(lambda: (self.sway.focused() or {}).get("shell") == "xwayland", 30, 0.2,
                   "Lexorra2's XWayland window to take the focus")

        # A Wayland program takes the focus: Lexorra2 is in the background.
        self.sway.start_client(["weston-flower"])

        def wayland_program_focused() -> bool:
            if (self.sway.focused() or {}).get("shell") == "xdg_shell":
                return True
            # Lexorra2 may still come forward as its start ends: the user clicks back.
            try:
                self.sway.swaymsg('[shell="xdg_shell"] focus')
            except RuntimeError:
                pass  # not mapped yet
            return False
        wait_until(wayland_program_focused, 30, 0.2, "a Wayland program to have the focus")

    def test_copies_in_wayland_programs_are_looked_up_in_the_background(self):
        self.start_in_the_background()
        flow = LookupSession(self, self.session)
        since = len(self.session.server.requests())
        self.sway.run_client(["wl-copy", "--type", "text/uri-list", "file:///etc/passwd"])
        self.sway.run_client(["wl-copy", "--type", "image/png"], stdin=b"\x89PNG\r\n\x1a\n")
        self.sway.run_client(["wl-copy", "背景の単語"])
        flow.wait_lookup(since, timeout=30)
        flow.expect_only_since(since, [site_query_url(JAPANESE_DICTIONARY, "背景の単語")],
                               "the word once; the file and the picture not at all")

    def test_a_selection_in_a_wayland_program_is_looked_up_once_settled(self):
        config = self.session.home / ".config" / "lexorra2"
        config.mkdir(parents=True, exist_ok=True)
        (config / "lexorra2.conf").write_text("lookUpSelection=true\n", encoding="utf-8")
        self.start_in_the_background()
        flow = LookupSession(self, self.session)
        since = len(self.session.server.requests())
        self.sway.run_client(["wl-copy", "--primary", "選んだ背景の語"])
        flow.wait_lookup(since, timeout=30)
        flow.expect_only_since(since, [site_query_url(JAPANESE_DICTIONARY, "選んだ背景の語")],
                               "the selection once")


if __name__ == "__main__":
    unittest.main()
