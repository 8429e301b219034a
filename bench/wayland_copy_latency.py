"""Time from a copy to the lookup request reaching the site: lexorra2 in the background of a
headless sway or KWin session, told of a Wayland copy through data control, beside lexorra2
under Xvfb and openbox, told of an X11 copy.

Both run at once under the end-to-end harness with the loopback site server as their proxy and
the same engine flags, and the copies alternate between them. Under the compositor lexorra2 is
an XWayland window behind a Wayland program (weston-flower), the case data control is for;
each copy is tests/support/data_control_offer setting the Wayland clipboard, and the time runs
from the moment it asked the compositor for the selection (the compositor then tells
lexorra2 at once) to the site server receiving the lookup's request line. Under Xvfb each copy is
bench/clipboard_owner, timed from the X server's confirmation of the ownership, as in
copy_latency.py.

    python3 bench/wayland_copy_latency.py [--compositor sway|kwin] [--copies N] [--build DIR]

Prints median and 90th percentile of both and their ratio. Not a test: nothing is asserted.
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
sys.path.insert(0, str(REPO / "bench"))

import copy_latency  # noqa: E402
import harness  # noqa: E402

START_PAGE_URL = "lexorra2://home/Lexorra2pro_LOGO.html"
SETTLE_S = 0.8
WARM_UP = 2


class WaylandCopier(copy_latency.Copier):
    """Copies through data control; each offer serves until the next copy takes over."""

    def __init__(self, tool: Path, socket: str):
        super().__init__(None, tool)
        self.socket = socket

    def copy(self, text: str) -> float:
        offer = subprocess.Popen([str(self.owner), "text/plain;charset=utf-8", "text", text],
                                 env={"WAYLAND_DISPLAY": self.socket, "PATH": "/usr/bin:/bin",
                                      "DATA_CONTROL_OFFER_TIME": "1"},
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                 start_new_session=True)
        self.helpers.append(offer)
        ready, _, _ = select.select([offer.stdout], [], [], 20)
        line = offer.stdout.readline().split() if ready else []
        if len(line) != 2 or line[0] != b"set":
            raise RuntimeError("data_control_offer did not take the clipboard")
        return float(line[1])


def lookup(session: harness.Session, copy, text: str) -> float:
    since = len(session.server.requests())
    copied = copy(text)
    request = session.server.wait_for_request(copy_latency.is_lookup, 30, since)
    if text.encode("ascii", "ignore").decode() not in request.target:
        raise RuntimeError(f"{text!r} gave {request.line!r}")
    return request.time - copied


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--compositor", choices=("sway", "kwin"), default="sway")
    parser.add_argument("--copies", type=int, default=30)
    parser.add_argument("--build", type=Path, default=REPO / "build")
    args = parser.parse_args()
    program = (args.build / "src" / "app" / "lexorra2").resolve()
    owner = (args.build / "bench" / "clipboard_owner").resolve()
    offer_tool = (args.build / "tests" / "support" / "data_control_offer").resolve()
    for path in (program, owner, offer_tool):
        if not path.exists():
            print(f"not built: {path}", file=sys.stderr)
            return 2

    import test_wayland_clipboard  # noqa: E402 (the compositors of the Wayland tests)
    compositor = {"sway": test_wayland_clipboard.Sway,
                  "kwin": test_wayland_clipboard.KWin}[args.compositor](None)
    # Both with the engine's remote debugging, to see the start page: alike for both.
    x11 = harness.Session("wl-latency-x11").start()
    wayland = harness.Session("wl-latency-wayland").start()
    x11_copier = copy_latency.Copier(x11, owner)
    wayland_copier: WaylandCopier | None = None
    figures: dict[str, list[float]] = {"X11 (Xvfb)": [], f"Wayland ({args.compositor})": []}
    try:
        compositor.start()
        env = wayland.program_env()
        env.update({"DISPLAY": compositor.xwayland_display, "WAYLAND_DISPLAY": compositor.socket,
                    "XDG_SESSION_TYPE": "wayland"})
        wayland.start_program(env=env, program=program)
        x11.start_program(program=program)
        for session in (wayland, x11):
            session.wait_for_page(lambda p: p["url"] == START_PAGE_URL, 60)
        harness.wait_until(compositor.x_window_focused, 60, 0.2, "Lexorra2's window")
        compositor.start_client(["weston-flower"])
        harness.wait_until(compositor.wayland_program_focused, 60, 0.5,
                           "a Wayland program to have the focus")
        wayland_copier = WaylandCopier(offer_tool, compositor.socket)
        subjects = [("X11 (Xvfb)", x11, x11_copier),
                    (f"Wayland ({args.compositor})", wayland, wayland_copier)]
        for i in range(WARM_UP):
            for _, session, copier in subjects:
                lookup(session, copier.copy, f"warmup{i}")
                copier.end_all_but_last()
                time.sleep(SETTLE_S)
        words = ["辞書", "apple", "東京", "river", "言葉", "garden", "勉強", "window"]
        for i in range(args.copies):
            for name, session, copier in (subjects if i % 2 == 0 else reversed(subjects)):
                figures[name].append(lookup(session, copier.copy, f"{words[i % len(words)]}{i}"))
                copier.end_all_but_last()
                time.sleep(SETTLE_S)
    finally:
        x11_copier.end()
        if wayland_copier:
            wayland_copier.end()
        x11.stop()
        wayland.stop()
        compositor.stop()

    print(f"{args.copies} copies each; copy to the request at the site, ms")
    print(f"{'':18} {'median':>8} {'p90':>8} {'min':>8} {'max':>8}")
    for name, values in figures.items():
        ms = [v * 1000 for v in values]
        print(f"{name:18} {statistics.median(ms):8.1f} {copy_latency.percentile(ms, 0.9):8.1f} "
              f"{min(ms):8.1f} {max(ms):8.1f}")
    base, wl = figures.values()
    print(f"ratio Wayland / X11: median {statistics.median(wl) / statistics.median(base):.2f}, "
          f"p90 {copy_latency.percentile(wl, 0.9) / copy_latency.percentile(base, 0.9):.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
