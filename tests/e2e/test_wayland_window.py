"""Lexorra2 as a native Wayland window (QT_QPA_PLATFORM=wayland) under a headless sway that
lets a window with a valid activation token take the focus: `lexorra2 --raise`, run with the
token a focused launcher got from the compositor, brings the window forward (the token goes
through the single-instance request to the running program). Skipped, with the reason, where
sway or Qt's Wayland platform is missing."""

import os
import subprocess
import unittest
from pathlib import Path

from harness import E2ETestCase, MAIN_WINDOW_TITLE, program_path, wait_until
from test_lookup_flow import START_PAGE_URL
from test_wayland_clipboard import Sway

LAUNCHER_TITLE = "launcher"


def token_client() -> Path:
    path = Path(os.environ.get("ACTIVATION_TOKEN_CLIENT", ""))
    if not path.is_file():
        raise unittest.SkipTest("the launcher window (tests/support/activation_token) is not "
                                "built; ctest sets ACTIVATION_TOKEN_CLIENT")
    return path


def qt_wayland_platform_missing() -> bool:
    plugin_dirs = [Path("/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms"),
                   Path("/usr/lib/qt6/plugins/platforms")]
    return not any((d / "libqwayland-generic.so").exists() for d in plugin_dirs)


class WaylandWindowTest(E2ETestCase):

    def setUp(self):
        if qt_wayland_platform_missing():
            self.skipTest("Qt's Wayland platform is not installed (scripts/deps.sh: qt6-wayland)")
        self.launcher_path = token_client()
        self.sway = Sway(self)
        self.addCleanup(self.sway.stop)
        self.sway.start()
        # What a user who wants windows to come forward sets; sway's default only marks them.
        self.sway.swaymsg("focus_on_window_activation", "focus")
        super().setUp()

    def focused_title(self) -> str:
        return (self.sway.focused() or {}).get("name") or ""

    def start_native_window_behind_a_launcher(self) -> subprocess.Popen:
        env = self.session.program_env()
        env.update({"WAYLAND_DISPLAY": self.sway.socket, "XDG_SESSION_TYPE": "wayland",
                    "DISPLAY": self.sway.xwayland_display, "QT_QPA_PLATFORM": "wayland"})
        self.program_env = env
        self.session.start_program(env=env)
        self.session.wait_for_page(lambda p: p["url"] == START_PAGE_URL)
        wait_until(lambda: self.focused_title().startswith(MAIN_WINDOW_TITLE), 30, 0.2,
                   "Lexorra2's native window to be mapped with the focus")
        self.assertEqual(self.sway.focused().get("shell"), "xdg_shell")

        launcher = subprocess.Popen(
            self.sway.user_env(WAYLAND_DISPLAY=self.sway.socket) + [str(self.launcher_path)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            text=True, start_new_session=True)
        self.sway._processes.append(launcher)

        def launcher_focused() -> bool:
            if self.focused_title() == LAUNCHER_TITLE:
                return True
            try:
                self.sway.swaymsg(f'[title="^{LAUNCHER_TITLE}$"] focus')
            except RuntimeError:
                pass  # not mapped yet
            return False
        wait_until(launcher_focused, 30, 0.2, "the launcher to have the focus")
        return launcher

    def raise_command(self, token: str = ""):
        env = dict(self.program_env)
        if token:
            env["XDG_ACTIVATION_TOKEN"] = token
        done = subprocess.run([str(program_path()), "--raise"], env=env, capture_output=True,
                              text=True, timeout=30, start_new_session=True)
        self.assertEqual((done.returncode, done.stderr), (0, ""))

    def test_raise_with_the_launchers_token_brings_the_native_window_forward(self):
        launcher = self.start_native_window_behind_a_launcher()
        launcher.stdin.write("token\n")
        launcher.stdin.flush()
        token = launcher.stdout.readline().split(" ", 1)[0]
        self.assertNotIn(token, ("", "-"), "the compositor gave the launcher no token")
        self.raise_command(token)
        wait_until(lambda: self.focused_title().startswith(MAIN_WINDOW_TITLE), 30, 0.2,
                   "Lexorra2's window to take the focus with the launcher's token")


if __name__ == "__main__":
    unittest.main()
