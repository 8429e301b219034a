"""A day of use: lexorra2 beside bare_clipboard through hundreds of copies, with memory.

Both programs run at once under the end-to-end harness, each on its own Xvfb display with
openbox and the loopback site server as its proxy, with the same engine flags, and get the
same copies (bench/clipboard_owner takes the clipboard): Japanese and ASCII words, every
tenth a long text (lexorra2 sends those to translation), and in two stretches of the run
every copy opens a new tab (lexorra2's option "検索するとタブを新規作成する", switched in its
options menu; bare_clipboard's "new-tabs on" command), after which all tabs are closed again
(lexorra2's tab menu "すべてのタブを閉じる"; bare_clipboard's "close-tabs"). Every 50 copies,
with one tab open in each, the memory of each program's whole process tree (the program and
the engine's processes) is read: PSS summed from /proc/<pid>/smaps_rollup.

    python3 bench/day_of_use.py [--copies 500] [--build DIR] [--program LEXORRA2]

Prints the PSS of both every 50 copies, the ratio lexorra2 / bare, and each program's last
figure over its figure at 50. Not a test: nothing is asserted.
"""

from __future__ import annotations

import argparse
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))
sys.path.insert(0, str(REPO / "bench"))

import harness  # noqa: E402
from copy_latency import Copier  # noqa: E402
from startup_memory import tree_memory  # noqa: E402

QUERY_HOSTS = ("dic.yahoo.co.jp", "translate.google")
SAMPLE_EVERY = 50
SETTLE_S = 0.5        # after each page request, so that loads do not pile up
QUIET_S = 3.0         # before each memory reading
# Parts of the run (fractions of its copies) during which every copy opens a new tab; the
# tabs are closed at the end of each stretch, before the reading that follows it. Of 500
# copies: copies 131 to 150 and 331 to 350.
NEW_TAB_PARTS = ((0.26, 0.30), (0.66, 0.70))


def new_tab_stretches(copies: int) -> list[tuple[int, int]]:
    """The stretches as 1-based, inclusive copy numbers."""
    return [(int(a * copies) + 1, max(int(a * copies) + 1, int(b * copies)))
            for a, b in NEW_TAB_PARTS]

WORDS_JA = ["辞書", "東京", "言葉", "勉強", "桜", "図書館", "新聞", "天気", "電車", "料理"]
WORDS_EN = ["apple", "river", "garden", "window", "library", "weather", "station", "kitchen"]
LONG_TEXT = ("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で"
             "ニャーニャー泣いていた事だけは記憶している。") * 5


def text_for(i: int) -> str:
    """The i-th copy (1-based): distinct texts, so that every copy is a lookup."""
    if i % 10 == 0:
        return f"{LONG_TEXT}{i}"
    if i % 2:
        return f"{WORDS_JA[i % len(WORDS_JA)]}{i}"
    return f"{WORDS_EN[i % len(WORDS_EN)]} {i}"


def is_lookup(request) -> bool:
    return any(host in request.target for host in QUERY_HOSTS)


class Subject:
    def __init__(self, name: str, session: harness.Session, owner: Path):
        self.name = name
        self.session = session
        self.copier = Copier(session, owner)
        self.pss: dict[int, int] = {}
        self.own_pss: dict[int, int] = {}  # the program's own process, without the engine's
        self.tabs: dict[int, int] = {}

    def lookup(self, text: str):
        server = self.session.server
        since = len(server.requests())
        self.copier.copy(text)
        server.wait_for_request(is_lookup, 30, since)
        # Copies so far have each left an owner process serving the clipboard; only the
        # newest is still needed.
        self.copier.end_all_but_last()

    def tab_count(self) -> int:
        return len([p for p in self.session.devtools_pages() if p.get("type") == "page"])

    def sample(self, copies: int):
        time.sleep(QUIET_S)
        self.tabs[copies] = self.tab_count()
        self.pss[copies] = tree_memory(self.session.program_processes())[1]
        self.own_pss[copies] = tree_memory([self.session.program.pid])[1]

    # Driving the tabs; each returns once the engine shows the effect.
    def new_tabs(self, on: bool):
        raise NotImplementedError

    def close_tabs(self):
        raise NotImplementedError


class Bare(Subject):
    def new_tabs(self, on: bool):
        self._command("new-tabs on" if on else "new-tabs off")

    def close_tabs(self):
        self._command("close-tabs")
        harness.wait_until(lambda: self.tab_count() == 1, 20, 0.1, "bare: one tab")

    def _command(self, line: str):
        self.session.program.stdin.write((line + "\n").encode())
        self.session.program.stdin.flush()


class Lexorra2(Subject):
    def __init__(self, name, session, owner):
        super().__init__(name, session, owner)
        self.window = 0

    def new_tabs(self, on: bool):
        # オプション, then 設定(&V), then 検索するとタブを新規作成する(&U): flips the option.
        left, right = self.session.action_bar_items(self.window)[0]
        self.session.click((left + right) // 2, 14, window=self.window)
        time.sleep(0.5)
        self.session.key("v")
        time.sleep(0.5)
        self.session.key("u")
        time.sleep(0.5)

    def close_tabs(self):
        # The tab strip's menu: its last entry is すべてのタブを閉じる.
        geometry = self.session.window_geometry(self.window)
        strip_y = self._panel_bottom(geometry) + 8
        self.session.click(60, strip_y, button=3, window=self.window)
        time.sleep(0.5)
        self.session.key("Up")
        self.session.key("Return")
        harness.wait_until(lambda: self.tab_count() == 1, 20, 0.1, "lexorra2: one tab")

    def _panel_bottom(self, geometry) -> int:
        grey = (100, 100, 100)
        shot = self.session.screenshot(self.session.tmp / "panel.png")
        at = lambda y: shot.pixel(geometry.x + 140, geometry.y + y)
        top = next(y for y in range(geometry.height - 40)
                   if all(at(y + k) == grey for k in range(40)))
        return top + 53


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--copies", type=int, default=500)
    parser.add_argument("--sample-every", type=int, default=SAMPLE_EVERY)
    parser.add_argument("--build", type=Path, default=REPO / "build")
    parser.add_argument("--program", type=Path, help="another lexorra2 (default: the build's)")
    parser.add_argument("--env", action="append", default=[], metavar="NAME=VALUE",
                        help="an environment variable for lexorra2 (a malloc tunable, say)")
    args = parser.parse_args()
    program = (args.program or args.build / "src" / "app" / "lexorra2").resolve()
    bare = (args.build / "bench" / "bare_clipboard").resolve()
    owner = (args.build / "bench" / "clipboard_owner").resolve()
    for path in (program, bare, owner):
        if not path.exists():
            print(f"not built: {path}", file=sys.stderr)
            return 2

    subjects: list[Subject] = []
    stretches = new_tab_stretches(args.copies)
    try:
        lexorra2 = Lexorra2("lexorra2", harness.Session("day-lexorra2").start(), owner)
        subjects.append(lexorra2)
        floor = Bare("bare_clipboard", harness.Session("day-bare").start(), owner)
        subjects.append(floor)

        extra = dict(item.split("=", 1) for item in args.env)
        lexorra2.session.start_program(program=program,
                                       env={**lexorra2.session.program_env(), **extra})
        lexorra2.window = lexorra2.session.wait_for_main_window()
        floor.session.start_program(program=bare, stdin=subprocess.PIPE)
        floor.session.wait_for_window("^bare-clipboard$")
        time.sleep(max(0.0, lexorra2.session.program_started_at + 2.0 - time.monotonic()))

        for i in range(1, args.copies + 1):
            stretch = next((s for s in stretches if s[0] <= i <= s[1]), None)
            for subject in (subjects if i % 2 else reversed(subjects)):
                if stretch and i == stretch[0]:
                    subject.new_tabs(True)
                subject.lookup(text_for(i))
                if stretch and i == stretch[1]:
                    time.sleep(1.0)  # the last new tab's page
                    opened = subject.tab_count()
                    if opened < 1 + stretch[1] - stretch[0] + 1:
                        raise RuntimeError(f"{subject.name}: {opened} tabs after "
                                           f"{stretch[1] - stretch[0] + 1} copies in new tabs")
                    subject.new_tabs(False)
                    subject.close_tabs()
            time.sleep(SETTLE_S)
            if i % args.sample_every == 0:
                for subject in subjects:
                    subject.sample(i)
                line = "  ".join(f"{s.name} {s.pss[i] / 1024:6.1f} MiB ({s.tabs[i]} tab)"
                                 for s in subjects)
                print(f"{i:4d} copies: {line}", file=sys.stderr, flush=True)
    finally:
        for subject in subjects:
            subject.copier.end()
            subject.session.stop()

    print(f"PSS of the whole process tree (MiB), every {args.sample_every} copies; new tabs in "
          f"copies {', '.join(f'{a}-{b}' for a, b in stretches)}, closed after each")
    print("(own: the program's process alone, without the engine's helper processes)")
    print(f"{'copies':>6} {'lexorra2':>9} {'bare':>9} {'ratio':>6} {'tabs':>5} "
          f"{'own':>7} {'own':>7}")
    for n in sorted(lexorra2.pss):
        a, b = lexorra2.pss[n] / 1024, floor.pss[n] / 1024
        print(f"{n:6d} {a:9.1f} {b:9.1f} {a / b:6.2f} {lexorra2.tabs[n]:>2}/{floor.tabs[n]:<2} "
              f"{lexorra2.own_pss[n] / 1024:7.1f} {floor.own_pss[n] / 1024:7.1f}")
    first, last = min(lexorra2.pss), max(lexorra2.pss)
    for s in subjects:
        print(f"{s.name}: last / at {first}: {s.pss[last] / s.pss[first]:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
