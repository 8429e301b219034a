"""Takes the pictures of the whole 1280 by 1024 screen with the program at 100 % and at 200 %
scaling, each after a long text was copied (so that the long-text notice shows under the
search box) and with a message box open, for docs/.

    python3 tests/e2e/take_scaling_screenshots.py [FOLDER]   (default docs/)
"""

import subprocess
import sys
from pathlib import Path

import harness
from real_desktop import offer_clipboard


def take(scale: str, output: Path):
    session = harness.Session(f"scale{scale}").start()
    try:
        env = session.program_env()
        env["QT_SCALE_FACTOR"] = scale
        session.start_program(env=env)
        window = session.wait_for_main_window()
        session.wait_for_page(lambda p: p["url"].startswith("lexorra2:") and p["title"]
                              and p["title"] != p["url"])
        session.set_clipboard("長い文章 " * 60)
        session.server.wait_for_request(lambda r: "translate" in r.host or "Honyaku" in r.path
                                        or len(r.path) > 300, 20)
        raw = session.tmp / "screen.png"
        translated = session.still_screenshot("root", raw)
        # An owner that never answers: the message box that says so, once the read gave up.
        offer_clipboard(session, {"UTF8_STRING": "x"}, "--never-answer")
        harness.wait_until(lambda: [w for w in session.find_windows(
            "Lexorra2", pid=session.program.pid) if w != window], 30, 0.1, "the message box")
        session.still_screenshot("root", raw, unlike=translated)
        subprocess.run(["convert", str(raw), "-strip", "-define", "png:compression-level=9",
                        f"PNG24:{output}"], check=True, timeout=60)
    finally:
        session.stop()
    print(f"{output} ({output.stat().st_size // 1024} KB)")


def main() -> int:
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else harness.REPO_ROOT / "docs"
    folder.mkdir(parents=True, exist_ok=True)
    take("1", folder / "scale-100.png")
    take("2", folder / "scale-200.png")
    return 0


if __name__ == "__main__":
    sys.exit(main())
