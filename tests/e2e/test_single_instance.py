"""One instance per user session: a second start brings the running window forward and ends,
so that a copy is still looked up once; an instance that crashed does not block the next."""

import os
import re
import signal
import subprocess
import unittest

from harness import E2ETestCase, MAIN_WINDOW_TITLE, program_path, site_query_url, wait_until
from test_lookup_flow import JAPANESE_DICTIONARY, LookupSession, start_and_wait_for_start_page

MAIN_WINDOW = "^" + re.escape(MAIN_WINDOW_TITLE) + "$"


class SingleInstanceTest(E2ETestCase):

    def start_again(self, timeout: float = 30.0) -> subprocess.CompletedProcess:
        """Starts the program a second time in the same session, as a user would from the
        menu, and waits for it to end."""
        return subprocess.run([str(program_path())], env=self.session.program_env(),
                              cwd=self.session.home, capture_output=True, text=True,
                              timeout=timeout, start_new_session=True)

    def test_second_start_brings_the_window_forward_and_ends(self):
        window = start_and_wait_for_start_page(self.session)
        first = self.session.program
        self.session.xdotool("windowminimize", str(window))
        wait_until(lambda: self.session.map_state(window) != "IsViewable", 10, 0.1,
                   "the window to be minimised")

        second = self.start_again()
        self.assertEqual(second.returncode, 0, second.stderr)
        self.assertEqual(second.stderr, "")

        wait_until(lambda: self.session.map_state(window) == "IsViewable", 10, 0.1,
                   "the running window to come back")
        wait_until(lambda: self.session.active_window() == window, 10, 0.1,
                   "the running window to be made active")
        self.assertIsNone(first.poll(), "the first instance goes on running")
        self.assertEqual(self.session.find_windows(MAIN_WINDOW), [window], "one window")

        flow = LookupSession(self, self.session)
        since = flow.copy("一度だけ")
        flow.expect_only_since(since, [site_query_url(JAPANESE_DICTIONARY, "一度だけ")],
                               "the copy is looked up once")

    def test_instance_that_crashed_does_not_block_the_next_start(self):
        start_and_wait_for_start_page(self.session)
        crashed = self.session.program
        # A crash: nothing of the program's own clean-up runs, the lock and socket stay.
        for pid in self.session.program_processes():
            os.kill(pid, signal.SIGKILL)
        crashed.wait(timeout=10)
        runtime = self.session.tmp / "runtime"
        self.assertTrue((runtime / "lexorra2.lock").exists(), "the crash left its lock behind")
        wait_until(lambda: not self.session.find_windows(MAIN_WINDOW), 10, 0.1,
                   "the crashed window to go")

        window = start_and_wait_for_start_page(self.session)
        flow = LookupSession(self, self.session)
        flow.copy_and_expect("再起動", site_query_url(JAPANESE_DICTIONARY, "再起動"))
        self.assertEqual(self.session.find_windows(MAIN_WINDOW), [window])

        # ... and the new instance answers a later start in its turn.
        again = self.start_again()
        self.assertEqual(again.returncode, 0, again.stderr)
        self.assertEqual(self.session.find_windows(MAIN_WINDOW), [window])


if __name__ == "__main__":
    unittest.main()
