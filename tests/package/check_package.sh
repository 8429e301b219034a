#!/usr/bin/env bash
# Installs the build into a scratch folder and builds the Debian package, then checks both as
# a desktop and Debian would: the menu entry, the AppStream description, every icon size,
# and lintian on the package (no error allowed).
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

app_id=org.lexorra2.Lexorra2
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log"
share="$root/usr/share"

for program in lexorra2 lexorra2-url; do
    [ -x "$root/usr/bin/$program" ] || fail "/usr/bin/$program is not installed"
done

desktop="$share/applications/$app_id.desktop"
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
    grep -qx 'Exec=lexorra2' "$desktop" || fail "the menu entry does not start lexorra2"
    grep -q '^Name\[ja\]=' "$desktop" || fail "the menu entry has no Japanese name"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "the menu entry's icon '$icon' is not in the hicolor theme"
else
    fail "no menu entry at /usr/share/applications/$app_id.desktop"
fi

metainfo="$share/metainfo/$app_id.metainfo.xml"
if [ -f "$metainfo" ]; then
    # --no-net: the check must not depend on the network; --pedantic would only add hints.
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo file"
    grep -q '<screenshot' "$metainfo" || fail "the metainfo file has no screenshot"
    grep -q '@[A-Z_]*@' "$metainfo" && fail "the metainfo file has unreplaced placeholders"
else
    fail "no AppStream metainfo at /usr/share/metainfo/$app_id.metainfo.xml"
fi

# Each PNG must be the size its folder names, or the theme would scale it again.
for icon in lexorra2 lexorra2-paused; do
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable $icon.svg"
    for size in 16 22 24 32 48 64 128 256 512; do
        png="$share/icons/hicolor/${size}x${size}/apps/$icon.png"
        if [ ! -f "$png" ]; then
            fail "no ${size}x${size} $icon.png"
            continue
        fi
        actual=$(python3 -c 'import struct,sys
d=open(sys.argv[1],"rb").read(24)
print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8]==b"\x89PNG\r\n\x1a\n" else "not-a-png")' "$png")
        [ "$actual" = "${size}x${size}" ] || fail "$icon.png in ${size}x${size} is $actual"
    done
done

# The package, as users get it.
(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(ls "$work"/package/lexorra2_*.deb 2>/dev/null | head -n1 || true)
if [ -n "$deb" ]; then
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    case "$depends" in
        *libqt6webenginecore6*) ;;
        *) fail "the package's dependencies lack the browser engine (dpkg-shlibdeps not run?)" ;;
    esac
    dpkg-deb -c "$deb" >"$work/contents"
    for path in usr/bin/lexorra2 usr/bin/lexorra2-url "usr/share/applications/$app_id.desktop" \
        usr/share/doc/lexorra2/copyright usr/share/doc/lexorra2/changelog.gz; do
        grep -q " \./$path\$" "$work/contents" || fail "the package lacks /$path"
    done
    lintian --fail-on error --tag-display-limit 0 "$deb" ||
        fail "lintian reports errors in $(basename "$deb")"
else
    fail "cpack made no lexorra2_*.deb"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installation and package: all checks passed"
