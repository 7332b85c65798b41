#!/bin/sh
# Installs the build tree into a temporary root and packs it as a Debian
# package, and checks what a user and dpkg would find in each.
# Usage: tst_install.sh BUILD_DIR VERSION
set -eu
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
files="bin/dun2 share/applications/dun2.desktop share/icons/hicolor/32x32/apps/dun2.png
       share/icons/hicolor/48x48/apps/dun2.png share/man/man1/dun2.1 share/doc/dun2/README.md"

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
for f in $files; do
    [ -s "$work/root/usr/$f" ] || fail "not installed: $f"
done
desktop-file-validate "$work/root/usr/share/applications/dun2.desktop"
# A display that cannot be reached: the version must not need one.
[ "$(DISPLAY=:nowhere QT_QPA_PLATFORM=xcb "$work/root/usr/bin/dun2" --version)" = "dun2 $version" ] ||
    fail "--version"

(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail cpack; }
deb="$work/deb/dun2_${version}_$(dpkg --print-architecture).deb"
info=$(dpkg-deb -I "$deb")
echo "$info" | grep -qx " Package: dun2" || fail "package name"
echo "$info" | grep -qx " Version: $version" || fail "package version"
depends=$(echo "$info" | grep "^ Depends:")
for p in gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-alsa libqt6widgets6 libgstreamer1.0-0; do
    echo "$depends" | grep -Eq "[ ,]$p( |,|\$)" || fail "$p not in $depends"
done
contents=$(dpkg-deb -c "$deb")
for f in $files; do
    echo "$contents" | grep -q " \./usr/$f\$" || fail "not packed: $f"
done
