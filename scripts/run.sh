#!/usr/bin/env bash
# Builds the program and starts it. On a machine without a display it says so and starts the
# program on a virtual X display instead. As root, Chromium refuses to run sandboxed, so the
# browser engine's sandbox is turned off for root only; normal users keep it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
program=build/src/app/lexorra2

if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset):" \
         "starting Lexorra2 on a virtual X display (xvfb-run); its window is not visible." >&2
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$program"
fi
exec "$program"
