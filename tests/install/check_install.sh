#!/usr/bin/env bash
# The installed tree and the Debian package: both editions, their desktop entries with what
# they name, the icon and the adapters' udev rule; the manual pages (zr730-cli's in step with
# its --help), AppStream metadata, completion, copyright and changelog; the package's files,
# dependencies and maintainer scripts, and lintian finding no error or warning in it.
#   check_install.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

new_files=(share/man/man1/zr730.1.gz share/man/man1/zr730-lpt.1.gz share/man/man1/zr730-cli.1.gz
           share/metainfo/example.zr730.programmer.metainfo.xml share/bash-completion/completions/zr730-cli
           share/doc/zr730/copyright share/doc/zr730/changelog.Debian.gz)
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
for f in bin/zr730 bin/zr730-lpt bin/zr730-cli share/applications/zr730.desktop share/applications/zr730-lpt.desktop \
         share/icons/hicolor/scalable/apps/zr730.svg lib/udev/rules.d/60-zr730-adapters.rules "${new_files[@]}"; do
    [ -e "$tmp/prefix/$f" ] || fail "$f is not installed"
done
appstreamcli validate --no-net "$tmp"/prefix/share/metainfo/*.metainfo.xml || fail "AppStream metadata"
bash -n "$tmp/prefix/share/bash-completion/completions/zr730-cli" || fail "bash completion"

# zr730-cli's manual page and --help name the same options, commands and exit statuses.
page=$(zcat "$tmp/prefix/share/man/man1/zr730-cli.1.gz" | sed 's/\\-/-/g')
help=$("$tmp/prefix/bin/zr730-cli" --help)
section() { awk -v s="$1" '/^\.SH/ { on = ($0 ~ s) } on' <<<"$page"; }
options() { grep -oE -- '(^|[^A-Za-z0-9-])--?[a-z][a-z0-9-]*' | grep -oE -- '-.*' | sort -u; }
# --help itself is the option that prints the summary, so the summary need not name it.
diff <(options <<<"$page") <( (echo --help; echo -h; options <<<"$help") | sort -u) ||
    fail "zr730-cli's manual page (<) and --help (>) differ in options"
diff <(section COMMANDS | grep -oE '^\.BI? [a-z]+' | cut -d' ' -f2 | sort -u) \
     <(sed -n '/^Commands:/,/^$/p' <<<"$help" | grep -oE '^  [a-z]+' | tr -d ' ' | sort -u) ||
    fail "zr730-cli's manual page (<) and --help (>) differ in commands"
diff <(section 'EXIT STATUS' | grep -oE '^\.B [0-9]+$' | cut -d' ' -f2) \
     <(sed -n '/^Exit status:/,$p' <<<"$help" | grep -oE '(^|: |, )[0-9]+ ' | grep -oE '[0-9]+') ||
    fail "zr730-cli's manual page (<) and --help (>) differ in exit statuses"
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
         ./usr/share/icons/hicolor/scalable/apps/zr730.svg ./usr/lib/udev/rules.d/60-zr730-adapters.rules \
         "${new_files[@]/#/./usr/}"; do
    grep -q " $f\$" <<<"$files" || fail "the package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for p in 'libqt6widgets6 (>= ' 'libqt6serialport6 (>= ' 'libqt6network6 (>= ' 'libc6 (>= ' 'qt6-qpa-plugins (>= ' \
         'libqt6sql6-sqlite (>= ' fonts-dejavu-core; do
    grep -qF "$p" <<<"$depends" || fail "the package does not depend on $p…: $depends"
done
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t)
for script in postinst postrm; do grep -q "$script" <<<"$control" || fail "the package has no $script"; done
# Informational tags may stay (the README names each); an error or a warning fails.
lintian --fail-on error,warning "$deb" || fail "lintian finds errors or warnings in $(basename "$deb")"
echo "install tree and package OK"
