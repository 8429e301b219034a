"""A Japanese reader's real desktop, end to end: Japanese typed through a real input method,
clipboards that hold no word or cannot be read, a copy made by a Wayland program, and a screen
at 200 % scaling. The program is the built lexorra2; the site server records what it asks for.
"""

import re
import subprocess
import unittest

from harness import E2ETestCase, Session, wait_until
from real_desktop import (InputMethod, WaylandCompositor, offer_clipboard, tools_missing)
from test_lookup_flow import (SEARCH_BOX_POINT, LookupSession, OddCopyCase, dictionary,
                              start_and_wait_for_start_page)


class RealDesktopCase(E2ETestCase):

    def setUp(self):
        missing = tools_missing()
        if missing:
            self.fail(f"tools missing for the real-desktop tests: {', '.join(missing)} "
                      f"(scripts/deps.sh installs them)")
        super().setUp()
        self.flow = LookupSession(self, self.session)


class InputMethodTest(RealDesktopCase):
    """Japanese typed into the search box through fcitx5 with the anthy engine: fcitx5 runs
    without a desktop around it (a session bus and its configuration files are all it needs)
    and reaches Qt 6 programs through its Qt module; anthy converts in-process, with no server
    of its own to start."""

    def start(self) -> int:
        self.input_method = InputMethod(self.session).start()
        self.session.start_program(env=self.input_method.env(self.session.program_env()))
        window = self.session.wait_for_main_window()
        self.session.wait_for_page(lambda p: p["url"].startswith("lexorra2://"))
        self.flow.click_in_panel(window, *SEARCH_BOX_POINT)
        # The box's input context has the focus and Japanese input is on.
        wait_until(lambda: self.input_method.current_engine() == "anthy", 10, 0.1,
                   "anthy to serve the search box")
        return window

    def compose(self, keys: str, convert: bool):
        """Types romaji into the input method, converts when asked, and commits with Enter;
        returns the index of the next request."""
        self.session.type_text(keys)
        if convert:
            self.session.key("space")
        since = len(self.session.server.requests())
        self.session.key("Return")
        return since

    def test_one_enter_after_the_commit_looks_up(self):
        self.start()
        # nihongo, converted to 日本語, committed: the commit's Enter is not a lookup, the next
        # one is.
        since = self.compose("nihongo", convert=True)
        self.flow.expect_nothing_since(since, "the Enter that commits the composition")
        self.session.key("Return")
        self.flow.expect_lookup(since, dictionary("日本語"))
        self.flow.expect_only_since(since, [dictionary("日本語")], "one lookup")
        # Kana committed without conversion, added to the box's text: the same again.
        since = self.compose("kana", convert=False)
        self.flow.expect_nothing_since(since, "the Enter that commits かな")
        self.session.key("Return")
        self.flow.expect_lookup(since, dictionary("日本語かな"))

    def test_one_enter_after_a_commit_by_a_click(self):
        window = self.start()
        # A click in the box while converting commits the composition without any Enter.
        self.session.type_text("nihongo")
        self.session.key("space")
        since = len(self.session.server.requests())
        self.flow.click_in_panel(window, SEARCH_BOX_POINT[0] + 150, SEARCH_BOX_POINT[1])
        self.flow.expect_nothing_since(since, "a commit by a click")
        self.session.key("Return")
        self.flow.expect_lookup(since, dictionary("日本語"))

    def test_pasted_japanese_still_needs_two_enters(self):
        window = self.start()
        # No composition: the rule for double-byte text as it is, with the input method running.
        self.flow.expect_two_enters_for_copied_japanese(window, SEARCH_BOX_POINT)


class ClipboardOwnersTest(OddCopyCase):
    """Clipboards that hold no word, or cannot be read, change nothing; rich text is looked
    up as its plain text. Real owners: clipboard_offer offers what the programs offer."""

    def setUp(self):
        missing = tools_missing()
        if missing:
            self.fail(f"tools missing: {', '.join(missing)} (scripts/deps.sh installs them)")
        super().setUp()

    def message_boxes(self) -> list[int]:
        """The program's windows other than its main window (its message boxes)."""
        windows = self.session.find_windows("Lexorra2", pid=self.session.program.pid)
        return [w for w in windows if w != self.window]

    def close_message_boxes(self):
        for box in self.message_boxes():
            self.session.close_window(box)

    def test_files_from_a_file_manager_change_nothing(self):
        self.flow.copy_and_expect("before the files", dictionary("before the files"))
        since = len(self.session.server.requests())
        offer_clipboard(self.session, {
            "x-special/gnome-copied-files": "copy\nfile:///home/user/%E8%BE%9E%E6%9B%B8.txt",
            "text/uri-list": "file:///home/user/%E8%BE%9E%E6%9B%B8.txt\r\n",
            "UTF8_STRING": "/home/user/辞書.txt",
            "text/plain": "/home/user/辞書.txt",
        })
        self.flow.expect_nothing_since(since, "files are not a word")
        self.assertEqual(self.message_boxes(), [], "no message for files")
        self.assert_still_answering("before the files")

    def test_a_picture_from_a_browser_changes_nothing(self):
        self.flow.copy_and_expect("before the picture", dictionary("before the picture"))
        png = subprocess.run(["convert", "-size", "16x16", "xc:red", "png:-"], check=True,
                             capture_output=True, timeout=30).stdout
        since = len(self.session.server.requests())
        offer_clipboard(self.session, {"text/html": "<img src='http://example.com/red.png'>",
                                       "image/png": png})
        self.flow.expect_nothing_since(since, "a picture is not a word")
        self.assert_still_answering("before the picture")

    def test_rich_text_is_looked_up_as_its_plain_text(self):
        # A browser's selection: the HTML and its plain text.
        since = len(self.session.server.requests())
        offer_clipboard(self.session, {
            "text/html": "<meta charset='utf-8'><b style='color:red'>太字</b>の語",
            "UTF8_STRING": "太字の語", "text/plain;charset=utf-8": "太字の語"})
        self.flow.expect_lookup(since, dictionary("太字の語"))
        # A program that offers nothing but HTML.
        since = len(self.session.server.requests())
        offer_clipboard(self.session, {
            "text/html": "<html><body><p><span style='font-weight:bold'>赤い</span>&amp;"
                         "語</p></body></html>"})
        self.flow.expect_lookup(since, dictionary("赤い&語"))

    def expect_cannot_open(self, behaviour: str, wait: float):
        self.flow.copy_and_expect("before the failure", dictionary("before the failure"))
        since = len(self.session.server.requests())
        offer_clipboard(self.session, {"UTF8_STRING": "never read"}, behaviour)
        wait_until(self.message_boxes, wait, 0.1, "the message that the clipboard can't be opened")
        self.flow.expect_nothing_since(since, "an unreadable clipboard is not looked up")
        self.close_message_boxes()
        # The box still holds the last text: copying it again sends nothing.
        self.assert_still_answering("before the failure")

    def test_an_owner_that_never_answers(self):
        self.expect_cannot_open("--never-answer", 10)

    def test_an_owner_that_closes_while_read(self):
        self.expect_cannot_open("--exit-on-request", 5)


class HighDpiTest(RealDesktopCase):
    """At 200 % the 1280 by 1024 screen is 640 by 512 logical pixels: the window opens inside
    it, frame and all, and works."""

    def test_the_window_opens_inside_the_screen_at_200_percent(self):
        env = self.session.program_env()
        env["QT_SCALE_FACTOR"] = "2"
        self.session.start_program(env=env)
        window = self.session.wait_for_main_window()
        self.session.wait_for_page(lambda p: p["url"].startswith("lexorra2://"))
        # The window manager places the window as it frames it, in its own time.
        wait_until(lambda: self.framed(window), 20, 0.1, "the window manager to frame the window")
        frame = self.frame_geometry(window)
        self.assertGreaterEqual(frame[0], 0, f"frame {frame} starts left of the screen")
        self.assertGreaterEqual(frame[1], 0, f"frame {frame} starts above the screen")
        self.assertLessEqual(frame[0] + frame[2], 1280, f"frame {frame} ends right of it")
        self.assertLessEqual(frame[1] + frame[3], 1024, f"frame {frame} ends below it")
        self.flow.copy_and_expect("scaled", dictionary("scaled"))

    def framed(self, window: int) -> bool:
        """Whether the window manager has framed the window (it says how wide the frame is)."""
        out = subprocess.run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"],
                             env=self.session.base_env(), capture_output=True, text=True,
                             timeout=10).stdout
        return "=" in out

    def frame_geometry(self, window: int) -> tuple[int, int, int, int]:
        """x, y, width, height of the window with its frame, on the screen."""
        out = subprocess.run(["xwininfo", "-frame", "-id", str(window)],
                             env=self.session.base_env(), capture_output=True, text=True,
                             timeout=10, check=True).stdout
        value = lambda label: int(re.search(rf"^\s*{label}:\s*(-?\d+)", out, re.M).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                value("Height"))


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
