"""Helpers for end-to-end cases about living beside other programs: a real system tray
(trayer, a panel from Debian that offers the notification area), another program's window
to stand in front of lexorra2, and the window's place in the stacking order.

Standard library only; the X tools are Debian packages listed in scripts/deps.sh.
"""

from __future__ import annotations

import ctypes
import ctypes.util
import re
import subprocess
from pathlib import Path

import harness
from harness import Geometry, wait_until

# The twelve on/off options as the settings file keeps them on lines 20 to 31.
SWITCH_LINES = ["tool_bar_on", "copy_window_zenmen_on", "kidouji_saisyouka_on",
                "F12_de_saizennmen_on", "End_kyuushi_on", "Batu_OFF", "cbOpenNew",
                "Lexorra2_off_active", "jidou_zenkaku_eimoji_hankaku", "Max_mojishuu",
                "hankaku_zenkaku_batu", "kigou_batu"]
DEFAULTS = {"tool_bar_on": True, "copy_window_zenmen_on": True,
            "jidou_zenkaku_eimoji_hankaku": True}


# The options' accelerators in "オプション" > "設定(&V)".
F12_OPTION = "f"
END_OPTION = "e"
CLOSE_TO_TRAY_OPTION = "v"
MINIMISE_WHEN_INACTIVE_OPTION = "s"
BRING_FORWARD_OPTION = "x"
# Where "オプション" sits on the action bar: the first item, in client coordinates.
OPTIONS_MENU_POINT = (45, 14)


def switch_option(session: harness.Session, window: int, accelerator: str):
    """Flips one option as a user does: "オプション", then "設定(&V)" and the option's
    accelerator."""
    session.activate(window)
    session.click(*OPTIONS_MENU_POINT, window=window)
    # The menu opens with the keyboard's focus; its entries answer their accelerators.
    wait_until(lambda: menu_open(session), 10, 0.05, "the options menu to open")
    session.key("v", accelerator)
    wait_until(lambda: not menu_open(session), 10, 0.05, "the menu to close")


def write_settings(session: harness.Session, **switches: bool) -> Path:
    """A settings file with the given options on or off (the others at their defaults) and
    every site at its default, where the program reads it at start."""
    lines = [""] * 42  # an unknown site name leaves the category's default
    for index, name in enumerate(SWITCH_LINES):
        lines[20 + index] = "True" if switches.get(name, DEFAULTS.get(name, False)) else "False"
    lines[32], lines[33], lines[34], lines[35] = "普通", "大", "1", ""
    folder = session.documents / "Lexorra2"
    folder.mkdir(parents=True, exist_ok=True)
    path = folder / "Lexorra2.ini"
    path.write_bytes("".join(line + "\r\n" for line in lines).encode("cp932"))
    return path


def read_settings(session: harness.Session) -> list[str]:
    path = session.documents / "Lexorra2" / "Lexorra2.ini"
    return path.read_bytes().decode("cp932").split("\r\n")[:-1]


class _X11:
    """The few Xlib calls Python has no tool for: who owns a selection."""

    def __init__(self):
        name = ctypes.util.find_library("X11") or "libX11.so.6"
        self.lib = ctypes.cdll.LoadLibrary(name)
        self.lib.XOpenDisplay.restype = ctypes.c_void_p
        self.lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.lib.XInternAtom.restype = ctypes.c_ulong
        self.lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.lib.XGetSelectionOwner.restype = ctypes.c_ulong
        self.lib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.lib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    def selection_owner(self, display: str, selection: str) -> int:
        dpy = self.lib.XOpenDisplay(display.encode())
        if not dpy:
            return 0
        try:
            atom = self.lib.XInternAtom(dpy, selection.encode(), 0)
            return self.lib.XGetSelectionOwner(dpy, atom)
        finally:
            self.lib.XCloseDisplay(dpy)


_x11 = None


def tray_owner(session: harness.Session) -> int:
    """The window that runs the system tray of screen 0, 0 when there is none."""
    global _x11
    if _x11 is None:
        _x11 = _X11()
    return _x11.selection_owner(session.display, "_NET_SYSTEM_TRAY_S0")


def start_tray(session: harness.Session) -> subprocess.Popen:
    """trayer along the top edge; returns once it runs the system tray."""
    tray = session.start_helper(["trayer", "--edge", "top", "--align", "right",
                                 "--widthtype", "request", "--height", "32",
                                 "--SetDockType", "true", "--SetPartialStrut", "true",
                                 "--transparent", "false", "--expand", "true"])
    wait_until(lambda: tray_owner(session), 20, 0.1, "trayer to run the system tray")
    return tray


def tray_windows(session: harness.Session) -> list[int]:
    """trayer's own top-level window (the panel) as xdotool finds it."""
    out = session.xdotool("search", "--onlyvisible", "--class", "trayer", check=False)
    return [int(w) for w in out.split()]


def tray_icon_point(session: harness.Session) -> tuple[int, int]:
    """A point on the screen inside the program's tray icon: trayer, asked to be as wide as
    its icons, holds this one icon only."""
    panel = wait_until(lambda: next(iter(tray_windows(session)), None), 20, 0.1,
                       "the tray panel")

    def icon_shown():
        g = session.window_geometry(panel)
        return g if g.width >= 8 else None

    g = wait_until(icon_shown, 20, 0.1, "an icon in the tray")
    return g.x + g.width // 2, g.y + g.height // 2


def start_cover_window(session: harness.Session, over: Geometry) -> int:
    """Another program's window (xlogo) placed over the given area and made active."""
    before = set(session.find_windows("^xlogo$"))
    session.start_helper(["xlogo", "-geometry",
                          f"{over.width}x{over.height}+{over.x}+{over.y}"])
    window = wait_until(lambda: next(iter(set(session.find_windows("^xlogo$")) - before), None),
                        20, 0.1, "the covering window")
    session.activate(window)
    return window


def is_above(session: harness.Session, upper: int, lower: int) -> bool:
    """Whether window upper is stacked above window lower (by their frames)."""
    order = session.stacking_order()
    frames = {w: _managed(session, w, order) for w in (upper, lower)}
    if None in frames.values():
        return False
    return order.index(frames[upper]) > order.index(frames[lower])


def _managed(session: harness.Session, window: int, order: list[int]) -> int | None:
    """The managed (client) window that window is, or is inside of."""
    if window in order:
        return window
    out = subprocess.run(["xwininfo", "-children", "-id", str(window)], env=session.base_env(),
                         capture_output=True, text=True, timeout=10).stdout
    for w in re.findall(r"(0x[0-9a-f]+)", out):
        if int(w, 16) in order:
            return int(w, 16)
    return None


def window_state(session: harness.Session, window: int) -> set[str]:
    """The window's _NET_WM_STATE atoms without their prefix (HIDDEN means minimised)."""
    out = subprocess.run(["xprop", "-id", str(window), "_NET_WM_STATE", "WM_STATE"],
                         env=session.base_env(), capture_output=True, text=True,
                         timeout=10).stdout
    states = set(re.findall(r"_NET_WM_STATE_(\w+)", out))
    if re.search(r"window state:\s*Iconic", out):
        states.add("ICONIC")
    return states


def is_minimised(session: harness.Session, window: int) -> bool:
    return bool({"HIDDEN", "ICONIC"} & window_state(session, window))


def open_menus(session: harness.Session) -> int:
    """How many menus of the program are on the screen (a submenu counts as one more): mapped
    windows of class lexorra2 straight below the root. The window manager frames the
    program's windows and the tray takes in its icon; only menus (and tooltips) stay
    unframed."""
    out = subprocess.run(["xwininfo", "-root", "-children"], env=session.base_env(),
                         capture_output=True, text=True, timeout=10).stdout
    count = 0
    for window in re.findall(r"^\s+(0x[0-9a-f]+)", out, re.M):
        props = subprocess.run(["xprop", "-id", window, "WM_CLASS"], env=session.base_env(),
                               capture_output=True, text=True, timeout=10).stdout
        if '"lexorra2"' in props and session.map_state(int(window, 16)) == "IsViewable":
            count += 1
    return count


def menu_open(session: harness.Session) -> bool:
    return open_menus(session) > 0


def keys_in_menus(session: harness.Session, *keys: str):
    """Presses keys in a menu just asked for, each once its menu is on the screen: the first
    in the menu, each further one in the submenu the key before it opened."""
    for depth, key in enumerate(keys, start=1):
        wait_until(lambda: open_menus(session) >= depth, 20, 0.05,
                   f"{depth} menus open for the key {key!r}")
        session.key(key)
