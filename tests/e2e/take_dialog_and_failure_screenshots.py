"""Takes the README's pictures of the main window with a current category, the failure page
for a proxy that refuses, and the two largest dialogs at 200 % scaling, for docs/.

    python3 tests/e2e/take_dialog_and_failure_screenshots.py [FOLDER]   (default docs/)
"""

import socket
import subprocess
import sys
from pathlib import Path

import desktop_helpers as desk
import harness
from test_settings_files import DEFAULT_LINES, settings_bytes

# Where the action bar's menus are at 200 % on the 1280 by 1024 screen, in the main window's
# client area: "辞書の選択" in the first row, "サポート" in the third.
SITE_MENU_AT_200 = (256, 29)
SUPPORT_MENU_AT_200 = (172, 141)


def save(session: harness.Session, window: int, output: Path):
    raw = session.tmp / "window.png"
    session.still_screenshot(window, raw)
    subprocess.run(["convert", str(raw), "-strip", "-define", "png:compression-level=9",
                    f"PNG24:{output}"], check=True, timeout=60)
    print(f"{output} ({output.stat().st_size // 1024} KB)")


def start(session: harness.Session, env: dict | None = None) -> int:
    session.start_program(env=env)
    window = session.wait_for_main_window()
    session.wait_for_page(lambda p: p["url"].startswith("lexorra2:") and p["title"]
                          and p["title"] != p["url"])
    return window


def main_window(output: Path):
    session = harness.Session("shot-main").start()
    try:
        window = start(session)
        session.set_clipboard("辞書")
        session.wait_for_page(lambda p: p["title"].startswith("Site dic.yahoo.co.jp"))
        save(session, window, output)
    finally:
        session.stop()


def dead_proxy(output: Path):
    session = harness.Session("shot-proxy").start()
    closed = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    closed.bind(("127.0.0.1", 0))   # never listening: the proxy refuses every connection
    try:
        lines = list(DEFAULT_LINES)
        lines[34], lines[35] = "0", f"127.0.0.1:{closed.getsockname()[1]}"
        path = session.documents / "Lexorra2" / "Lexorra2.ini"
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(settings_bytes(lines))
        window = start(session)
        session.set_clipboard("辞書")
        session.wait_for_page(lambda p: p["url"].startswith("lexorra2-failure:")
                              and "プロキシ" in p["title"])
        save(session, window, output)
    finally:
        closed.close()
        session.stop()


def dialogs_at_200(category_output: Path, about_output: Path):
    session = harness.Session("shot-dialogs").start()
    try:
        env = session.program_env()
        env["QT_SCALE_FACTOR"] = "2"
        window = start(session, env)
        session.click(*SITE_MENU_AT_200, window=window)
        desk.keys_in_menus(session, "f")
        dialog = session.wait_for_window("^辞書の追加・解除$")
        save(session, dialog, category_output)
        session.activate(dialog)
        session.key("Escape")
        harness.wait_until(lambda: session.map_state(dialog) != "IsViewable", 10, 0.1,
                           "the dialog to close")
        session.click(*SUPPORT_MENU_AT_200, window=window)
        desk.keys_in_menus(session, "z")
        box = session.wait_for_window("^バージョン情報$")
        save(session, box, about_output)
    finally:
        session.stop()


def main() -> int:
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else harness.REPO_ROOT / "docs"
    folder.mkdir(parents=True, exist_ok=True)
    main_window(folder / "main-window.png")
    dead_proxy(folder / "failure-dead-proxy.png")
    dialogs_at_200(folder / "category-dialog-200.png", folder / "about-box-200.png")
    return 0


if __name__ == "__main__":
    sys.exit(main())
