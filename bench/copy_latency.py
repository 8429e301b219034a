"""Time from a copy to the lookup request reaching the site, and to the result page shown on
the screen: lexorra2 beside bare_clipboard.

Both programs run at once under the end-to-end harness, each on its own Xvfb display with
openbox and the loopback site server as its proxy, with the same engine flags. The copies
alternate between them: each is a new text put on that display's clipboard by
bench/clipboard_owner; the time runs from the moment the X server made it the clipboard's
owner (the moment both programs are told of the change) to the site server receiving the
request line of the lookup. The bare program (bench/bare_clipboard.cpp) loads the same query
URL on each clipboard change and does nothing else, the floor of this stack.

The second time runs from the same moment to the result page on the screen: every page the
site server answers a lookup with is one colour, alternating between two from one lookup to
the next, and bench/paint_watch watches the window's damage and reads a grid of points across
the page area back after each, until every point has the new page's colour (the whole page,
not its first tile). The bare program's page is sized like lexorra2's page area, found from
where the warm-up page's colour shows in each window.

    python3 bench/copy_latency.py [--copies N] [--build DIR] [--program LEXORRA2]

Prints median and 90th percentile of both times for both, and the ratios of both. Not a test:
nothing is asserted.
"""

from __future__ import annotations

import argparse
import select
import statistics
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import harness  # noqa: E402

QUERY = "http://dic.yahoo.co.jp/detail?p="
START_PAGE_URL = "lexorra2://home/Lexorra2pro_LOGO.html"
SETTLE_S = 0.8      # after each lookup, so that one page load does not overlap the next copy
WARM_UP = 2         # copies per program before measuring: the first loads start processes


def is_lookup(request) -> bool:
    return request.target.startswith(QUERY)


class Copier:
    """Copies with bench/clipboard_owner, which takes the clipboard, prints the monotonic time
    at which the X server made it the owner, and serves the text until another copy takes
    it. That moment is when both programs are told of the change, whatever the copying
    process does before or after."""

    def __init__(self, session: harness.Session, owner: Path):
        self.session = session
        self.owner = owner
        self.helpers: list[subprocess.Popen] = []

    def copy(self, text: str) -> float:
        helper = subprocess.Popen([str(self.owner), text], env=self.session.base_env(),
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.helpers.append(helper)
        line = helper.stdout.readline()
        if not line:
            raise RuntimeError("clipboard_owner did not take the clipboard")
        return float(line)

    def end_all_but_last(self):
        """Ends the owners that no longer own the clipboard (every one but the newest)."""
        for helper in self.helpers[:-1]:
            self._end(helper)
        self.helpers = self.helpers[-1:]

    def end(self):
        for helper in self.helpers:
            self._end(helper)
        self.helpers = []

    @staticmethod
    def _end(helper: subprocess.Popen):
        if helper.poll() is None:
            helper.terminate()
        try:
            helper.wait(timeout=5)
        except subprocess.TimeoutExpired:
            helper.kill()
            helper.wait()


# The result pages' colours, in turn; neither is used by either program's own window.
PAGE_COLOURS = ("2e8b57", "8b2252")
# The page area, before the warm-up page shows where it is: inside lexorra2's page (below its
# toolbar, above its status bar) and the bare program's at their first size.
FIRST_PROBES = ((504, 400),)


def page_area(session: harness.Session, window: int, colour: str) -> tuple[int, int, int, int]:
    """(x, y, width, height) in the window of where a page of this colour shows: the page area,
    whatever the window puts around it."""
    picture = session.tmp / "page-area.png"
    # The window itself, without the frame: paint_watch's points are in its coordinates.
    subprocess.run(["import", "-display", session.display, "-window", str(window), str(picture)],
                   check=True, timeout=30, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Everything of the page's colour white, the rest black; trimmed, the white's bounds.
    out = subprocess.run(["convert", str(picture), "-fill", "black", "+opaque", f"#{colour}",
                          "-fill", "white", "-opaque", f"#{colour}", "-trim", "info:-"],
                         capture_output=True, text=True, timeout=30, check=True).stdout
    _, _, offset = out.split()[3].partition("+")
    w, h = (int(v) for v in out.split()[2].split("x"))
    x, y = (int(v) for v in offset.split("+"))
    return x, y, w, h


def probes_in(area: tuple[int, int, int, int]) -> tuple[tuple[int, int], ...]:
    """A 3x3 grid across the page area, a little inside its edges."""
    x, y, w, h = area
    return tuple((x + w * fx // 20, y + h * fy // 20) for fy in (1, 10, 19) for fx in (1, 10, 19))


class ColouredPages:
    """The site server's answer to lookups: a page of one colour, the next colour in turn for
    each lookup. Anything else gets the harness's default page. The page has some text: the
    engine keeps showing the old page until the new one paints content, or a while later."""

    def __init__(self, server: harness.SiteServer):
        self.count = 0
        self._fallback = server.default_page
        server.default_page = self.page

    def next_colour(self) -> str:
        return PAGE_COLOURS[self.count % len(PAGE_COLOURS)]

    def page(self, host: str, path: str) -> harness.Page:
        if not path.startswith(QUERY[len("http://dic.yahoo.co.jp"):]):
            return self._fallback(host, path)
        colour = self.next_colour()
        self.count += 1
        return harness.Page(
            f"<!DOCTYPE html><html><head><meta charset='utf-8'><title>{colour}</title></head>"
            f"<body style='margin:0;background:#{colour}'><h1>{colour}</h1></body></html>"
            .encode())


class PaintWatch:
    """bench/paint_watch on a window: tells when every probe point shows a colour."""

    def __init__(self, session: harness.Session, tool: Path, window: int,
                 probes: tuple[tuple[int, int], ...] = FIRST_PROBES):
        self.expected = ""
        self.process = subprocess.Popen([str(tool), str(window),
                                         *(str(v) for point in probes for v in point)],
                                        env=session.base_env(), stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True)

    def expect(self, colour: str):
        self.expected = colour
        self.process.stdin.write(colour + "\n")
        self.process.stdin.flush()

    def wait(self, timeout: float) -> float:
        ready, _, _ = select.select([self.process.stdout], [], [], timeout)
        if not ready:
            raise TimeoutError(f"the page was not painted in {timeout:g} s: expected "
                               f"#{self.expected} at every probe point; they showed "
                               f"{self.points_now()}")
        return float(self.process.stdout.readline())

    def points_now(self) -> str:
        if self.process.poll() is not None:
            return f"nothing: paint_watch ended with {self.process.returncode}"
        self.process.stdin.write("?\n")
        self.process.stdin.flush()
        ready, _, _ = select.select([self.process.stdout], [], [], 5)
        return self.process.stdout.readline().strip() if ready else "nothing (no answer)"

    def end(self):
        self.process.stdin.close()
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


class Subject:
    def __init__(self, name: str, session: harness.Session, owner: Path):
        self.name = name
        self.session = session
        self.copier = Copier(session, owner)
        self.pages = ColouredPages(session.server)
        self.watch: PaintWatch | None = None
        self.window = 0
        self.area = (0, 0, 0, 0)
        self.latencies: list[float] = []
        self.paints: list[float] = []

    def start(self, program: Path, args: list[str], window_name: str | None, paint_watch: Path):
        self.session.start_program(args, program=program)
        self.window = (self.session.wait_for_window(window_name) if window_name
                       else self.session.wait_for_main_window())
        self.watch = PaintWatch(self.session, paint_watch, self.window)

    def warm_up(self, paint_watch: Path):
        """The first loads start processes; the last warm-up page shows where the page area
        is, and from then on the whole of it is watched."""
        for i in range(WARM_UP):
            self.lookup(f"warmup{i}")
            time.sleep(SETTLE_S)
        shown = PAGE_COLOURS[(self.pages.count - 1) % len(PAGE_COLOURS)]
        self.area = page_area(self.session, self.window, shown)
        self.watch.end()
        self.watch = PaintWatch(self.session, paint_watch, self.window, probes_in(self.area))

    def lookup(self, text: str) -> tuple[float, float]:
        """(copy to request, copy to page painted), in seconds."""
        server = self.session.server
        since = len(server.requests())
        self.watch.expect(self.pages.next_colour())
        copied = self.copier.copy(text)
        request = server.wait_for_request(is_lookup, 30, since)
        if text.encode("ascii", "ignore").decode() not in request.target:
            raise RuntimeError(f"{self.name}: {text!r} gave {request.line!r}")
        painted = self.watch.wait(30)
        self.copier.end_all_but_last()
        return request.time - copied, painted - copied


def percentile(values: list[float], q: float) -> float:
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, round(q * (len(ordered) - 1)))]


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--copies", type=int, default=30)
    parser.add_argument("--build", type=Path, default=REPO / "build")
    parser.add_argument("--program", type=Path, help="another lexorra2 (default: the build's)")
    args = parser.parse_args()
    program = (args.program or args.build / "src" / "app" / "lexorra2").resolve()
    bare = (args.build / "bench" / "bare_clipboard").resolve()
    owner = (args.build / "bench" / "clipboard_owner").resolve()
    paint_watch = (args.build / "bench" / "paint_watch").resolve()
    for path in (program, bare, owner, paint_watch):
        if not path.exists():
            print(f"not built: {path}", file=sys.stderr)
            return 2
    missing = harness.tools_available()
    if missing:
        print(f"tools missing: {', '.join(missing)}", file=sys.stderr)
        return 2

    subjects: list[Subject] = []
    try:
        lexorra2 = Subject("lexorra2", harness.Session("latency-lexorra2", False).start(),
                           owner)
        subjects.append(lexorra2)
        floor = Subject("bare_clipboard", harness.Session("latency-bare", False).start(), owner)
        subjects.append(floor)

        lexorra2.start(program, [], None, paint_watch)
        # lexorra2 puts its first lookup off until its start sequence, a second after start.
        time.sleep(max(0.0, lexorra2.session.program_started_at + 2.0 - time.monotonic()))
        lexorra2.warm_up(paint_watch)
        # The bare page as large as lexorra2's: both compose as many pixels of page.
        width, height = lexorra2.area[2:]
        floor.start(bare, ["--page-size", f"{width}x{height}"], "^bare-clipboard$", paint_watch)
        floor.warm_up(paint_watch)
        for subject in subjects:
            print(f"{subject.name}: page area {subject.area[2]}x{subject.area[3]} at "
                  f"{subject.area[0]},{subject.area[1]}")
        words = ["辞書", "apple", "東京", "river", "言葉", "garden", "勉強", "window"]
        for i in range(args.copies):
            # Alternating which program goes first evens out any drift of the machine's load.
            for subject in (subjects if i % 2 == 0 else reversed(subjects)):
                request, painted = subject.lookup(f"{words[i % len(words)]}{i}")
                subject.latencies.append(request)
                subject.paints.append(painted)
                time.sleep(SETTLE_S)
    finally:
        for subject in subjects:
            subject.copier.end()
            if subject.watch:
                subject.watch.end()
            subject.session.stop()

    for title, key in (("the request at the site", "latencies"),
                       ("the result page painted", "paints")):
        print(f"{args.copies} copies each; copy (clipboard taken) to {title}, ms")
        print(f"{'':16} {'median':>8} {'p90':>8} {'min':>8} {'max':>8}")
        for subject in subjects:
            ms = [v * 1000 for v in getattr(subject, key)]
            print(f"{subject.name:16} {statistics.median(ms):8.1f} {percentile(ms, 0.9):8.1f} "
                  f"{min(ms):8.1f} {max(ms):8.1f}")
        ours, bare = getattr(lexorra2, key), getattr(floor, key)
        print(f"ratio lexorra2 / bare: median {statistics.median(ours) / statistics.median(bare):.2f}, "
              f"p90 {percentile(ours, 0.9) / percentile(bare, 0.9):.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
