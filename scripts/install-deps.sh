#!/bin/sh
# Installs the Debian packages the build, the program and the tests need,
# only those that are missing, so a second run costs nothing. With "fuzz":
# those `make fuzz` needs beside them, clang with its sanitizers and libFuzzer.
set -eu

packages="
g++ cmake make pkg-config
qt6-base-dev libgl-dev
libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-alsa
gstreamer1.0-tools
fonts-dejavu-core
strace
ngircd inspircd atheme-services openssl icecast2
playerctl dbus
desktop-file-utils dpkg-dev file librsvg2-bin lintian appstream libglib2.0-bin
"
if [ "${1:-}" = fuzz ]; then
    packages="clang libclang-rt-14-dev libfuzzer-14-dev"
fi

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *" installed") ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

echo "installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
