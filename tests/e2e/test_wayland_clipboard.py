"""A Wayland session where the compositor hands X programs a copy only while an X window is
active (sway, KWin): with Lexorra2 an XWayland window in the background and a Wayland program
focused, a copy made with wl-copy is looked up exactly once, through the data-control
protocol; files and pictures are not looked up. The cases run under the compositor that
LEXORRA2_E2E_COMPOSITOR names (sway, the default, or kwin); skipped, with the reason, where
it cannot start."""

import json
import os
import pwd
import re
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import E2ETestCase, end_process_group, site_query_url, wait_until
from test_lookup_flow import JAPANESE_DICTIONARY, START_PAGE_URL, LookupSession


class Compositor:
    """A headless compositor with XWayland. As root it runs as the user nobody, in a runtime
    folder of mode 0700 that nobody owns; its clients (wl-copy, a focused window) run as the
    same user."""

    def __init__(self, test: unittest.TestCase):
        self.test = test
        self.runtime = Path()
        self._processes: list[subprocess.Popen] = []
        self.socket = ""
        self.xwayland_display = ""
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            self.prefix = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}",
                           "--clear-groups"]
        else:
            self.prefix = []

    def user_env(self, **extra: str) -> list[str]:
        """The command prefix for a program of the compositor's user."""
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": str(self.runtime),
               "XDG_RUNTIME_DIR": str(self.runtime), **extra}
        return [*self.prefix, "env", "-i", *[f"{k}={v}" for k, v in env.items()]]

    def run_client(self, args: list[str], stdin: bytes | None = None):
        """Runs a Wayland program of the session's user and waits for it (wl-copy forks to
        serve its copy and returns)."""
        # Not captured: wl-copy's serving child keeps its streams open.
        subprocess.run(self.user_env(WAYLAND_DISPLAY=self.socket) + args, input=stdin,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20,
                       check=True)

    def select(self, text: str):
        """Makes text the primary selection, as selecting it in a Wayland program does."""
        self.run_client(["wl-copy", "--primary", text])

    def start_client(self, args: list[str]) -> subprocess.Popen:
        client = subprocess.Popen(self.user_env(WAYLAND_DISPLAY=self.socket) + args,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  start_new_session=True)
        self._processes.append(client)
        return client

    def stop(self):
        for process in reversed(self._processes):
            end_process_group(process)


class Sway(Compositor):
    """A headless sway 1.7 (sway refuses to run as root)."""

    def __init__(self, test: unittest.TestCase):
        super().__init__(test)
        self.runtime = Path(tempfile.mkdtemp(prefix="lexorra2-sway-", dir="/tmp"))
        if self.prefix:
            nobody = pwd.getpwnam("nobody")
            os.chown(self.runtime, nobody.pw_uid, nobody.pw_gid)
        os.chmod(self.runtime, 0o700)

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

    def x_window_focused(self) -> bool:
        return (self.focused() or {}).get("shell") == "xwayland"

    def wayland_program_focused(self) -> bool:
        if (self.focused() or {}).get("shell") == "xdg_shell":
            return True
        # Lexorra2 may still come forward as its start ends: the user clicks back.
        try:
            self.swaymsg('[shell="xdg_shell"] focus')
        except RuntimeError:
            pass  # not mapped yet
        return False

    def stop(self):
        super().stop()
        shutil.rmtree(self.runtime, ignore_errors=True)


class KWin(Compositor):
    """A headless KWin 5.27 (kwin_wayland --virtual) with XWayland on a session bus of its
    own, started by support/run_with_kwin.sh (as the user nobody when run as root); its
    clients run as the same user. The focus is read from XWayland's root window: KWin names
    the active X window there, and none while a Wayland window is active."""

    RUNNER = Path(__file__).resolve().parents[1] / "support" / "run_with_kwin.sh"

    def __init__(self, test: unittest.TestCase):
        super().__init__(test)
        self._focus_checks = 0

    def start(self):
        stderr = tempfile.TemporaryFile()
        # The runner serves its KWin until the command it runs ends: cat, until stop().
        runner = subprocess.Popen(
            [str(self.RUNNER), "sh", "-c",
             'printf "%s\\n%s\\n" "$WAYLAND_DISPLAY" "$DISPLAY"; exec cat >/dev/null'],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=stderr, cwd="/",
            start_new_session=True)
        self._processes.append(runner)
        socket, display = runner.stdout.readline().decode().strip(), \
            runner.stdout.readline().decode().strip()
        if not socket or not display:
            runner.wait(timeout=30)
            stderr.seek(0)
            reason = stderr.read().decode(errors="replace").strip()
            stderr.close()
            if runner.returncode == 77:
                raise unittest.SkipTest(reason)
            raise RuntimeError(f"run_with_kwin.sh failed ({runner.returncode}): {reason}")
        stderr.close()
        self.socket, self.xwayland_display = socket, display
        self.runtime = Path(socket).parent
        return self

    def active_x_window(self) -> int:
        result = subprocess.run(["xprop", "-display", self.xwayland_display, "-root",
                                 "_NET_ACTIVE_WINDOW"], capture_output=True, text=True,
                                timeout=20, check=True)
        found = re.search(r"# (0x[0-9a-f]+)", result.stdout)
        return int(found.group(1), 16) if found else 0

    def x_window_focused(self) -> bool:
        return self.active_x_window() != 0

    def wayland_program_focused(self) -> bool:
        if self.active_x_window() == 0:
            return True
        # Lexorra2 came forward again as its start ended: the user opens another program
        # (a new window takes the focus), once the last one has had a few checks to show.
        self._focus_checks += 1
        if self._focus_checks % 4 == 0:
            self.start_client(["weston-flower"])
        return False

    def select(self, text: str):
        # wl-copy 2.1 takes the primary selection for unsupported unless the compositor tells
        # of one as it connects, which KWin 5.27 does not while there is none: a data-control
        # client of the tests' own holds it instead.
        offer = subprocess.Popen(
            [os.environ["DATA_CONTROL_OFFER"], "--primary", "text/plain;charset=utf-8", "text",
             text], env={**os.environ, "WAYLAND_DISPLAY": self.socket},
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True)
        self._processes.append(offer)
        if offer.stdout.readline() != b"ready\n":
            raise RuntimeError("data_control_offer could not hold KWin's primary selection")

    def stop(self):
        for process in self._processes:
            if process.stdin:
                process.stdin.close()
        for process in self._processes:
            try:
                process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                pass
        super().stop()


def compositor(test: unittest.TestCase) -> Compositor:
    name = os.environ.get("LEXORRA2_E2E_COMPOSITOR", "sway")
    return {"sway": Sway, "kwin": KWin}[name](test)


class WaylandClipboardTest(E2ETestCase):

    def setUp(self):
        self.compositor = compositor(self)
        self.addCleanup(self.compositor.stop)
        self.compositor.start()
        super().setUp()

    def start_in_the_background(self):
        """Lexorra2 as an XWayland window, a Wayland program in front of it."""
        env = self.session.program_env()
        env.update({"WAYLAND_DISPLAY": self.compositor.socket, "XDG_SESSION_TYPE": "wayland",
                    "DISPLAY": self.compositor.xwayland_display})
        self.session.start_program(env=env)
        self.session.wait_for_page(lambda p: p["url"] == START_PAGE_URL)
        wait_until(self.compositor.x_window_focused, 30, 0.2,
                   "Lexorra2's XWayland window to take the focus")

        # A Wayland program takes the focus: Lexorra2 is in the background.
        self.compositor.start_client(["weston-flower"])
        wait_until(self.compositor.wayland_program_focused, 30, 0.5,
                   "a Wayland program to have the focus")

    def test_copies_in_wayland_programs_are_looked_up_in_the_background(self):
        self.start_in_the_background()
        flow = LookupSession(self, self.session)
        since = len(self.session.server.requests())
        self.compositor.run_client(["wl-copy", "--type", "text/uri-list", "file:///etc/passwd"])
        self.compositor.run_client(["wl-copy", "--type", "image/png"], stdin=b"\x89PNG\r\n\x1a\n")
        self.compositor.run_client(["wl-copy", "背景の単語"])
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
        self.compositor.select("選んだ背景の語")
        flow.wait_lookup(since, timeout=30)
        flow.expect_only_since(since, [site_query_url(JAPANESE_DICTIONARY, "選んだ背景の語")],
                               "the selection once")


if __name__ == "__main__":
    unittest.main()
