#!/usr/bin/env bash
# Runs a test program on a virtual X display of its own. Chromium refuses its sandbox as root,
# so it is switched off only then.
set -euo pipefail
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --disable-gpu"
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"
