#!/bin/sh
# Builds the program as `make package` does (optimised and hardened), in a
# tree of its own inside this build tree, kept so that a second run rebuilds
# only what changed; installs it into a temporary root and packs it as a
# Debian package, and checks what a user, dpkg, lintian and AppStream find.
# Usage: tst_install.sh SOURCE_DIR BUILD_DIR VERSION APP_ID
set -eu
source=$1 build=$2/package-build version=$3 id=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
sizes="16 24 32 48 64 128 256"
files="bin/dun2 share/applications/$id.desktop share/metainfo/$id.metainfo.xml
       share/icons/hicolor/scalable/apps/dun2.svg $(for s in $sizes; do echo share/icons/hicolor/${s}x$s/apps/dun2.png; done)
       share/man/man1/dun2.1.gz share/doc/dun2/README.md share/doc/dun2/copyright share/doc/dun2/changelog.gz"

# Only the program and what is installed beside it: cpack would otherwise
# build every test and benchmark as well.
{ cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON &&
  cmake --build "$build" --parallel 2 --target dun2 packaging; } >"$work/build.log" 2>&1 || { cat "$work/build.log"; fail build; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
for f in $files; do
    [ -s "$work/root/usr/$f" ] || fail "not installed: $f"
done
for s in $sizes; do
    file "$work/root/usr/share/icons/hicolor/${s}x$s/apps/dun2.png" | grep -q "PNG image data, $s x $s," ||
        fail "icon of $s: $(file "$work/root/usr/share/icons/hicolor/${s}x$s/apps/dun2.png")"
done
desktop-file-validate "$work/root/usr/share/applications/$id.desktop"
# The metainfo file, its desktop entry and icon as one tree; anything above
# a hint (a warning or an error) fails.
appstreamcli validate-tree --no-net --pedantic "$work/root" || fail "appstreamcli validate-tree"
# A display that cannot be reached: the version must not need one.
[ "$(DISPLAY=:nowhere QT_QPA_PLATFORM=xcb "$work/root/usr/bin/dun2" --version)" = "dun2 $version" ] ||
    fail "--version"

# The media player's face on the session bus names the installed desktop
# entry, from which a sound menu takes the player's name and icon.
home="$work/home"
mkdir "$home" && printf '[info]\r\nmp3 path=%s\r\nhandle=Ann\r\n' "$home" >"$home/prefs.ini"
entry=$(dbus-run-session -- sh -c '
    "$1" --home "$2" >/dev/null 2>&1 & program=$!
    mpris() { gdbus call --session -d org.mpris.MediaPlayer2.dun2 -o /org/mpris/MediaPlayer2 -m "$@"; }
    gdbus wait --session --timeout 60 org.mpris.MediaPlayer2.dun2 &&
        mpris org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2 DesktopEntry
    mpris org.mpris.MediaPlayer2.Quit >/dev/null
    wait $program' sh "$work/root/usr/bin/dun2" "$home" 2>/dev/null)
[ "$entry" = "(<'$id'>,)" ] || fail "DesktopEntry: $entry"

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
# What Debian asks of a package, with the pedantic checks: an error or a
# warning fails, information (such as "no maintainer scripts") may remain.
lintian --pedantic --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail lintian; }
