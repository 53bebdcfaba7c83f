#!/usr/bin/env bash
# Checks the Debian packages in DIR as a user would meet them: unpacked into a scratch root, the
# command-line programs answer from there, every program has a man page, the desktop entries
# and metainfo validate cleanly, and the runtime dependencies were found.
#   desktop/check_package.sh DIR
set -euo pipefail
dir=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "check_package: $*" >&2; exit 1; }

debs=("$dir"/*.deb)
[ -e "${debs[0]}" ] || fail "no .deb in $dir"
for deb in "${debs[@]}"; do
    depends=$(dpkg-deb -f "$deb" Depends)
    [[ $depends == *libqt6* ]] || fail "$(basename "$deb") depends on no Qt library: '$depends'"
    dpkg -x "$deb" "$root"
done
echo "Depends of pointeditor: $(dpkg-deb -f "$dir"/pointeditor_*.deb Depends)"

# No display: --help and --version must not need one.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
"$root/usr/bin/pointtool" --version
"$root/usr/bin/pointeditor-render" --help >/dev/null
for program in "$root"/usr/bin/*; do
    name=$(basename "$program")
    "$program" --version | grep -qx "$name [0-9.]*" || fail "$name --version"
    [ -f "$root/usr/share/man/man1/$name.1.gz" ] || fail "no man page for $name"
done

for entry in "$root"/usr/share/applications/*.desktop; do
    out=$(desktop-file-validate "$entry" 2>&1) || fail "$out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
done
for info in "$root"/usr/share/metainfo/*.xml; do
    appstreamcli validate --no-net "$info" >/dev/null || fail "appstreamcli validate $info"
done
echo "packages: $(cd "$dir" && ls -- *.deb | tr '\n' ' ')checked"
