"""The commands a desktop binds to keys: lexorra2 --look-up TEXT, --toggle-pause and --raise
reach the running program and end at once; with no program running they say so and fail."""

import re
import subprocess
import unittest

from harness import E2ETestCase, MAIN_WINDOW_TITLE, program_path, site_query_url, wait_until
from test_lookup_flow import JAPANESE_DICTIONARY, LookupSession, start_and_wait_for_start_page

PAUSED_TITLE = MAIN_WINDOW_TITLE + " - 休止中"


class CommandsTest(E2ETestCase):

    def command(self, *args: str) -> subprocess.CompletedProcess:
        """Runs lexorra2 with args in the program's session, as a desktop's shortcut would."""
        return subprocess.run([str(program_path()), *args], env=self.session.program_env(),
                              cwd=self.session.home, capture_output=True, text=True,
                              timeout=30, start_new_session=True)

    def delivered(self, *args: str):
        done = self.command(*args)
        self.assertEqual((done.returncode, done.stderr, done.stdout), (0, "", ""), args)

    def test_commands_reach_the_running_program(self):
        window = start_and_wait_for_start_page(self.session)
        flow = LookupSession(self, self.session)

        since = len(self.session.server.requests())
        self.delivered("--look-up", "指令")
        flow.expect_lookup(since, site_query_url(JAPANESE_DICTIONARY, "指令"))

        # Paused, copies are not looked up; a look-up asked by name still is.
        self.delivered("--toggle-pause")
        wait_until(lambda: self.session.window_name(window) == PAUSED_TITLE, 10, 0.1,
                   "the title to say paused")
        since = flow.copy("休止中のコピー")
        flow.expect_nothing_since(since, "a copy while paused")
        since = len(self.session.server.requests())
        self.delivered("--look-up", "名指し")
        flow.expect_lookup(since, site_query_url(JAPANESE_DICTIONARY, "名指し"))
        self.delivered("--toggle-pause")
        wait_until(lambda: self.session.window_name(window) == MAIN_WINDOW_TITLE, 10, 0.1,
                   "the title to say watching again")

        self.session.xdotool("windowminimize", str(window))
        wait_until(lambda: self.session.map_state(window) != "IsViewable", 10, 0.1,
                   "the window to be minimised")
        self.delivered("--raise")
        wait_until(lambda: self.session.map_state(window) == "IsViewable", 10, 0.1,
                   "the window to come back")
        wait_until(lambda: self.session.active_window() == window, 10, 0.1,
                   "the window to be made active")
        self.assertEqual(
            self.session.find_windows("^" + re.escape(MAIN_WINDOW_TITLE) + "$"), [window],
            "no second window")

    def test_without_a_running_program_each_command_says_so(self):
        for args in (["--raise"], ["--toggle-pause"], ["--look-up", "単語"]):
            with self.subTest(args=args):
                done = self.command(*args)
                self.assertEqual(done.returncode, 1, done.stderr)
                self.assertIn("not running", done.stderr)
                self.assertEqual(done.stderr.count("\n"), 1, done.stderr)
        self.assertFalse((self.session.tmp / "runtime" / "lexorra2.lock").exists(),
                         "a command never takes the program's place")


if __name__ == "__main__":
    unittest.main()
