#!/usr/bin/env bash
# Runs a test program under a headless KWin of its own (kwin_wayland --virtual with XWayland,
# on a session bus of its own): WAYLAND_DISPLAY names its socket, DISPLAY its XWayland,
# KWIN_USER_PREFIX runs a command as the compositor's user (wl-copy and other clients).
# As root KWin runs as the user nobody in a private runtime folder, like run_with_sway.sh.
# Debian gives kwin_wayland a file capability (cap_sys_resource); exec of such a file fails
# where the capability is outside the bounding set (containers) and under a changed user, so
# a copy without it, under the same name (KWin finds its plugins and settings by that name),
# is run instead.
# A KWin that cannot start skips the test (exit status 77) with the reason.
set -u
if ! command -v kwin_wayland >/dev/null || ! command -v dbus-run-session >/dev/null; then
    echo "SKIP: kwin_wayland or dbus-run-session is not installed (scripts/deps.sh installs them)" >&2
    exit 77
fi
runtime=$(mktemp -d "${TMPDIR:-/tmp}/kwin-test.XXXXXX")
chmod 0700 "$runtime"
mkdir "$runtime/bin"
cp "$(command -v kwin_wayland)" "$runtime/bin/kwin_wayland"
prefix=()
if [ "$(id -u)" = 0 ]; then
    chmod o+x "$(dirname "$runtime")"
    chown -R nobody "$runtime"
    prefix=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups
            env HOME="$runtime" XDG_RUNTIME_DIR="$runtime")
fi
socket_name="wayland-kwin-$$"
display_file="$runtime/display"
# KWin starts the programs named after its options once Wayland and XWayland are up, with
# DISPLAY set: this one lets root into XWayland (which otherwise admits only its own user)
# and tells the display to this script.
{
    if [ "$(id -u)" = 0 ]; then
        printf 'python3 %q "$DISPLAY" root || exit 1\n' \
            "$(cd "$(dirname "$0")/../e2e" && pwd)/x_allow_user.py"
    fi
    printf 'echo "$DISPLAY" > %q.part && mv %q.part %q\n' \
        "$display_file" "$display_file" "$display_file"
} > "$runtime/announce"
[ "$(id -u)" = 0 ] && chown nobody "$runtime/announce"
(cd / && exec setsid "${prefix[@]}" env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
    XDG_RUNTIME_DIR="$runtime" HOME="$runtime" KWIN_COMPOSE=Q QT_QPA_PLATFORM=wayland \
    dbus-run-session -- "$runtime/bin/kwin_wayland" --virtual --width 1280 --height 1024 \
    --xwayland --socket "$socket_name" --no-lockscreen --no-kactivities \
    "sh $runtime/announce") \
    >"$runtime/kwin.log" 2>&1 &
kwin_pid=$!
# KWin, its XWayland, its bus and the programs it started are one process group.
cleanup() {
    kill -- -"$kwin_pid" 2>/dev/null
    wait "$kwin_pid" 2>/dev/null
    rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 1 300); do
    [ -S "$runtime/$socket_name" ] && [ -s "$display_file" ] && break
    if ! kill -0 "$kwin_pid" 2>/dev/null; then
        echo "SKIP: KWin could not start: $(tail -n 5 "$runtime/kwin.log" | tr '\n' ' ')" >&2
        exit 77
    fi
    sleep 0.1
done
if [ ! -S "$runtime/$socket_name" ] || [ ! -s "$display_file" ]; then
    echo "SKIP: KWin made no Wayland socket and XWayland display in 30 s:" \
         "$(tail -n 5 "$runtime/kwin.log" | tr '\n' ' ')" >&2
    exit 77
fi
export WAYLAND_DISPLAY="$runtime/$socket_name"
DISPLAY=$(sed -n 1p "$display_file")
export DISPLAY
export KWIN_LOG="$runtime/kwin.log"
if [ "$(id -u)" = 0 ]; then
    export KWIN_USER_PREFIX="${prefix[*]} WAYLAND_DISPLAY=$WAYLAND_DISPLAY"
else
    export KWIN_USER_PREFIX="env WAYLAND_DISPLAY=$WAYLAND_DISPLAY"
fi
"$@"
