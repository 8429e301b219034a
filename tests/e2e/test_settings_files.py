"""The settings files with the real program: a file in code page 932 chooses the site a copy
goes to, and closing the window writes the 42 lines back, byte for byte.

The documents folder of each session is a fresh temporary one; each case writes the files it
needs before the program starts.
"""

import os
import unittest
from pathlib import Path

from harness import E2ETestCase, site_query_url, tools_available, wait_until
from test_lookup_flow import START_PAGE_URL, LookupSession

# The 42 lines of a file written right after window creation.
DEFAULT_LINES = [
    "yahoo!国語辞典", "yahoo!英和、和英", "Longman Web Dictionary", "NAVER中国語辞書",
    "NAVER韓国語辞典", "google翻訳　自動検出→日本語", "Wikipedia", "weblio類語辞典", "google",
    "Voreziv オークション検索", "amazon", "googleマップ", "yahoo!天気", "Voreziv 音楽検索",
    "youtube", "yahoo!知恵袋", "Voreziv ニュース検索", "IT用語辞典 E-words", "Seesaaブログ",
    "2ちゃんねる",
    "True", "True", "False", "False", "False", "False", "False", "False", "True", "False",
    "False", "False",
    "普通", "大", "1", "",
    "使わない", "使わない", "使わない", "使わない", "使わない", "使わない",
]


def settings_bytes(lines: list[str]) -> bytes:
    """The file as the Windows program writes it: code page 932, CR LF after every line."""
    return b"".join(line.encode("cp932") + b"\r\n" for line in lines)


@unittest.skipIf(tools_available(), f"missing X tools: {tools_available()}")
class SettingsFiles(E2ETestCase):

    def settings_path(self):
        return self.session.documents / "Lexorra2" / "Lexorra2.ini"

    def write_settings(self, lines: list[str]):
        self.settings_path().parent.mkdir(parents=True, exist_ok=True)
        self.settings_path().write_bytes(settings_bytes(lines))

    def start(self) -> int:
        self.session.start_program()
        window = self.session.wait_for_main_window()
        self.session.wait_for_page(lambda p: p["url"] == START_PAGE_URL)
        return window

    def close_and_read_back(self, window: int) -> bytes:
        self.session.close_window(window)
        self.assertEqual(self.session.wait_program_exit(30), 0)
        return self.settings_path().read_bytes()

    def test_a_crafted_file_chooses_the_site_a_copy_goes_to(self):
        lines = list(DEFAULT_LINES)
        lines[0] = "goo国語辞典"
        self.write_settings(lines)
        self.start()
        lookups = LookupSession(self, self.session)
        lookups.copy_and_expect("辞書", site_query_url("goo2_kokugo", "辞書"))

    def test_closing_the_window_writes_the_42_lines(self):
        window = self.start()
        self.assertFalse(self.settings_path().exists(), "nothing is written before the end")
        self.assertEqual(self.close_and_read_back(window), settings_bytes(DEFAULT_LINES))

    def test_a_file_read_and_written_back_is_the_same_byte_for_byte(self):
        lines = list(DEFAULT_LINES)
        lines[1] = "アルク"                # the hidden English-Japanese Site
        lines[2] = "使わない"
        lines[19] = "Delphi Q&&A BBS"
        lines[21] = "False"
        lines[26] = "True"                 # a new tab per search
        lines[28] = "False"
        lines[32] = "低い"
        lines[33] = "Max"
        lines[35] = "127.0.0.1:1"          # kept although the proxy is off
        lines[36] = "goo英和、和英"
        lines[41] = "coneco.net"
        self.write_settings(lines)
        window = self.start()
        self.assertEqual(self.close_and_read_back(window), settings_bytes(lines))

    def thread_nice_values(self) -> list[tuple[int, str, int]]:
        """(process, thread name, nice value) of every thread of the program and of every
        process it started, as /proc tells them now."""
        values = []
        for pid in self.session.program_processes():
            for task in Path(f"/proc/{pid}/task").glob("*"):
                try:
                    stat = (task / "stat").read_text()
                    name = (task / "comm").read_text().strip()
                except OSError:
                    continue  # ended since the listing
                fields = stat[stat.rindex(")") + 2:].split()
                values.append((pid, name, int(fields[16])))
        return values

    def test_a_stored_priority_reaches_every_thread_and_helper_process(self):
        if os.geteuid() != 0:
            self.skipTest("a higher priority is only granted to root here")
        lines = list(DEFAULT_LINES)
        lines[32] = "高い"
        self.write_settings(lines)
        self.start()
        lookups = LookupSession(self, self.session)
        for word in ("優先", "順位", "全体"):
            lookups.copy_and_expect(word, site_query_url("yahoo2_kokugo", word))
        self.assertGreater(len(self.session.program_processes()), 1, "the engine's helpers run")
        try:
            wait_until(lambda: all(nice == -10 for _, _, nice in self.thread_nice_values()),
                       20, 0.2, "every thread at nice -10")
        except TimeoutError:
            self.fail("threads off the chosen priority: " + repr(
                [value for value in self.thread_nice_values() if value[2] != -10]))


if __name__ == "__main__":
    unittest.main()
