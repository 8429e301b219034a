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

Prints both programs' figures and lexorra2's excess over the bare program.

    python3 bench/idle_cost.py --wayland sway|kwin [--seconds 60] [--runs 1] [--build DIR]

instead measures what watching the Wayland clipboard through data control costs at rest:
lexorra2 alone (no tray, no other options), in the background behind a Wayland program
(weston-flower), on the headless compositor's XWayland without WAYLAND_DISPLAY (the X11
watcher only) and with it (the data-control watcher on a thread of its own), and, for
reference, under Xvfb and openbox behind another X window. Beside the whole tree's figures it
prints the wake-ups of the program's own process and of its data-control thread.

Not a test: nothing is asserted.
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
START_PAGE_URL = "lexorra2://home/Lexorra2pro_LOGO.html"
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


def watch_threads(session: harness.Session, seconds: float) -> dict[str, float]:
    """Wake-ups per second over `seconds`: of the whole tree ("tree"), of the program's own
    process ("program") and of its data-control thread ("data control"), with the CPU
    seconds of the tree ("cpu")."""
    main_pid = session.program.pid
    pids = session.program_processes()
    switches0, cpu0 = switches(pids), cpu_ticks(pids)
    time.sleep(seconds)
    pids = session.program_processes()
    switches1, cpu1 = switches(pids), cpu_ticks(pids)
    woke = {key: n - switches0.get(key, 0) for key, n in switches1.items()}

    def thread_named(pid: int, tid: int) -> str:
        try:
            return Path(f"/proc/{pid}/task/{tid}/comm").read_text().strip()
        except OSError:
            return ""
    # The thread's name is cut to 15 characters by the kernel.
    watcher = [n for (pid, tid), n in woke.items()
               if pid == main_pid and thread_named(pid, tid) == "WaylandClipboar"]
    by_thread: dict[str, int] = {}
    for (pid, tid), n in woke.items():
        if pid == main_pid:
            name = thread_named(pid, tid)
            by_thread[name] = by_thread.get(name, 0) + n
    busiest = sorted(by_thread.items(), key=lambda item: -item[1])[:3]
    print("  the program's threads that woke most: "
          + ", ".join(f"{name} {n}" for name, n in busiest), file=sys.stderr)
    return {
        "processes": len(pids),
        "tree": sum(woke.values()) / seconds,
        "program": sum(n for (pid, _), n in woke.items() if pid == main_pid) / seconds,
        "data control": sum(watcher) / seconds if watcher else float("nan"),
        "cpu": sum(n - cpu0.get(pid, 0) for pid, n in cpu1.items()) / TICKS,
    }


def measure_x11_only(program: Path, seconds: float) -> dict[str, float]:
    """lexorra2 under Xvfb and openbox behind another X window."""
    session = harness.Session("bench-idle-x11").start()
    try:
        session.start_program(program=program)
        window = session.wait_for_main_window(60)
        session.wait_for_page(lambda p: p["url"] == START_PAGE_URL, 60)
        desktop_helpers.start_cover_window(session, session.window_geometry(window))
        time.sleep(SETTLE_S)
        return watch_threads(session, seconds)
    finally:
        session.stop()


def measure_wayland(program: Path, compositor_name: str, data_control: bool,
                    seconds: float) -> dict[str, float]:
    """lexorra2 on the compositor's XWayland behind a Wayland program; with data_control its
    environment names the Wayland display, so it watches the clipboard through it."""
    import test_wayland_clipboard  # noqa: E402 (the compositors of the Wayland tests)
    compositor = {"sway": test_wayland_clipboard.Sway,
                  "kwin": test_wayland_clipboard.KWin}[compositor_name](None)
    session = harness.Session("bench-idle-wayland").start()
    try:
        compositor.start()
        env = session.program_env()
        env["DISPLAY"] = compositor.xwayland_display
        if data_control:
            env.update({"WAYLAND_DISPLAY": compositor.socket, "XDG_SESSION_TYPE": "wayland"})
        session.start_program(env=env, program=program)
        session.wait_for_page(lambda p: p["url"] == START_PAGE_URL, 60)
        harness.wait_until(compositor.x_window_focused, 60, 0.2, "Lexorra2's window")
        compositor.start_client(["weston-flower"])
        harness.wait_until(compositor.wayland_program_focused, 60, 0.5,
                           "a Wayland program to have the focus")
        time.sleep(SETTLE_S)
        return watch_threads(session, seconds)
    finally:
        session.stop()
        compositor.stop()


def wayland_main(program: Path, compositor_name: str, seconds: float, runs: int) -> int:
    names = ("Xvfb, X11 watcher", f"{compositor_name}, X11 watcher only",
             f"{compositor_name}, data control")
    results: dict[str, list[dict[str, float]]] = {name: [] for name in names}
    for i in range(runs):
        results[names[0]].append(measure_x11_only(program, seconds))
        results[names[1]].append(measure_wayland(program, compositor_name, False, seconds))
        results[names[2]].append(measure_wayland(program, compositor_name, True, seconds))
        print(f"run {i + 1}/{runs}: " + "; ".join(
            f"{name} {results[name][-1]['tree']:.2f}/s" for name in names), file=sys.stderr)

    def med(name: str, key: str) -> float:
        return statistics.median(r[key] for r in results[name])

    print(f"lexorra2 idle in the background for {seconds:.0f} s, median of {runs} run(s)")
    print("wake-ups per second of the program and its engine's processes (tree), of the program's")
    print("own process and of its data-control thread (nan: no such thread); CPU seconds of the tree")
    print(f"{'':34} {'processes':>9} {'tree':>8} {'program':>8} {'data control':>13} {'CPU s':>6}")
    for name in names:
        print(f"{name:34} {med(name, 'processes'):9.0f} {med(name, 'tree'):8.2f} "
              f"{med(name, 'program'):8.2f} {med(name, 'data control'):13.2f} "
              f"{med(name, 'cpu'):6.2f}")
    base, watched = names[1], names[2]
    for key in ("tree", "program"):
        ratio = med(watched, key) / med(base, key) if med(base, key) else float("nan")
        print(f"{key} wake-ups, data control over the X11 watcher on {compositor_name}: "
              f"{ratio:.2f}")
    return 0


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
    parser.add_argument("--wayland", choices=("sway", "kwin"),
                        help="the data-control watcher's cost under this compositor")
    args = parser.parse_args()
    program = (args.build / "src" / "app" / "lexorra2").resolve()
    if args.wayland:
        if not program.exists():
            sys.exit(f"not built: {program}")
        return wayland_main(program, args.wayland, args.seconds, args.runs)
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
