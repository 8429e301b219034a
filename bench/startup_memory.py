"""Start-up time and memory of lexorra2 beside a bare QWebEngineView program.

Both run in the same way under the end-to-end harness (Xvfb, openbox, the site server as
their proxy, the same engine flags), alternately, several times:

- window: from process start to the main window mapped on the display;
- first page: from process start to the engine reporting the page with its title. lexorra2
  shows its start page (carried in the program) from the first tick of its one-second start
  timer, so its figure is also given without that deliberate second; the bare program loads
  the same page from the site server at once;
- memory of the whole process tree (the program and the engine's helper processes): the sum
  of RSS and of PSS from /proc/<pid>/smaps_rollup, three seconds after the page(s) loaded,
  with one tab and with ten tabs (lexorra2: nine more opened by the page, as links with a
  target do; the bare program: ten views).

    python3 bench/startup_memory.py [--runs N] [--build DIR]

Prints the medians and the ratios lexorra2 / bare. Not a test: nothing is asserted.
"""

from __future__ import annotations

import argparse
import statistics
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import harness  # noqa: E402

START_PAGE = REPO / "src" / "browser" / "Lexorra2pro_LOGO.html"
PAGE_PATH = "/Lexorra2pro_LOGO.html"
PAGE_TITLE = "Lexorra2"
TIMER_MS = 1000
SETTLE_S = 3.0


def tree_memory(pids: list[int]) -> tuple[int, int]:
    """(RSS, PSS) in KiB summed over the processes."""
    rss = pss = 0
    for pid in pids:
        try:
            text = Path(f"/proc/{pid}/smaps_rollup").read_text()
        except OSError:
            continue
        for line in text.splitlines():
            if line.startswith("Rss:"):
                rss += int(line.split()[1])
            elif line.startswith("Pss:"):
                pss += int(line.split()[1])
    return rss, pss


def poll(predicate, timeout=60.0, interval=0.01):
    return harness.wait_until(predicate, timeout, interval)


def loaded_pages(session) -> list[dict]:
    return [p for p in session.devtools_pages() if p.get("title") == PAGE_TITLE]


def measure_lexorra2(program: Path) -> dict:
    session = harness.Session("bench-lexorra2").start()
    try:
        session.server.pages[PAGE_PATH] = harness.Page(START_PAGE.read_bytes())
        session.start_program(program=program)
        t0 = session.program_started_at
        poll(lambda: session.find_windows("^" + harness.MAIN_WINDOW_TITLE + "$"))
        window = time.monotonic() - t0
        first = poll(lambda: next(iter(loaded_pages(session)), None))
        page = time.monotonic() - t0
        time.sleep(SETTLE_S)
        one = tree_memory(session.program_processes())

        with harness.DevToolsPage(first["webSocketDebuggerUrl"]) as devtools:
            for _ in range(9):
                devtools.evaluate(f"window.open({session.server.url(PAGE_PATH)!r}, '_blank'); 0",
                                  user_gesture=True)
        poll(lambda: len(loaded_pages(session)) >= 10, timeout=120, interval=0.1)
        time.sleep(SETTLE_S)
        ten = tree_memory(session.program_processes())
        return {"window": window, "page": page, "page_minus_timer": page - TIMER_MS / 1000,
                "one": one, "ten": ten}
    finally:
        session.stop()


def run_bare(bare: Path, tabs: int) -> tuple[float, float, tuple[int, int]]:
    session = harness.Session("bench-bare").start()
    try:
        session.server.pages[PAGE_PATH] = harness.Page(START_PAGE.read_bytes())
        session.start_program([session.server.url(PAGE_PATH), str(tabs)], program=bare)
        t0 = session.program_started_at
        poll(lambda: session.find_windows("^bare-webengine$"))
        window = time.monotonic() - t0
        poll(lambda: len(loaded_pages(session)) >= tabs, timeout=120)
        page = time.monotonic() - t0
        time.sleep(SETTLE_S)
        return window, page, tree_memory(session.program_processes())
    finally:
        session.stop()


def measure_bare(bare: Path) -> dict:
    window, page, one = run_bare(bare, 1)
    _, _, ten = run_bare(bare, 10)
    return {"window": window, "page": page, "page_minus_timer": page, "one": one, "ten": ten}


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--build", type=Path, default=REPO / "build")
    args = parser.parse_args()
    program = (args.build / "src" / "app" / "lexorra2").resolve()
    bare = (args.build / "bench" / "bare_webengine").resolve()
    for path in (program, bare):
        if not path.exists():
            sys.exit(f"not built: {path}")

    runs = {"lexorra2": [], "bare": []}
    for i in range(args.runs):
        runs["bare"].append(measure_bare(bare))
        runs["lexorra2"].append(measure_lexorra2(program))
        print(f"run {i + 1}/{args.runs} done", file=sys.stderr)

    def med(name, key, index=None):
        values = [r[key] if index is None else r[key][index] for r in runs[name]]
        return statistics.median(values)

    rows = [
        ("window shown (ms)", "window", None, 1000),
        ("first page loaded (ms)", "page", None, 1000),
        ("first page, start timer's 1 s removed (ms)", "page_minus_timer", None, 1000),
        ("RSS, one tab (MiB)", "one", 0, 1 / 1024),
        ("PSS, one tab (MiB)", "one", 1, 1 / 1024),
        ("RSS, ten tabs (MiB)", "ten", 0, 1 / 1024),
        ("PSS, ten tabs (MiB)", "ten", 1, 1 / 1024),
    ]
    print(f"median of {args.runs} runs each")
    print(f"{'':44} {'lexorra2':>10} {'bare':>10} {'ratio':>7}")
    for label, key, index, scale in rows:
        a = med("lexorra2", key, index)
        b = med("bare", key, index)
        print(f"{label:44} {a * scale:10.0f} {b * scale:10.0f} {a / b:7.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
