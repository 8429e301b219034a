"""A Japanese reader's real desktop, end to end: Japanese typed through a real input method,
clipboards that hold no word or cannot be read, a copy made by a Wayland program, and a screen
at 200 % scaling. The program is the built lexorra2; the site server records what it asks for.
"""

import subprocess
import time
import unittest

from harness import E2ETestCase, Session, wait_until
from real_desktop import (InputMethod, WaylandCompositor, offer_clipboard, tools_missing)
from test_lookup_flow import (QUIET_SECONDS, LookupSession, SharedProgramCase, dictionary,
                              request_line, start_and_wait_for_start_page)


class RealDesktopCase(E2ETestCase):

    def setUp(self):
        missing = tools_missing()
        if missing:
            self.fail(f"tools missing for the real-desktop tests: {', '.join(missing)} "
                      f"(scripts/deps.sh installs them)")
        super().setUp()
        self.flow = LookupSession(self, self.session)


class WaylandSessionTest(RealDesktopCase):
    """The program in a Wayland session runs on XWayland; weston passes a Wayland program's
    copy on to X at once, also while a Wayland window has the focus."""

    def test_a_copy_in_a_wayland_program_is_looked_up(self):
        compositor = WaylandCompositor(self.session).start()
        env = compositor.env(self.session.program_env())
        self.session.start_program(env=env)
        # The program's window is on XWayland, not on the test's own X display.
        self._wait_started(compositor)
        for word in ("辞書", "dictionary"):
            with self.subTest(word=word):
                since = len(self.session.server.requests())
                # wl-copy's own surface has the keyboard focus while it copies.
                compositor.copy(word)
                self.flow.expect_lookup(since, dictionary(word), timeout=20)

    def _wait_started(self, compositor: WaylandCompositor):
        """The program's main window is mapped on XWayland and its start page is shown."""
        env = compositor.env(self.session.base_env())

        def mapped():
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Lexorra2"],
                                 env=env, capture_output=True, text=True, timeout=10).stdout
            return out.split()
        wait_until(mapped, 60, 0.2, "the main window on XWayland")
        self.session.wait_for_page(lambda p: p["url"].startswith("lexorra2://"), 60)


if __name__ == "__main__":
    unittest.main()
