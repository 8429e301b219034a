"""The program beside other programs, end to end: F12 and END from another program's window,
a real system tray (trayer) with the program's icon and menu, close to the tray, minimise
when another program is active, and Alt+F4 without a tray.

The options are switched as a user does: the action bar's "オプション" menu, then its
"設定(&V)" submenu and the option's accelerator.
"""

from __future__ import annotations

import hashlib
import subprocess
import time
import unittest

import desktop_helpers as desk
from harness import E2ETestCase, wait_until

F12_OPTION = desk.F12_OPTION
END_OPTION = desk.END_OPTION
CLOSE_TO_TRAY_OPTION = desk.CLOSE_TO_TRAY_OPTION
MINIMISE_WHEN_INACTIVE_OPTION = desk.MINIMISE_WHEN_INACTIVE_OPTION


class DesktopCase(E2ETestCase):
    with_tray = True

    def setUp(self):
        super().setUp()
        if self.with_tray:
            desk.start_tray(self.session)

    def start(self, *options: str) -> int:
        """Starts the program, waits for its start page and switches the given options on."""
        self.session.start_program()
        window = self.session.wait_for_main_window()
        self.session.wait_for_page(lambda p: p.get("title") == "Lexorra2", 60)
        for key in options:
            self.switch_option(window, key)
        return window

    def switch_option(self, window: int, accelerator: str):
        desk.switch_option(self.session, window, accelerator)

    def popup_open(self) -> bool:
        return desk.menu_open(self.session)

    def window_icon(self, window: int) -> str:
        """A fingerprint of the window's icon (_NET_WM_ICON): it follows pause and resume."""
        out = subprocess.run(["xprop", "-id", str(window), "_NET_WM_ICON"],
                             env=self.session.base_env(), capture_output=True, timeout=10).stdout
        return hashlib.sha1(out).hexdigest()


class WithTray(DesktopCase):
    def test_f12_raises_the_window_from_behind_another_program(self):
        window = self.start(F12_OPTION)
        cover = desk.start_cover_window(self.session, self.session.window_geometry(window))
        wait_until(lambda: desk.is_above(self.session, cover, window), 10, 0.1,
                   "the other program's window in front")
        self.assertEqual(self.session.active_window(), cover)
        self.session.key("F12")
        wait_until(lambda: desk.is_above(self.session, window, cover), 10, 0.05,
                   "F12 to bring the window in front")
        wait_until(lambda: self.session.active_window() == window, 10, 0.05,
                   "the window to be active")

    def test_f12_does_nothing_while_its_option_is_off(self):
        window = self.start()
        cover = desk.start_cover_window(self.session, self.session.window_geometry(window))
        self.session.key("F12")
        time.sleep(1.0)
        self.assertTrue(desk.is_above(self.session, cover, window))

    def test_end_pauses_and_resumes_and_holding_it_repeats(self):
        window = self.start(END_OPTION)
        cover = desk.start_cover_window(self.session, self.session.window_geometry(window))
        running = self.window_icon(window)
        # A short press: one toggle. The window's icon shows the pause.
        self.session.key("End")
        wait_until(lambda: self.window_icon(window) != running, 10, 0.05, "the paused icon")
        paused = self.window_icon(window)
        # While paused a copy is not looked up.
        self.session.set_clipboard("休止中")
        time.sleep(1.0)
        self.assertFalse([r for r in self.session.server.requests() if "%E4%BC%91" in r.path])
        self.session.key("End")
        wait_until(lambda: self.window_icon(window) == running, 10, 0.05, "the running icon")
        # Held: the pause flips again and again until the key goes up. How often is the
        # controller's own test, on its own clock; here the icon must be seen to flip.
        flips = 0
        last = running

        def flipped_again() -> bool:
            nonlocal flips, last
            icon = self.window_icon(window)
            if icon != last:
                flips += 1
                last = icon
            return flips >= 3
        self.session.xdotool("keydown", "End")
        try:
            wait_until(flipped_again, 20, 0.0, "END held to flip the pause three times")
        finally:
            self.session.xdotool("keyup", "End")
        self.assertEqual(self.session.active_window(), cover, "END leaves the focus alone")

    def test_tray_menu_close_ends_the_program_with_close_to_tray_on(self):
        window = self.start(CLOSE_TO_TRAY_OPTION)
        x, y = desk.tray_icon_point(self.session)
        self.session.click(x, y, button=3)
        wait_until(lambda: self.popup_open(), 10, 0.05, "the tray menu")
        # The last entry is "Lexorra2を閉じる".
        self.session.key("Up", "Return")
        self.assertEqual(self.session.wait_program_exit(30), 0)
        wait_until(lambda: not self.session.program_processes(), 10, 0.1,
                   "every process of the program to end")
        self.assertNotIn("QObject", self.session.program_stderr())

    def test_alt_f4_minimises_with_close_to_tray_on_and_a_click_on_the_tray_raises(self):
        window = self.start(CLOSE_TO_TRAY_OPTION)
        self.session.activate(window)
        self.session.key("alt+F4")
        wait_until(lambda: desk.is_minimised(self.session, window), 10, 0.05,
                   "the window to be minimised")
        self.assertIsNone(self.session.program.poll(), "the program goes on")
        x, y = desk.tray_icon_point(self.session)
        self.session.click(x, y)
        wait_until(lambda: not desk.is_minimised(self.session, window), 10, 0.05,
                   "a click on the tray icon to restore the window")
        wait_until(lambda: self.session.active_window() == window, 10, 0.05,
                   "the window to be active")

    def test_activating_another_program_minimises_with_its_option_on(self):
        window = self.start(MINIMISE_WHEN_INACTIVE_OPTION)
        self.assertFalse(desk.is_minimised(self.session, window))
        desk.start_cover_window(self.session, self.session.window_geometry(window))
        wait_until(lambda: desk.is_minimised(self.session, window), 10, 0.05,
                   "the window to be minimised")


class WithoutTray(DesktopCase):
    with_tray = False

    def test_alt_f4_ends_the_program_when_no_tray_exists(self):
        window = self.start(CLOSE_TO_TRAY_OPTION)
        self.assertEqual(desk.tray_owner(self.session), 0)
        self.session.close_window(window)
        self.assertEqual(self.session.wait_program_exit(30), 0)


if __name__ == "__main__":
    unittest.main()
