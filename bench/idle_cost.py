"""Idle cost of lexorra2 beside a bare QWebEngineView program.

Both run under the end-to-end harness (Xvfb, openbox, a real system tray from trayer, the
site server as their proxy, the same engine flags) with the same page shown. lexorra2 runs
with every option on (F12 and END watched, close to the tray, minimise when another program
is active, bring forward on copy). Once the page has loaded, another program's window is
made active over them and, after a settling time, the whole process tree of each program
(the program and the engine's helper processes) is watched for a while:

- wake-ups per second: context switches of every thread of the tree (a thread that wakes
  and sleeps again counts one), from /proc/<pid>/task/<tid>/status;
- CPU time: user and system time of the tree, from /proc/<pid>/stat.

    python3 bench/idle_cost.py [--seconds 60] [--runs 1] [--build DIR]

Prints both programs' figures and lexorra2's excess over the bare program. Not a test:
nothing is asserted.
"""

from __future__ import annotations

import argparse
import os
import statistics
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import desktop_helpers  # noqa: E402
import harness  # noqa: E402

START_PAGE = REPO / "src" / "browser" / "Lexorra2pro_LOGO.html"
PAGE_PATH = "/Lexorra2pro_LOGO.html"
PAGE_TITLE = "Lexorra2"
SETTLE_S = 10.0
TICKS = os.sysconf("SC_CLK_TCK")


def switches(pids: list[int]) -> dict[tuple[int, int], int]:
    """Context switches so far, per (pid, tid)."""
    counts = {}
    for pid in pids:
        try:
            tids = os.listdir(f"/proc/{pid}/task")
        except OSError:
            continue
        for tid in tids:
            try:
                text = Path(f"/proc/{pid}/task/{tid}/status").read_text()
            except OSError:
                continue
            total = 0
            for line in text.splitlines():
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
            counts[(pid, int(tid))] = total
    return counts


def cpu_ticks(pids: list[int]) -> dict[int, int]:
    """User and system clock ticks so far, per process."""
    ticks = {}
    for pid in pids:
        try:
            text = Path(f"/proc/{pid}/stat").read_text()
        except OSError:
            continue
        fields = text[text.rindex(")") + 2:].split()
        ticks[pid] = int(fields[11]) + int(fields[12])
    return ticks


def watch(session: harness.Session, seconds: float) -> tuple[float, float]:
    """(wake-ups per second, CPU seconds) of the program's process tree over `seconds`."""
    pids = session.program_processes()
    switches0, cpu0 = switches(pids), cpu_ticks(pids)
    time.sleep(seconds)
    pids = session.program_processes()
    switches1, cpu1 = switches(pids), cpu_ticks(pids)
    # Threads and processes that came meanwhile count from zero; those that went are lost
    # (a program at rest starts and ends none).
    woke = sum(n - switches0.get(key, 0) for key, n in switches1.items())
    cpu = sum(n - cpu0.get(pid, 0) for pid, n in cpu1.items()) / TICKS
    return woke / seconds, cpu


def settle_in_background(session: harness.Session, title_regex: str):
    window = session.wait_for_window(title_regex, 60)
    # With "minimise when another program is active" on, the window goes to the task bar as
    # the other program comes; either way it rests behind it.
    harness.wait_until(lambda: any(p.get("title") == PAGE_TITLE
                                   for p in session.devtools_pages()), 60, 0.1,
                       "the page to load")
    desktop_helpers.start_cover_window(session, session.window_geometry(window))
    time.sleep(SETTLE_S)


def measure(program: Path, bare: bool, seconds: float) -> tuple[float, float]:
    session = harness.Session("bench-idle").start()
    try:
        desktop_helpers.start_tray(session)
        session.server.pages[PAGE_PATH] = harness.Page(START_PAGE.read_bytes())
        if bare:
            session.start_program([session.server.url(PAGE_PATH), "1"], program=program)
            settle_in_background(session, "^bare-webengine$")
        else:
            session.start_program(program=program)
            window = session.wait_for_main_window(60)
            # Bringing forward on copy is on from the start; the others are switched on.
            for option in (desktop_helpers.F12_OPTION, desktop_helpers.END_OPTION,
                           desktop_helpers.CLOSE_TO_TRAY_OPTION,
                           desktop_helpers.MINIMISE_WHEN_INACTIVE_OPTION):
                desktop_helpers.switch_option(session, window, option)
            settle_in_background(session, "^" + harness.MAIN_WINDOW_TITLE + "$")
        return watch(session, seconds)
    finally:
        session.stop()


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seconds", type=float, default=60.0)
    parser.add_argument("--runs", type=int, default=1)
    parser.add_argument("--build", type=Path, default=REPO / "build")
    args = parser.parse_args()
    program = (args.build / "src" / "app" / "lexorra2").resolve()
    bare = (args.build / "bench" / "bare_webengine").resolve()
    for path in (program, bare):
        if not path.exists():
            sys.exit(f"not built: {path}")

    runs = {"lexorra2": [], "bare": []}
    for i in range(args.runs):
        runs["bare"].append(measure(bare, True, args.seconds))
        runs["lexorra2"].append(measure(program, False, args.seconds))
        print(f"run {i + 1}/{args.runs}: lexorra2 {runs['lexorra2'][-1][0]:.2f}/s "
              f"{runs['lexorra2'][-1][1]:.2f} s CPU, bare {runs['bare'][-1][0]:.2f}/s "
              f"{runs['bare'][-1][1]:.2f} s CPU", file=sys.stderr)

    def med(name, index):
        return statistics.median(r[index] for r in runs[name])

    wake_a, wake_b = med("lexorra2", 0), med("bare", 0)
    cpu_a, cpu_b = med("lexorra2", 1), med("bare", 1)
    print(f"idle in the background for {args.seconds:.0f} s, median of {args.runs} run(s)")
    print(f"{'':28} {'lexorra2':>10} {'bare':>10} {'lexorra2 - bare':>16} {'ratio':>7}")
    print(f"{'wake-ups per second':28} {wake_a:10.2f} {wake_b:10.2f} {wake_a - wake_b:16.2f} "
          f"{wake_a / wake_b if wake_b else float('nan'):7.2f}")
    print(f"{'CPU time (s)':28} {cpu_a:10.2f} {cpu_b:10.2f} {cpu_a - cpu_b:16.2f} "
          f"{cpu_a / cpu_b if cpu_b else float('nan'):7.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
