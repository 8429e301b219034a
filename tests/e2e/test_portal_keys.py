"""F12 and END through the desktop's GlobalShortcuts portal in a Wayland session: under a
headless sway, with a fake portal on a D-Bus session bus of the test's own standing in for
the desktop's, the program binds its two named shortcuts; END pauses and resumes and F12
brings its window forward from behind a Wayland program. Skipped, with the reason, where
sway cannot start."""

import json
import os
import queue
import select
import subprocess
import threading
import unittest

import desktop_helpers as desk
from harness import MAIN_WINDOW_TITLE, E2ETestCase, end_process_group, wait_until
from test_lookup_flow import START_PAGE_URL
from test_wayland_clipboard import Sway

PAUSED_TITLE = MAIN_WINDOW_TITLE + " - 休止中"


class FakePortal:
    """tests/support/fake_portal on a private session bus: it prints what clients ask and
    emits a shortcut's signals when told."""

    def __init__(self, test: unittest.TestCase):
        path = os.environ.get("FAKE_PORTAL")
        if not path:
            raise unittest.SkipTest("FAKE_PORTAL is not set (ctest sets it)")
        self.bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--print-address", "--nofork"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True)
        test.addCleanup(self._end, self.bus)
        ready, _, _ = select.select([self.bus.stdout], [], [], 20)
        if not ready:
            raise RuntimeError("dbus-daemon gave no address")
        self.address = self.bus.stdout.readline().decode().strip()
        env = {**os.environ, "DBUS_SESSION_BUS_ADDRESS": self.address}
        self.portal = subprocess.Popen([path], env=env, stdin=subprocess.PIPE,
                                       stdout=subprocess.PIPE, text=True,
                                       start_new_session=True)
        test.addCleanup(self._end, self.portal)
        self.lines: queue.Queue[str] = queue.Queue()
        self.seen: list[str] = []
        threading.Thread(target=self._read, daemon=True).start()
        self.wait_for_line("ready")

    def _read(self):
        for line in self.portal.stdout:
            self.lines.put(line.strip())

    def wait_for_line(self, prefix: str, timeout: float = 30.0) -> str:
        def found():
            while not self.lines.empty():
                self.seen.append(self.lines.get())
            return next((line for line in self.seen if line.startswith(prefix)), None)
        return wait_until(found, timeout, 0.05, f"the fake portal to print {prefix!r}")

    def send(self, command: str):
        self.portal.stdin.write(command + "\n")
        self.portal.stdin.flush()
        self.wait_for_line("sent " + command)

    def press(self, shortcut: str):
        self.send(f"press {shortcut}")

    @staticmethod
    def _end(process: subprocess.Popen):
        end_process_group(process)


class PortalKeysTest(E2ETestCase):

    def setUp(self):
        self.sway = Sway(self)
        self.addCleanup(self.sway.stop)
        self.sway.start()
        super().setUp()
        self.portal = FakePortal(self)

    def program_window(self) -> dict:
        """Lexorra2's window in sway's tree (an XWayland one)."""
        def find(node):
            if node.get("shell") == "xwayland" and MAIN_WINDOW_TITLE in (node.get("name") or ""):
                return node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                hit = find(child)
                if hit:
                    return hit
            return None
        return find(json.loads(self.sway.swaymsg("-t", "get_tree", "--raw"))) or {}

    def test_end_and_f12_work_through_the_portal(self):
        desk.write_settings(self.session, F12_de_saizennmen_on=True, End_kyuushi_on=True)
        env = self.session.program_env()
        env.update({"WAYLAND_DISPLAY": self.sway.socket, "XDG_SESSION_TYPE": "wayland",
                    "DISPLAY": self.sway.xwayland_display,
                    "DBUS_SESSION_BUS_ADDRESS": self.portal.address})
        self.session.start_program(env=env)
        self.session.wait_for_page(lambda p: p["url"] == START_PAGE_URL)

        bound = self.portal.wait_for_line("bind ")
        self.assertTrue(bound.endswith(" raise-window=F12,toggle-pause=End"), bound)

        self.portal.press("toggle-pause")
        wait_until(lambda: self.program_window().get("name") == PAUSED_TITLE, 20, 0.1,
                   "END through the portal to pause")
        # A press closer than the key's repeat interval (0.1 s) to the last step counts as the
        # same press, so the user presses again when nothing happened.
        def resumed() -> bool:
            return self.program_window().get("name") == MAIN_WINDOW_TITLE
        for _ in range(4):
            self.portal.press("toggle-pause")
            try:
                wait_until(resumed, 5, 0.1, "END through the portal to resume")
                break
            except TimeoutError:
                pass
        self.assertTrue(resumed(), "END through the portal did not resume")

        # sway only marks a window that asks to come forward as urgent unless told otherwise
        # (focus stealing prevention); here it may take the focus, so the raise is seen.
        self.sway.swaymsg("focus_on_window_activation", "focus")
        # A Wayland program in front: XInput would not see F12 now, the portal does.
        self.sway.start_client(["weston-flower"])

        def wayland_program_focused() -> bool:
            if (self.sway.focused() or {}).get("shell") == "xdg_shell":
                return True
            try:
                self.sway.swaymsg('[shell="xdg_shell"] focus')
            except RuntimeError:
                pass  # not mapped yet
            return False
        wait_until(wayland_program_focused, 30, 0.2, "a Wayland program to have the focus")
        self.portal.press("raise-window")
        wait_until(lambda: self.program_window().get("focused"), 20, 0.1,
                   "F12 through the portal to bring the window forward")


if __name__ == "__main__":
    unittest.main()
