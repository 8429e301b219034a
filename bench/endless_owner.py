"""The program while a clipboard owner streams a copy without end (INCR chunks, never the last
one): the window's event loop answers pings (_NET_WM_PING, bench/window_ping) and the
program's memory is sampled, before the copy and while the owner goes on sending.

    python3 bench/endless_owner.py [--seconds S] [--build DIR] [--program LEXORRA2]

Prints the ping round trips and the program's resident memory. Not a test: nothing is asserted.
"""

from __future__ import annotations

import argparse
import subprocess
import sys
import threading
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import harness  # noqa: E402

START_PAGE_URL = "lexorra2://home/Lexorra2pro_LOGO.html"


def resident_mib(pids: list[int]) -> float:
    """Resident memory of the program's own process (its first pid), in MiB."""
    for line in Path(f"/proc/{pids[0]}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024
    return 0.0


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=float, default=20.0)
    parser.add_argument("--build", type=Path, default=REPO / "build")
    parser.add_argument("--program", type=Path)
    args = parser.parse_args()
    program = args.program or args.build / "src/app/lexorra2"
    ping = args.build / "bench/window_ping"
    offer = args.build / "tests/support/clipboard_offer"

    session = harness.Session("endless-owner", True).start()
    try:
        session.start_program(program=program)
        window = session.wait_for_main_window()
        session.wait_for_page(lambda p: p["url"] == START_PAGE_URL)
        time.sleep(2.0)
        pid = session.program.pid
        before = resident_mib([pid])
        quiet = subprocess.run([str(ping), str(window), "3"], env=session.base_env(),
                               capture_output=True, text=True, check=True).stdout.strip()

        owner = subprocess.Popen([str(offer), "--endless-incr", "UTF8_STRING=x"],
                                 env=session.base_env(), stdout=subprocess.PIPE, text=True)
        owner.stdout.readline()  # "owner": the program is told of the copy now
        peak = [before]
        done = threading.Event()

        def sample():
            while not done.is_set():
                peak[0] = max(peak[0], resident_mib([pid]))
                time.sleep(0.1)

        sampler = threading.Thread(target=sample)
        sampler.start()
        during = subprocess.run([str(ping), str(window), str(args.seconds)],
                                env=session.base_env(), capture_output=True, text=True,
                                check=True).stdout.strip()
        done.set()
        sampler.join()
        owner.kill()
        owner.wait()
        print(f"resident before the copy: {before:.0f} MiB")
        print(f"resident at most during {args.seconds:.0f} s of the endless owner: "
              f"{peak[0]:.0f} MiB")
        print(f"pings, quiet:                {quiet}")
        print(f"pings, during the endless owner: {during}")
        print(f"program still running: {session.program.poll() is None}")
    finally:
        session.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
