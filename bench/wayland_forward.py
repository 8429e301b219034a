#!/usr/bin/env python3
"""What bringing Lexorra2's window forward does under a headless Wayland compositor, as an
XWayland window and as a native Wayland window (QT_QPA_PLATFORM=wayland).

    python3 bench/wayland_forward.py [sway|kwin ...] [--platform xcb|wayland ...]
                                     [--sway-activation urgent|focus|smart|none]

For each compositor and platform: Lexorra2 starts, a Wayland window (tests/support/activation_token, a
stand-in for the launcher or terminal the user is in) takes the focus, and then
  1. `lexorra2 --look-up WORD` (as a copy would),
  2. `lexorra2 --raise` without a token (a key bound to the command where the desktop gives
     no token: sway 1.7's `bindsym ... exec`),
  3. `lexorra2 --raise` with a token the focused window got from the compositor (a launcher
     that hands its token on, as Plasma's shortcuts and GNOME's launchers do).
After each the compositor is asked which window has the focus and whether Lexorra2's is
marked urgent (demands attention). Prints one line per step and a JSON summary.

sway runs as in tests/e2e/test_wayland_clipboard.py; KWin 5.27 as `kwin_wayland --virtual
--xwayland` in a dbus-run-session, as the user nobody (its binary copied to a folder of its
own: its file capability fails under a changed user), queried through its scripting D-Bus
interface. Needs the built program and launcher window (`cmake --build build --target lexorra2
activation_token`).
"""

import argparse
import json
import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "tests" / "e2e"))

from harness import MAIN_WINDOW_TITLE, Session, program_path, wait_until  # noqa: E402
from test_lookup_flow import START_PAGE_URL  # noqa: E402
from test_wayland_clipboard import Sway  # noqa: E402

LAUNCHER_TITLE = "launcher"


def token_client() -> Path:
    """tests/support/activation_token, built with the tests."""
    built = HERE.parent / "build" / "tests" / "support" / "activation_token"
    if not built.exists():
        sys.exit(f"build it first: cmake --build build --target activation_token ({built})")
    return built


class SwayDesktop(Sway):
    name = "sway 1.7"
    # focus_on_window_activation: sway's default is urgent.
    activation_policy = ""

    def start(self):
        super().start()
        if self.activation_policy:
            self.swaymsg("focus_on_window_activation", self.activation_policy)
        return self

    def windows(self) -> list[dict]:
        found = []

        def walk(node):
            if node.get("type") in ("con", "floating_con") and node.get("name") is not None:
                found.append({"title": node["name"], "focused": node.get("focused", False),
                              "urgent": node.get("urgent", False), "shell": node.get("shell")})
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(json.loads(self.swaymsg("-t", "get_tree", "--raw")))
        return found

    def focus(self, title: str):
        self.swaymsg(f'[title="^{title}$"] focus')

    def start_client(self, args, stdin=None) -> subprocess.Popen:
        client = subprocess.Popen(self.user_env(WAYLAND_DISPLAY=self.socket) + args,
                                  stdin=stdin, stdout=subprocess.PIPE if stdin else
                                  subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  start_new_session=True, text=True)
        self._processes.append(client)
        return client


class KWinDesktop:
    """kwin_wayland --virtual --xwayland of its own, as nobody, in a dbus-run-session."""
    name = "KWin 5.27"

    def __init__(self, test):
        self.runtime = Path(tempfile.mkdtemp(prefix="lexorra2-kwin-", dir="/tmp"))
        os.chmod(self.runtime, 0o700)
        self.prefix = []
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            self.prefix = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}",
                           "--clear-groups"]
        self._processes: list[subprocess.Popen] = []
        self._queries = 0
        self.socket = self.xwayland_display = self.bus = ""

    def user_env(self, **extra: str) -> list[str]:
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": str(self.runtime),
               "XDG_RUNTIME_DIR": str(self.runtime), **extra}
        return [*self.prefix, "env", "-i", *[f"{k}={v}" for k, v in env.items()]]

    def start(self):
        if shutil.which("kwin_wayland") is None:
            raise unittest.SkipTest("kwin_wayland is not installed")
        (self.runtime / "bin").mkdir()
        kwin = self.runtime / "bin" / "kwin_wayland"
        shutil.copy("/usr/bin/kwin_wayland", kwin)
        session = self.runtime / "session.sh"
        session.write_text("#!/bin/sh\necho \"$DISPLAY $WAYLAND_DISPLAY "
                           f"$DBUS_SESSION_BUS_ADDRESS\" > {self.runtime}/env\n"
                           "exec sleep 100000\n")
        session.chmod(0o755)
        if self.prefix:
            for path in [self.runtime, *self.runtime.rglob("*")]:
                os.chown(path, pwd.getpwnam("nobody").pw_uid, -1)
        log = open(self.runtime / "kwin.log", "wb")
        self._processes.append(subprocess.Popen(
            self.user_env(QT_LOGGING_RULES="kwin_scripting=true") +
            ["dbus-run-session", "--", str(kwin), "--virtual", "--xwayland", "--width", "1280",
             "--height", "1024", "--exit-with-session", str(session)],
            cwd="/", stdout=log, stderr=log, start_new_session=True))
        env_file = self.runtime / "env"
        line = wait_until(lambda: env_file.exists() and env_file.read_text().strip(), 60, 0.2,
                          "KWin's session")
        self.xwayland_display, socket_name, self.bus = line.split(" ", 2)
        self.socket = str(self.runtime / socket_name)
        if self.prefix:
            subprocess.run(self.user_env() + [
                "python3", str(HERE.parent / "tests/e2e/x_allow_user.py"),
                self.xwayland_display, "root"], check=True, timeout=30)
        return self

    def start_client(self, args, stdin=None) -> subprocess.Popen:
        client = subprocess.Popen(self.user_env(WAYLAND_DISPLAY=self.socket) + args,
                                  stdin=stdin, stdout=subprocess.PIPE if stdin else
                                  subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  start_new_session=True, text=True)
        self._processes.append(client)
        return client

    def run_client(self, args: list[str], stdin: bytes | None = None):
        subprocess.run(self.user_env(WAYLAND_DISPLAY=self.socket) + args, input=stdin,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20,
                       check=True)

    def _script(self, body: str) -> str:
        self._queries += 1
        name = f"q{self._queries}"
        script = self.runtime / f"{name}.js"
        script.write_text(body.replace("@TAG@", name))
        if self.prefix:
            os.chown(script, pwd.getpwnam("nobody").pw_uid, -1)
        bus = self.user_env(DBUS_SESSION_BUS_ADDRESS=self.bus) + ["dbus-send", "--session",
                                                                  "--print-reply",
                                                                  "--dest=org.kde.KWin"]
        reply = subprocess.run(bus + ["/Scripting", "org.kde.kwin.Scripting.loadScript",
                                      f"string:{script}", f"string:{name}"],
                               capture_output=True, text=True, timeout=20, check=True).stdout
        number = reply.split()[-1]
        subprocess.run(bus + [f"/{number}", "org.kde.kwin.Script.run"], capture_output=True,
                       timeout=20, check=True)
        log = self.runtime / "kwin.log"
        marker = f"WWOUT {name} "
        text = wait_until(lambda: next((l for l in log.read_text(errors="replace").splitlines()
                                        if marker in l), None), 20, 0.1, "KWin's answer")
        subprocess.run(bus + ["/Scripting", "org.kde.kwin.Scripting.unloadScript",
                              f"string:{name}"], capture_output=True, timeout=20)
        return text.split(marker, 1)[1]

    def windows(self) -> list[dict]:
        answer = self._script("""
var out = [];
var cs = workspace.clientList();
for (var i = 0; i < cs.length; i++)
    out.push({title: cs[i].caption, focused: cs[i].active, urgent: cs[i].demandsAttention,
              minimized: cs[i].minimized});
print("WWOUT @TAG@ " + JSON.stringify(out));
""")
        return json.loads(answer)

    def focus(self, title: str):
        self._script(f"""
var cs = workspace.clientList();
for (var i = 0; i < cs.length; i++)
    if (cs[i].caption == {json.dumps(title)}) workspace.activeClient = cs[i];
print("WWOUT @TAG@ done");
""")

    def minimise(self, title_start: str):
        self._script(f"""
var cs = workspace.clientList();
for (var i = 0; i < cs.length; i++)
    if (cs[i].caption.indexOf({json.dumps(title_start)}) == 0) cs[i].minimized = true;
print("WWOUT @TAG@ done");
""")

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


def state(desktop) -> dict:
    windows = desktop.windows()
    focused = next((w["title"] for w in windows if w["focused"]), None)
    lexorra2 = next((w for w in windows if w["title"].startswith(MAIN_WINDOW_TITLE)), {})
    return {"focused": "Lexorra2" if focused and focused.startswith(MAIN_WINDOW_TITLE)
            else focused, "urgent": lexorra2.get("urgent", False),
            "minimized": lexorra2.get("minimized")}


def settle(desktop, seconds: float = 4.0) -> dict:
    """The state once Lexorra2 has the focus, or after seconds (a refusal shows no event)."""
    end = time.monotonic() + seconds
    while True:
        now = state(desktop)
        if now["focused"] == "Lexorra2" or time.monotonic() > end:
            return now
        time.sleep(0.2)


def run(desktop_class, platform: str, token_client: Path) -> list[dict]:
    results = []
    desktop = desktop_class(None)
    session = Session(f"forward-{platform}", remote_debugging=True)
    try:
        desktop.start()
        session.start()
        env = session.program_env()
        env.update({"WAYLAND_DISPLAY": desktop.socket, "XDG_SESSION_TYPE": "wayland",
                    "DISPLAY": desktop.xwayland_display})
        if platform == "wayland":
            env["QT_QPA_PLATFORM"] = "wayland"
        session.start_program(env=env)
        session.wait_for_page(lambda p: p["url"] == START_PAGE_URL, timeout=90)
        wait_until(lambda: state(desktop)["focused"] == "Lexorra2", 30, 0.2,
                   "Lexorra2 to be mapped and focused")
        results.append({"step": "start", **state(desktop)})
        launcher = desktop.start_client([str(token_client)], stdin=subprocess.PIPE)

        def launcher_focused():
            if state(desktop)["focused"] == LAUNCHER_TITLE:
                return True
            try:
                desktop.focus(LAUNCHER_TITLE)
            except (RuntimeError, subprocess.CalledProcessError):
                pass
            return False

        def command(*args, token=""):
            wait_until(launcher_focused, 30, 0.2, "the launcher window to have the focus")
            command_env = dict(env)
            if token:
                command_env["XDG_ACTIVATION_TOKEN"] = token
            done = subprocess.run([str(program_path()), *args], env=command_env,
                                  capture_output=True, text=True, timeout=30)
            return done.returncode

        since = len(session.server.requests())
        code = command("--look-up", "前面")
        wait_until(lambda: len(session.server.requests()) > since, 30, 0.1,
                   "the lookup's request")
        results.append({"step": "look-up", "exit": code, **settle(desktop)})

        code = command("--raise")
        results.append({"step": "raise without token", "exit": code, **settle(desktop)})

        wait_until(launcher_focused, 30, 0.2, "the launcher window to have the focus")
        launcher.stdin.write("token\n")
        launcher.stdin.flush()
        token_line = launcher.stdout.readline().strip()
        token = token_line.split(" ", 1)[0]
        code = command("--raise", token=token)
        results.append({"step": "raise with the launcher's token", "token": token_line,
                        "exit": code, **settle(desktop)})

        # Watching the clipboard with the window in the background (data control).
        wait_until(launcher_focused, 30, 0.2, "the launcher window to have the focus")
        since = len(session.server.requests())
        desktop.run_client(["wl-copy", "背景の語"])
        try:
            wait_until(lambda: len(session.server.requests()) > since, 30, 0.1,
                       "the copy's lookup")
            looked_up = True
        except TimeoutError:
            looked_up = False
        results.append({"step": "wl-copy in the background", "looked_up": looked_up,
                        **settle(desktop)})

        if hasattr(desktop, "minimise"):
            wait_until(launcher_focused, 30, 0.2, "the launcher window to have the focus")
            desktop.minimise(MAIN_WINDOW_TITLE)
            wait_until(lambda: state(desktop)["minimized"], 20, 0.2, "Lexorra2 minimised")
            since = len(session.server.requests())
            code = command("--look-up", "最小化")
            wait_until(lambda: len(session.server.requests()) > since, 30, 0.1,
                       "the lookup's request")
            results.append({"step": "look-up while minimised", "exit": code,
                            **settle(desktop)})
            launcher.stdin.write("token\n")
            launcher.stdin.flush()
            token = launcher.stdout.readline().strip().split(" ", 1)[0]
            desktop.minimise(MAIN_WINDOW_TITLE)
            wait_until(lambda: state(desktop)["minimized"], 20, 0.2, "Lexorra2 minimised")
            code = command("--raise", token=token)
            results.append({"step": "raise while minimised, with token", "exit": code,
                            **settle(desktop)})
    except unittest.SkipTest as skip:
        results.append({"step": "skipped", "reason": str(skip)})
    finally:
        rss = None
        if session.program and session.program.poll() is None:
            with open(f"/proc/{session.program.pid}/status") as status:
                rss = next((l.split()[1] for l in status if l.startswith("VmRSS")), None)
        results.append({"step": "end", "program_rss_kib": rss,
                        "stderr_tail": session.program_stderr()[-600:]})
        session.stop()
        desktop.stop()
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("desktops", nargs="*", default=["sway", "kwin"])
    parser.add_argument("--platform", action="append", choices=["xcb", "wayland"])
    parser.add_argument("--sway-activation", choices=["urgent", "focus", "smart", "none"],
                        help="sway's focus_on_window_activation (default: sway's, urgent)")
    args = parser.parse_args()
    SwayDesktop.activation_policy = args.sway_activation or ""
    classes = {"sway": SwayDesktop, "kwin": KWinDesktop}
    summary = {}
    for name in args.desktops:
        for platform in args.platform or ["xcb", "wayland"]:
            rows = run(classes[name], platform, token_client())
            for row in rows:
                print(name, platform, json.dumps(row, ensure_ascii=False), flush=True)
            summary[f"{name}/{platform}"] = rows
    print(json.dumps(summary, ensure_ascii=False, indent=1))


if __name__ == "__main__":
    main()
