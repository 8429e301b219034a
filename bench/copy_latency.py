"""Time from a copy to the lookup request reaching the site: lexorra2 beside bare_clipboard.

Both programs run at once under the end-to-end harness, each on its own Xvfb display with
openbox and the loopback site server as its proxy, with the same engine flags. The copies
alternate between them: each is a new text put on that display's clipboard by
bench/clipboard_owner; the time runs from the moment the X server made it the clipboard's
owner (the moment both programs are told of the change) to the site server receiving the
request line of the lookup. The bare program (bench/bare_clipboard.cpp) loads the same query
URL on each clipboard change and does nothing else, the floor of this stack.

    python3 bench/copy_latency.py [--copies N] [--build DIR] [--program LEXORRA2]

Prints median and 90th percentile for both, and the ratio of the medians. Not a test:
nothing is asserted.
"""

from __future__ import annotations

import argparse
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

    def end(self):
        for helper in self.helpers:
            if helper.poll() is None:
                helper.terminate()
            try:
                helper.wait(timeout=5)
            except subprocess.TimeoutExpired:
                helper.kill()
                helper.wait()


class Subject:
    def __init__(self, name: str, session: harness.Session, owner: Path):
        self.name = name
        self.session = session
        self.copier = Copier(session, owner)
        self.latencies: list[float] = []

    def lookup(self, text: str) -> float:
        server = self.session.server
        since = len(server.requests())
        copied = self.copier.copy(text)
        request = server.wait_for_request(is_lookup, 30, since)
        if text.encode("ascii", "ignore").decode() not in request.target:
            raise RuntimeError(f"{self.name}: {text!r} gave {request.line!r}")
        return request.time - copied


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
    for path in (program, bare, owner):
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

        lexorra2.session.start_program(program=program)
        lexorra2.session.wait_for_main_window()
        floor.session.start_program(program=bare)
        floor.session.wait_for_window("^bare-clipboard$")
        # lexorra2 puts its first lookup off until its start sequence, a second after start.
        time.sleep(max(0.0, lexorra2.session.program_started_at + 2.0 - time.monotonic()))

        for i in range(WARM_UP):
            for subject in subjects:
                subject.lookup(f"warmup{i}")
                time.sleep(SETTLE_S)
        words = ["辞書", "apple", "東京", "river", "言葉", "garden", "勉強", "window"]
        for i in range(args.copies):
            # Alternating which program goes first evens out any drift of the machine's load.
            for subject in (subjects if i % 2 == 0 else reversed(subjects)):
                subject.latencies.append(subject.lookup(f"{words[i % len(words)]}{i}"))
                time.sleep(SETTLE_S)
    finally:
        for subject in subjects:
            subject.copier.end()
            subject.session.stop()

    print(f"{args.copies} copies each; copy (clipboard taken) to the request at the site, ms")
    print(f"{'':16} {'median':>8} {'p90':>8} {'min':>8} {'max':>8}")
    for subject in subjects:
        ms = [v * 1000 for v in subject.latencies]
        print(f"{subject.name:16} {statistics.median(ms):8.1f} {percentile(ms, 0.9):8.1f} "
              f"{min(ms):8.1f} {max(ms):8.1f}")
    ratio = statistics.median(lexorra2.latencies) / statistics.median(floor.latencies)
    print(f"ratio of medians lexorra2 / bare: {ratio:.2f} (target 1.25 or less)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
