"""Takes the README's picture of the main window: the program under the harness, a second
after start, with the start page in its first tab.

    python3 tests/e2e/take_readme_screenshot.py [OUTPUT.png]   (default docs/screenshot.png)
"""

import subprocess
import sys
from pathlib import Path

import harness


def main() -> int:
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else harness.REPO_ROOT / "docs" / "screenshot.png"
    output.parent.mkdir(parents=True, exist_ok=True)
    session = harness.Session("readme").start()
    try:
        session.start_program()
        window = session.wait_for_main_window()
        session.wait_for_page(lambda p: p["url"].startswith("lexorra2:") and p["title"]
                              and p["title"] != p["url"])
        raw = session.tmp / "window.png"
        session.still_screenshot(window, raw)
        subprocess.run(["convert", str(raw), "-strip", "-define", "png:compression-level=9",
                        f"PNG24:{output}"], check=True, timeout=60)
    finally:
        session.stop()
    print(f"{output} ({output.stat().st_size // 1024} KB)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
