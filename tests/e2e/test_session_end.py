"""The end of the session around the program, end to end: a logout's or kill's signals and an
X server that goes away end the program as the tray's "Lexorra2を閉じる" does, the settings
saved; a save that fails then never holds the exit.

Each case changes an option as a user does (the menu), with a real tray, and the option
chosen is the one that turns the window's close into a minimise: the end must not depend on
the window agreeing to close.
"""

from __future__ import annotations

import signal
import unittest

import desktop_helpers as desk
from harness import E2ETestCase, tools_available, wait_until

CHANGED_LINE = 25   # Batu_OFF: the close button minimises to the tray


@unittest.skipIf(tools_available(), f"missing X tools: {tools_available()}")
class SessionEnd(E2ETestCase):

    def setUp(self):
        super().setUp()
        desk.start_tray(self.session)

    def settings_path(self):
        return self.session.documents / "Lexorra2" / "Lexorra2.ini"

    def start_and_change_an_option(self) -> int:
        self.session.start_program()
        window = self.session.wait_for_main_window()
        # The start sequence has read the (missing) settings file once the start page loads.
        self.session.wait_for_page(lambda p: p.get("title") == "Lexorra2", 60)
        desk.switch_option(self.session, window, desk.CLOSE_TO_TRAY_OPTION)
        return window

    def test_each_signal_saves_the_settings_and_ends_the_program(self):
        for number in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
            with self.subTest(signal.Signals(number).name):
                self.settings_path().unlink(missing_ok=True)
                self.start_and_change_an_option()
                self.session.program.send_signal(number)
                self.assertEqual(self.session.wait_program_exit(30), 0)
                self.assertEqual(desk.read_settings(self.session)[CHANGED_LINE], "True")
                wait_until(lambda: not self.session.program_processes(), 10, 0.1,
                           "every process of the program to end")

    def test_an_x_server_that_goes_away_leaves_the_settings_saved(self):
        self.start_and_change_an_option()
        self.session.display_server.kill()
        self.session.display_server.wait(10)
        self.session.wait_program_exit(30)
        self.assertEqual(desk.read_settings(self.session)[CHANGED_LINE], "True")

    def test_a_save_that_fails_at_the_end_does_not_hold_the_exit(self):
        self.start_and_change_an_option()
        # Something else takes the file's place while the program runs.
        self.settings_path().mkdir(parents=True)
        self.session.program.send_signal(signal.SIGTERM)
        self.assertEqual(self.session.wait_program_exit(30), 0)
        self.assertTrue(self.settings_path().is_dir())
        self.assertIn("保存できませんでした", self.session.program_stderr())


if __name__ == "__main__":
    unittest.main()
