#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, if any is missing.
set -euo pipefail

PACKAGES=(
    cmake g++ make ninja-build ccache pkg-config clang
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools qt6-svg-dev
    libgl-dev libxkbcommon-dev libxcb1-dev libxcb-xinput-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-noto-cjk
    xvfb xauth openbox trayer xclip xdotool x11-utils x11-apps imagemagick python3
    # A real desktop in the end-to-end tests: an input method (fcitx5 with the anthy engine,
    # its Qt 6 module and a session bus), a Wayland compositor with XWayland and wl-copy.
    fcitx5 fcitx5-anthy fcitx5-frontend-qt6 dbus
    weston xwayland wl-clipboard
    # the Wayland clipboard (data-control client code generated at build time) and sway, the
    # headless compositor its tests run under
    libwayland-dev libwayland-bin sway
    # the window as a native Wayland client (by choice), and its activation tests' launcher
    qt6-wayland wayland-protocols
    # KDE's compositor, headless (kwin_wayland --virtual), for the same tests under KWin
    kwin-wayland
    # installation and the Debian package: icon sizes, menu entry and package checks
    librsvg2-bin desktop-file-utils appstream dpkg-dev lintian
    # the copy-to-screen benchmark watches the window's damage
    libxcb-damage0-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "error: these packages are missing and apt-get is not available to install them:" >&2
    echo "  ${missing[*]}" >&2
    echo "Install the equivalent packages with your system's package manager, then run again." >&2
    exit 1
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "error: not root and sudo is missing; cannot install: ${missing[*]}" >&2
        exit 1
    fi
    SUDO=(sudo)
fi

echo "Installing: ${missing[*]}"
"${SUDO[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
