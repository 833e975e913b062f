#!/usr/bin/env bash
# The installed tree and the Debian package: both editions, their desktop entries with what
# they name, the icon and the adapters' udev rule; the package's files and dependencies.
#   check_install.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
for f in bin/zr730 bin/zr730-lpt bin/zr730-cli share/applications/zr730.desktop share/applications/zr730-lpt.desktop \
         share/icons/hicolor/scalable/apps/zr730.svg lib/udev/rules.d/60-zr730-adapters.rules; do
    [ -e "$tmp/prefix/$f" ] || fail "$f is not installed"
done
for d in "$tmp"/prefix/share/applications/*.desktop; do
    exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$d")
    icon=$(sed -n 's/^Icon=//p' "$d")
    [ -x "$tmp/prefix/bin/$exe" ] || fail "$(basename "$d") starts $exe, which is not installed"
    [ -e "$tmp/prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "$(basename "$d") names icon $icon"
    if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$d" || fail "$d"; fi
done
grep -q 'ID_MM_DEVICE_IGNORE}="1"' "$tmp/prefix/lib/udev/rules.d/60-zr730-adapters.rules" || fail "udev rule keeps ModemManager"
grep -q 'GROUP="dialout"' "$tmp/prefix/lib/udev/rules.d/60-zr730-adapters.rules" || fail "udev rule group"

(cd "$tmp" && cpack -G DEB -B "$tmp/pkg" --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(ls "$tmp"/pkg/*.deb)
files=$(dpkg-deb -c "$deb")
for f in ./usr/bin/zr730 ./usr/bin/zr730-lpt ./usr/bin/zr730-cli ./usr/share/applications/zr730.desktop \
         ./usr/share/icons/hicolor/scalable/apps/zr730.svg ./usr/lib/udev/rules.d/60-zr730-adapters.rules; do
    grep -q " $f\$" <<<"$files" || fail "the package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6serialport6 libqt6network6 qt6-qpa-plugins fonts-dejavu-core; do
    grep -q "$p" <<<"$depends" || fail "the package does not depend on $p"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -q postinst || fail "the package has no postinst"
echo "install tree and package OK"
