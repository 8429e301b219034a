"""The parts of a real Linux desktop that the end-to-end tests add to a Session: an input
method (fcitx5 with the anthy engine on a session bus of its own), a Wayland compositor
(weston, shown on the session's Xvfb display, with XWayland for X programs) and clipboard
owners that behave like file managers, browsers, image viewers or broken programs.

Every process is a helper of the session and ends with it, by its id.
"""

from __future__ import annotations

import os
import re
import shutil
import subprocess
import time
from pathlib import Path

from harness import Session, program_path, wait_until

# Addons of fcitx5 that a test does not need: its own clipboard manager (it would take part in
# every copy), its panel and tray, the Wayland and XIM front ends.
FCITX5_UNUSED_ADDONS = "clipboard,classicui,notificationitem,kimpanel,xim,wayland,waylandim"

FCITX5_PROFILE = """[Groups/0]
Name=Default
Default Layout=us
DefaultIM=anthy

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=anthy
Layout=

[GroupOrder]
0=Default
"""

# Japanese input from the first key, as a user who has turned the input method on.
FCITX5_CONFIG = """[Behavior]
ActiveByDefault=True
"""


def tools_missing() -> list[str]:
    return [tool for tool in ("dbus-daemon", "fcitx5", "fcitx5-remote", "weston", "Xwayland",
                              "wl-copy", "wl-paste")
            if shutil.which(tool) is None]


def clipboard_offer_path() -> Path:
    """tests/support/clipboard_offer of the same build as the program under test."""
    env = os.environ.get("CLIPBOARD_OFFER")
    if env:
        return Path(env)
    return program_path().parents[3] / "tests" / "support" / "clipboard_offer"


def offer_clipboard(session: Session, formats: dict[str, str | bytes],
                    behaviour: str = "") -> subprocess.Popen:
    """Makes clipboard_offer the clipboard's owner with these formats; behaviour is
    "--never-answer", "--exit-on-request" or "" (serve every request)."""
    args = [str(clipboard_offer_path())]
    if behaviour:
        args.append(behaviour)
    for name, value in formats.items():
        if isinstance(value, bytes):
            path = session.tmp / f"offer-{len(os.listdir(session.tmp))}"
            path.write_bytes(value)
            value = "@" + str(path)
        args.append(f"{name}={value}")
    errors = session.tmp / "clipboard_offer.err"
    with open(errors, "ab") as err:
        owner = subprocess.Popen(args, env=session.base_env(), stdout=subprocess.PIPE,
                                 stderr=err)
    session._helpers.append(owner)
    line = owner.stdout.readline()
    owner.stdout.close()
    if line != b"owner\n":
        raise RuntimeError(f"clipboard_offer did not take the clipboard: "
                           f"{errors.read_text(errors='replace')}")
    return owner


class InputMethod:
    """fcitx5 with anthy on the session's display, and the environment a Qt program needs to
    use it."""

    def __init__(self, session: Session):
        self.session = session
        self.bus_address = ""

    def start(self) -> "InputMethod":
        config = self.session.home / ".config" / "fcitx5"
        config.mkdir(parents=True, exist_ok=True)
        (config / "profile").write_text(FCITX5_PROFILE)
        (config / "config").write_text(FCITX5_CONFIG)
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                "--print-address=1"], env=self.session.base_env(),
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.session._helpers.append(bus)
        self.bus_address = bus.stdout.readline().decode().strip()
        bus.stdout.close()
        if not self.bus_address:
            raise RuntimeError("the session bus did not start")
        log = open(self.session.tmp / "fcitx5.log", "wb")
        fcitx = subprocess.Popen(["fcitx5", "--disable", FCITX5_UNUSED_ADDONS],
                                 env=self.env(self.session.base_env()), stdout=log, stderr=log)
        log.close()
        self.session._helpers.append(fcitx)
        wait_until(self._running, 30, 0.2, "fcitx5 on the session bus")
        return self

    def _running(self) -> bool:
        result = subprocess.run(["fcitx5-remote"], env=self.env(self.session.base_env()),
                                capture_output=True, text=True, timeout=10)
        # It answers with the state of the focused input context: 0 while there is none.
        return result.returncode == 0 and result.stdout.strip() in ("0", "1", "2")

    def env(self, env: dict) -> dict:
        """env with what a Qt program needs to talk to this input method."""
        env = dict(env)
        env.update({"DBUS_SESSION_BUS_ADDRESS": self.bus_address, "QT_IM_MODULE": "fcitx",
                    "XMODIFIERS": "@im=fcitx"})
        return env

    def current_engine(self) -> str:
        return subprocess.run(["fcitx5-remote", "-n"], env=self.env(self.session.base_env()),
                              capture_output=True, text=True, timeout=10).stdout.strip()


class WaylandCompositor:
    """weston in a window on the session's Xvfb display, with XWayland for X programs: a
    Wayland session as a user has it, seen from inside."""

    SOCKET = "wayland-e2e"

    def __init__(self, session: Session):
        self.session = session
        self.xwayland_display = ""
        self.log_path = session.tmp / "weston.log"

    def start(self, width: int = 1024, height: int = 768) -> "WaylandCompositor":
        log = open(self.log_path, "wb")
        weston = subprocess.Popen(
            ["weston", "--backend=x11-backend.so", "--xwayland", f"--socket={self.SOCKET}",
             f"--width={width}", f"--height={height}", "--idle-time=0"],
            env=self.session.base_env(), stdout=log, stderr=log)
        log.close()
        self.session._helpers.append(weston)

        def display():
            m = re.search(r"xserver listening on display (:\d+)",
                          self.log_path.read_text(errors="replace"))
            return m.group(1) if m else None
        self.xwayland_display = wait_until(display, 30, 0.1, "weston's XWayland display")
        return self

    def env(self, env: dict) -> dict:
        """env for a program in the Wayland session: the compositor's socket, and XWayland
        as its X server."""
        env = dict(env)
        env.update({"WAYLAND_DISPLAY": self.SOCKET, "XDG_SESSION_TYPE": "wayland",
                    "DISPLAY": self.xwayland_display})
        return env

    def copy(self, text: str) -> subprocess.Popen:
        """Copies text as a Wayland program does (wl-copy serves it until the next copy)."""
        wl_copy = subprocess.Popen(["wl-copy", "--foreground", text],
                                   env=self.env(self.session.base_env()),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.session._helpers.append(wl_copy)
        wait_until(lambda: self.paste() == text, 10, 0.1, "wl-copy to own the clipboard")
        return wl_copy

    def paste(self) -> str:
        result = subprocess.run(["wl-paste", "--no-newline"], env=self.env(self.session.base_env()),
                                capture_output=True, timeout=10)
        return result.stdout.decode(errors="replace") if result.returncode == 0 else ""

    def x_clipboard(self) -> bytes:
        """The clipboard as X programs on XWayland see it."""
        env = self.env(self.session.base_env())
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING"],
                                env=env, capture_output=True, timeout=10)
        return result.stdout if result.returncode == 0 else b""
