#!/usr/bin/env bash
# Runs a test program under a headless sway of its own: WAYLAND_DISPLAY names its socket,
# SWAY_USER_PREFIX runs a command as the compositor's user (wl-copy and other clients).
# sway refuses to run as root, so as root it runs as the user nobody in a private runtime
# folder. A sway that cannot start skips the test (exit status 77) with the reason.
set -u
runtime=$(mktemp -d "${TMPDIR:-/tmp}/sway-test.XXXXXX")
chmod 0700 "$runtime"
prefix=()
if [ "$(id -u)" = 0 ]; then
    chmod o+x "$(dirname "$runtime")"
    chown nobody "$runtime"
    prefix=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups
            env HOME="$runtime" XDG_RUNTIME_DIR="$runtime")
fi
if ! command -v sway >/dev/null; then
    echo "SKIP: sway is not installed (scripts/deps.sh installs it)" >&2
    exit 77
fi
printf 'xwayland enable\n' > "$runtime/config"
[ "$(id -u)" = 0 ] && chown nobody "$runtime/config"
(cd / && exec "${prefix[@]}" env -u DISPLAY -u WAYLAND_DISPLAY WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 XDG_RUNTIME_DIR="$runtime" \
    sway -c "$runtime/config") >"$runtime/sway.log" 2>&1 &
sway_pid=$!
cleanup() {
    kill "$sway_pid" 2>/dev/null
    wait "$sway_pid" 2>/dev/null
    rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 1 200); do
    socket=$(find "$runtime" -maxdepth 1 -name 'wayland-*' -type s | head -n1)
    [ -n "$socket" ] && break
    if ! kill -0 "$sway_pid" 2>/dev/null; then
        echo "SKIP: sway could not start: $(tail -n 3 "$runtime/sway.log" | tr '\n' ' ')" >&2
        exit 77
    fi
    sleep 0.1
done
if [ -z "${socket:-}" ]; then
    echo "SKIP: sway made no socket in 20 s" >&2
    exit 77
fi
export WAYLAND_DISPLAY="$socket"
export SWAY_USER_PREFIX="${prefix[*]} WAYLAND_DISPLAY=$socket"
[ "$(id -u)" = 0 ] || export SWAY_USER_PREFIX="env WAYLAND_DISPLAY=$socket"
"$@"
