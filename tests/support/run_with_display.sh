#!/usr/bin/env bash
# Runs a test program on a virtual X display of its own. Xvfb picks a free display number
# itself (-displayfd), so that tests can run side by side. Chromium refuses its sandbox as
# root, so it is switched off only then.
set -euo pipefail
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --disable-gpu"
export QT_QPA_PLATFORM=xcb

numberFile="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numberFile" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -f "$numberFile"' EXIT
# The number arrives once the server accepts clients; 30 s bounds a server that never starts.
for _ in $(seq 300); do
    grep -q . "$numberFile" && break
    kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
grep -q . "$numberFile" || { echo "Xvfb gave no display number within 30 s" >&2; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$numberFile")"
"$@"
