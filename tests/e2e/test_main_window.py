"""The main window as a user meets it: it appears with its caption and controls, refuses
options it does not know, and closing it ends the program and all its processes."""

import re
import time
import unittest

from harness import (DevToolsPage, E2ETestCase, MAIN_WINDOW_TITLE, SCREEN_SIZE, close_to,
                     wait_until)

PANEL_GREY = (100, 100, 100)
SEARCH_BOX_GREY = (238, 238, 238)
LOGO_BLUE = (47, 106, 168)
START_PAGE_URL = "lexorra2://home/Lexorra2pro_LOGO.html"


class MainWindowTest(E2ETestCase):

    def check_window_layout(self, window):
        """The window's areas, seen on the screen; returns the window's geometry."""
        geometry = self.session.window_geometry(window)
        self.assertEqual((geometry.width, geometry.height), (1008, 599), "client area")
        centre_x = geometry.x + geometry.width // 2
        centre_y = geometry.y + geometry.height // 2
        # The frame's title bar pushes the client area down by its height.
        self.assertLessEqual(abs(centre_x - SCREEN_SIZE[0] // 2), 8, "centred across")
        self.assertLessEqual(abs(centre_y - SCREEN_SIZE[1] // 2), 40, "centred down")

        shot = wait_until(lambda: self._shot_with_panel(geometry), 10, 0.3,
                          "the toolbar panel to be drawn")
        at = lambda x, y: shot.pixel(geometry.x + x, geometry.y + y)

        # The toolbar panel: dark grey, 53 pixels high, below the action bar (56 or more).
        column = 140  # between the Forward button and the search box
        # The panel is the first run of its grey 40 pixels tall: a menu button's arrow on the
        # action bar may share the colour for a pixel or two.
        top = next(y for y in range(geometry.height - 40)
                   if all(at(column, y + k) == PANEL_GREY for k in range(40)))
        bottom = next(y for y in range(top, geometry.height) if at(column, y) != PANEL_GREY)
        self.assertGreaterEqual(top, 56, "action bar above the panel")
        self.assertEqual(bottom - top, 53, "panel height")

        # The search box, light grey, 16 pixels from the panel's top.
        self.assertTrue(close_to(at(164 + 250, top + 16 + 10), SEARCH_BOX_GREY),
                        at(164 + 250, top + 16 + 10))
        self.assertEqual(at(164 + 250, top + 12), PANEL_GREY, "box starts at 16, not higher")

        # The long-text notice is hidden: nothing but panel below the search box.
        row = [at(x, top + 45) for x in range(164, 717)]
        self.assertTrue(all(p == PANEL_GREY for p in row), "notice hidden")

        # The logo at the right end of the panel.
        self.assertTrue(close_to(at(geometry.width - 8 - 155 + 6, top + 6 + 20), LOGO_BLUE),
                        at(geometry.width - 8 - 155 + 6, top + 6 + 20))

        # Text on the action bar (its buttons) and in the status bar ("abcd").
        def has_text(x0, x1, y0, y1):
            return any(sum(at(x, y)) < 200 for x in range(x0, x1) for y in range(y0, y1))
        self.assertTrue(has_text(4, 200, 2, top - 2), "category buttons")
        # The status text changes while the start page loads and may be blank for a moment.
        def status_has_text():
            later = self.session.screenshot(self.session.tmp / "status.png")
            return any(sum(later.pixel(geometry.x + x, geometry.y + y)) < 200
                       for x in range(2, 60)
                       for y in range(geometry.height - 17, geometry.height - 2))
        wait_until(status_has_text, 10, 0.3, "status text")
        return geometry

    def _shot_with_panel(self, geometry):
        shot = self.session.screenshot(self.session.tmp / "window.png")
        x = geometry.x + 140
        return shot if any(shot.pixel(x, geometry.y + y) == PANEL_GREY
                           for y in range(0, 200)) else None

    def only_window_of_program(self):
        windows = self.session.find_windows(".*", pid=self.session.program.pid)
        names = [self.session.window_name(w) for w in windows]
        self.assertEqual(names, [MAIN_WINDOW_TITLE], "no message box or stray window")

    def test_window_appears_with_caption_and_controls(self):
        self.session.start_program()
        window = self.session.wait_for_main_window()
        self.assertEqual(self.session.window_name(window), MAIN_WINDOW_TITLE)
        self.check_window_layout(window)
        self.only_window_of_program()

    def test_qt_options_on_the_command_line_are_refused_not_obeyed(self):
        # Qt would obey these if the program handed them on: no window on this display,
        # or a mirrored layout with the logo on the left. The program names the first one it
        # does not know and ends before it opens a window.
        self.session.start_program(["-platform", "offscreen", "-reverse"])
        self.assertEqual(self.session.wait_program_exit(20), 2)
        lines = self.session.program_stderr().splitlines()
        self.assertEqual(len(lines), 1, lines)
        self.assertIn("Unknown option", lines[0])
        self.assertEqual(self.session.find_windows(".*", visible=False,
                                                   pid=self.session.program.pid), [])

    def test_start_page_shows_in_the_first_tab_after_a_second(self):
        self.session.start_program()
        window = self.session.wait_for_main_window()
        page = self.session.wait_for_page(lambda p: p["url"] == START_PAGE_URL and p["title"]
                                          and p["title"] != p["url"])
        shown_after = time.monotonic() - self.session.program_started_at
        # The start timer opens it: never before its one second has passed.
        self.assertGreaterEqual(shown_after, 1.0)
        self.assertEqual([p["url"] for p in self.session.devtools_pages()], [START_PAGE_URL],
                         "one tab, showing the start page")
        with DevToolsPage(page["webSocketDebuggerUrl"]) as devtools:
            self.assertEqual(devtools.evaluate("document.readyState"), "complete")
            self.assertGreater(devtools.evaluate("document.body.innerText.length"), 0)
        self.assertEqual(self.session.server.requests(), [],
                         "the start page needs no network")
        # The window the user saw at start is still the same one: it was not destroyed and
        # re-created (a flicker, and a window that may come back elsewhere) for the browser.
        self.assertEqual(self.session.find_windows("^" + re.escape(MAIN_WINDOW_TITLE) + "$"),
                         [window])

    def test_closing_the_window_ends_the_program_cleanly(self):
        self.session.start_program()
        window = self.session.wait_for_main_window()
        # With the browser engine running, so that its processes have to end too.
        self.session.wait_for_page(lambda p: p["url"] == START_PAGE_URL)
        self.session.close_window(window)
        self.assertEqual(self.session.wait_program_exit(30), 0)
        wait_until(lambda: not self.session.program_processes(), 10, 0.1,
                   "every process of the program to end")
        self.assertNotIn("QObject", self.session.program_stderr())


if __name__ == "__main__":
    unittest.main()
